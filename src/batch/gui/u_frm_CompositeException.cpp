// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/gui/u_frm_CompositeException.h"

#include "batch/core/u_exception_functions.h"
#include "batch/gui/u_frm_Info.h"
#include "gui/u_palette.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace zevra {

namespace {

constexpr int BottomBandHeight = 31;
const QColor CaptionColor(0, 0, 128);
const QColor ListColor(128, 255, 255);
const QColor BandColor(200, 200, 200);

}  // namespace

QColor ButtonBandColor(const QWidget* window) {
    const QColor background = window->palette().color(QPalette::Window);
    return Luminance(background) < 0.5 ? background.lighter(140) : BandColor;
}

QStringList CompositeLines(const ECompositeException& e) {
    QStringList lines;
    for (const std::string& line : FormatProblems(e)) lines << QString::fromStdString(line);
    return lines;
}

TfrmCompositeException::TfrmCompositeException(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmCompositeException"));
    setWindowTitle(QStringLiteral("Výsledek operace"));
    resize(DesignWidth, DesignHeight);

    gbProblemy = new QGroupBox(QStringLiteral("Při provádění operace se vyskytly následující problémy:"), this);
    gbProblemy->setObjectName(QStringLiteral("gbProblemy"));
    // Navy on a light window, a light blue that reads on a dark one.
    const QColor caption = ReadableOn(CaptionColor, palette().color(QPalette::Window));
    gbProblemy->setStyleSheet(QStringLiteral("QGroupBox::title { color: %1; }").arg(caption.name()));

    mmErrors = new QPlainTextEdit(gbProblemy);
    mmErrors->setObjectName(QStringLiteral("mmErrors"));
    mmErrors->setReadOnly(true);
    mmErrors->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmErrors->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmErrors->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetMeaningColor(mmErrors, ListColor);
    auto* groupLayout = new QVBoxLayout(gbProblemy);
    groupLayout->setContentsMargins(6, 6, 6, 6);
    groupLayout->addWidget(mmErrors);

    pnB = new QWidget(this);
    pnB->setObjectName(QStringLiteral("pnB"));
    pnB->setFixedHeight(BottomBandHeight);
    FillBackground(pnB, ButtonBandColor(this));
    btOk = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("&Zavři okno"), pnB);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* bandLayout = new QHBoxLayout(pnB);
    bandLayout->setContentsMargins(0, 2, 0, 2);
    bandLayout->addStretch();
    bandLayout->addWidget(btOk);
    bandLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(gbProblemy, 1);
    layout->addWidget(pnB);
}

void TfrmCompositeException::FillProblems(const ECompositeException* e) {
    mmErrors->clear();
    if (e) mmErrors->setPlainText(CompositeLines(*e).join(QLatin1Char('\n')));
}

QStringList TfrmCompositeException::ProblemLines() const {
    const QString text = mmErrors->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

int TfrmCompositeException::ShowComposite(const ECompositeException* e, QWidget* owner) {
    TfrmCompositeException dialog(owner);
    dialog.FillProblems(e);
    FitAndCentreOnScreen(dialog);
    return dialog.exec();
}

}  // namespace zevra
