// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// An RTF writer over the runs of the markup renderer: a complete document in
// code page 1250, Times New Roman 12 pt, one paragraph per entry, bold and
// italic runs as rendered. Every non-ASCII character is written as a Unicode
// escape with its code page 1250 byte as the fallback, so any reader shows it.
#pragma once

#include "report/u_Tags.h"

#include <string>
#include <string_view>
#include <vector>

namespace zevra {

class TRtfSink : public IMarkupSink {
public:
    void InsertText(std::string_view text, TMarkupStyle style) override;
    void EndEntry(TMarkupStyle style) override;

    // The whole document: header, the paragraphs written so far, closing brace.
    std::string Document() const;

private:
    std::string FBody;
};

// The rendered entries as one RTF document (ASCII bytes).
std::string RenderRtfDocument(const std::vector<std::string>& entries);

}  // namespace zevra
