// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/u_report_view.h"

#include "gui/u_gui_functions.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace zevra {

namespace {

QTextCharFormat FormatOf(TMarkupStyle style) {
    QTextCharFormat format;
    format.setFontWeight(style.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.Italic);
    return format;
}

QTextCursor EndCursor(QTextEdit& view) {
    QTextCursor cursor(view.document());
    cursor.movePosition(QTextCursor::End);
    return cursor;
}

}  // namespace

TRichTextSink::TRichTextSink(QTextEdit& view) : FView(view) {}

void TRichTextSink::InsertText(std::string_view text, TMarkupStyle style) {
    QString run = ToQ(text);
    // A line break inside the entry stays inside its paragraph.
    run.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    run.replace(QLatin1Char('\r'), QChar::LineSeparator);
    run.replace(QLatin1Char('\n'), QChar::LineSeparator);
    EndCursor(FView).insertText(run, FormatOf(style));
}

void TRichTextSink::EndEntry(TMarkupStyle style) {
    // Every line wraps at the view's width, the similar municipalities'
    // too: a line that ran on behind the scroll bar could not be read whole.
    QTextCursor cursor = EndCursor(FView);
    cursor.insertBlock(QTextBlockFormat(), FormatOf(style));
}

void ClearRichText(QTextEdit& view) {
    view.clear();
    view.setCurrentCharFormat(FormatOf(TMarkupStyle{}));
}

QString ClipboardHtml(const QTextDocument& document) {
    // Word processors collapse leading spaces of a paragraph; as no-break
    // spaces the indent of the decile lines survives the paste.
    const std::unique_ptr<QTextDocument> copy(document.clone());
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        // Unbroken lines are the view's concern; in HTML they would become
        // preformatted text in a typewriter font.
        if (block.blockFormat().nonBreakableLines()) {
            QTextBlockFormat wrapping;
            wrapping.setNonBreakableLines(false);
            QTextCursor(block).mergeBlockFormat(wrapping);
        }
        const QString text = block.text();
        qsizetype spaces = 0;
        while (spaces < text.size() && text.at(spaces) == QLatin1Char(' ')) ++spaces;
        if (spaces == 0) continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, static_cast<int>(spaces));
        cursor.insertText(QString(spaces, QChar::Nbsp));
    }
    // The toolkit writes a no-break space as the character itself, which a
    // word processor may still take for a space to collapse; the entity is
    // never collapsed.
    return copy->toHtml().replace(QChar::Nbsp, QStringLiteral("&nbsp;"));
}

}  // namespace zevra
