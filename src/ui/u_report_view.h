// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The result page's rich-text view as a sink of the markup renderer: every
// run is inserted at the end of the view in its style, every entry ends a
// paragraph.
#pragma once

#include "report/u_Tags.h"

class QString;
class QTextDocument;
class QTextEdit;

namespace zevra {

class TRichTextSink : public IMarkupSink {
public:
    explicit TRichTextSink(QTextEdit& view);
    void InsertText(std::string_view text, TMarkupStyle style) override;
    void EndEntry(TMarkupStyle style) override;

private:
    QTextEdit& FView;
};

// Empties the view and sets its style back to plain.
void ClearRichText(QTextEdit& view);

// The view's text as HTML for the clipboard, its paragraphs' leading spaces
// kept as no-break spaces.
QString ClipboardHtml(const QTextDocument& document);

}  // namespace zevra
