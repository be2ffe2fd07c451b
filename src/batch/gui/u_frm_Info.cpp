// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/gui/u_frm_Info.h"

#include "gui/u_palette.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zevra {

namespace {

constexpr int HeadingHeight = 41;
constexpr int ButtonBandHeight = 41;

QString PlainLines(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

}  // namespace

void FitAndCentreOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // Never larger than the screen's available area, with room for a title
    // bar (the frame is not known before the window is shown).
    const QRect available = screen->availableGeometry();
    window.resize(window.size().boundedTo(available.size() - QSize(8, 40)));
    QRect frame = window.frameGeometry();
    frame.moveCenter(available.center());
    window.move(frame.topLeft());
}

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Informace"));
    resize(DesignWidth, DesignHeight);

    lblLabel = new QLabel(this);
    lblLabel->setObjectName(QStringLiteral("lblLabel"));
    lblLabel->setFixedHeight(HeadingHeight);
    lblLabel->setAlignment(Qt::AlignCenter);
    lblLabel->setWordWrap(true);
    lblLabel->setTextFormat(Qt::PlainText);

    mmInfo = new QPlainTextEdit(this);
    mmInfo->setObjectName(QStringLiteral("mmInfo"));
    mmInfo->setReadOnly(true);
    mmInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetBaseColor(mmInfo, QApplication::palette().color(QPalette::Active, QPalette::Button));

    btOk = new QPushButton(QStringLiteral("Ok"), this);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* band = new QWidget(this);
    band->setFixedHeight(ButtonBandHeight);
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->addStretch();
    bandLayout->addWidget(btOk);
    bandLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);
    layout->addWidget(lblLabel);
    layout->addWidget(mmInfo, 1);
    layout->addWidget(band);
}

void TfrmInfo::SetContent(const QString& caption, const QString& heading, const QString& text) {
    // The toolkit shows the application name in place of an empty title; a
    // single space is a title that shows nothing.
    setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
    lblLabel->setText(heading);
    mmInfo->setPlainText(PlainLines(text));
}

void TfrmInfo::ShowInfoText(const QString& caption, const QString& heading, const QString& text) {
    TfrmInfo window;
    window.SetContent(caption, heading, text);
    FitAndCentreOnScreen(window);
    window.exec();
}

}  // namespace zevra
