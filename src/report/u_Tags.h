// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The report's tag markup ("[b]", "[/b]", "[i]", "[/i]") rendered into runs
// of plain, bold, italic or bold italic text. The renderer is a small state
// machine that feeds a sink: the result page's rich-text view, the RTF writer
// and the plain-text writer are sinks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zevra {

struct TMarkupStyle {
    bool Bold = false;
    bool Italic = false;
    bool operator==(const TMarkupStyle&) const = default;
};

class IMarkupSink {
public:
    virtual ~IMarkupSink() = default;
    // A run of text in one style. The text may contain CR LF, a line break
    // inside the entry's paragraph.
    virtual void InsertText(std::string_view text, TMarkupStyle style) = 0;
    // The end of one entry: its paragraph ends (CR LF in the view).
    virtual void EndEntry(TMarkupStyle style) = 0;
};

// Renders every entry, in order, into the sink; one paragraph per entry.
// The style starts plain and is kept across entries.
void RenderMarkup(IMarkupSink& sink, const std::vector<std::string>& entries);

// A text that is to stand in an entry as it is, whatever it holds (a name
// from the input or the reference data): each "[" doubled. The renderer shows
// "[[" as one "[" and opens no tag with it, so "Lhota [u Brna" between "[b]"
// and "[/b]" neither loses its bracket nor leaves the rest of the report bold.
std::string LiteralMarkup(std::string_view text);

}  // namespace zevra
