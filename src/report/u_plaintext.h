// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The report as plain text: the tags removed as the renderer removes them,
// each entry followed by LF, the entry's own CR LF line breaks kept.
#pragma once

#include "report/u_Tags.h"

#include <string>
#include <string_view>
#include <vector>

namespace zevra {

class TPlainTextSink : public IMarkupSink {
public:
    void InsertText(std::string_view text, TMarkupStyle) override { FText += text; }
    void EndEntry(TMarkupStyle) override { FText += '\n'; }
    const std::string& Text() const { return FText; }

private:
    std::string FText;
};

std::string RenderPlainText(const std::vector<std::string>& entries);

// One markup text as plain text (the tags removed as the renderer removes
// them), without a line end of its own.
std::string PlainText(std::string_view markup);

}  // namespace zevra
