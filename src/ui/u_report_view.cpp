#include "ui/u_report_view.h"

#include "gui/u_gui_functions.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

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

void TRichTextSink::EndEntry(TMarkupStyle style) { EndCursor(FView).insertBlock(QTextBlockFormat(), FormatOf(style)); }

void ClearRichText(QTextEdit& view) {
    view.clear();
    view.setCurrentCharFormat(FormatOf(TMarkupStyle{}));
}

}  // namespace zevra
