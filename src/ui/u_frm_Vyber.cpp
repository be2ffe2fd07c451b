// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/u_frm_Vyber.h"

#include "ui/VUNORadioGroup.h"
#include "gui/u_gui_functions.h"
#include "gui/u_palette.h"
#include "gui/u_screen_fit.h"
#include "model/u_object.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace zevra {

namespace {

constexpr int LineHeight = 17;
constexpr int ListExtraHeight = 24;
constexpr int QuestionHeight = 100;
constexpr int ButtonBandHeight = 29;
const QColor QuestionBackground(153, 255, 255);

}  // namespace

TfrmVyber::TfrmVyber(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmVyber"));
    setWindowTitle(QStringLiteral("Výběr"));
    setFont(SansFont(8));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    gbOtazka = new QGroupBox(QStringLiteral("Otázka"), this);
    gbOtazka->setObjectName(QStringLiteral("gbOtazka"));
    SetGroupCaptionColor(gbOtazka, ColorNavy);
    mmOtazka = new QPlainTextEdit(gbOtazka);
    mmOtazka->setObjectName(QStringLiteral("mmOtazka"));
    mmOtazka->setReadOnly(true);
    mmOtazka->setFocusPolicy(Qt::NoFocus);
    SetMeaningColor(mmOtazka, QuestionBackground);
    auto* questionLayout = new QVBoxLayout(gbOtazka);
    questionLayout->setContentsMargins(6, 4, 6, 6);
    questionLayout->addWidget(mmOtazka);

    rgVyber = new TVUNORadioGroup(this);
    rgVyber->setObjectName(QStringLiteral("rgVyber"));
    rgVyber->setTitle(QStringLiteral("Vyberte"));
    SetGroupCaptionColor(rgVyber, ColorNavy);
    rgVyber->SetItemsFont(font());
    connect(rgVyber, &TVUNORadioGroup::Clicked, this, &TfrmVyber::UpdateOkButton);

    pn_B = new QWidget(this);
    pn_B->setObjectName(QStringLiteral("pn_B"));
    pn_B->setAutoFillBackground(true);
    pn_B->setBackgroundRole(QPalette::Button);
    pn_B->setFixedHeight(ButtonBandHeight);
    btOk = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("&Vyber"), pn_B);
    btOk->setObjectName(QStringLiteral("btOk"));
    btCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("&Storno"), pn_B);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    for (QPushButton* button : {btOk, btCancel}) {
        button->setFixedSize(85, 25);
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto* bandLayout = new QHBoxLayout(pn_B);
    bandLayout->setContentsMargins(4, 2, 4, 2);
    bandLayout->addStretch();
    bandLayout->addWidget(btOk);
    bandLayout->addSpacing(8);
    bandLayout->addWidget(btCancel);
    bandLayout->addStretch();
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    // A long list scrolls when the screen is lower than the dialog.
    auto* list = new QScrollArea(this);
    list->setObjectName(QStringLiteral("sbVyber"));
    list->setFrameShape(QFrame::NoFrame);
    list->setWidgetResizable(true);
    list->setWidget(rgVyber);
    list->setMinimumSize(0, ListExtraHeight);  // not the scroll bars' own minimum
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(gbOtazka);
    layout->addWidget(list, 1);
    layout->addWidget(pn_B);
    gbOtazka->setVisible(false);
    rgVyber->setMinimumHeight(ListExtraHeight);
    FitToContent();
}

void TfrmVyber::Prepare(const QString& caption, const QString& question, const QStringList& lines,
                        int initialIndex) {
    rgVyber->setTitle(caption);
    rgVyber->AppendItems(lines);
    rgVyber->setMinimumHeight(LineHeight * static_cast<int>(rgVyber->Items().size()) + ListExtraHeight);
    rgVyber->SetItemIndex(initialIndex);

    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& line : rgVyber->Items()) widest = std::max(widest, metrics.horizontalAdvance(line));
    FClientWidth = std::max(FClientWidth, widest + 30);

    if (IsBlank(FromQ(question))) {
        gbOtazka->setVisible(false);
    } else {
        mmOtazka->setPlainText(WithLineBreaks(question));
        gbOtazka->setFixedHeight(QuestionHeight);
        gbOtazka->setVisible(true);
    }
    FitToContent();
    UpdateOkButton();
}

void TfrmVyber::FitToContent() {
    // The designed size is the default; the dialog may be resized and never
    // opens larger than its screen's free area.
    int height = rgVyber->minimumHeight() + ButtonBandHeight;
    if (!gbOtazka->isHidden()) height += QuestionHeight;
    layout()->activate();
    FitToScreen(this, QSize(FClientWidth, height), QApplication::activeWindow());
}

int TfrmVyber::Choice() const { return result() == QDialog::Accepted ? rgVyber->ItemIndex() : -1; }

int TfrmVyber::ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                          int initialIndex) {
    TfrmVyber dialog;
    dialog.Prepare(caption, question, lines, initialIndex);
    dialog.exec();
    return dialog.Choice();
}

void TfrmVyber::UpdateOkButton() { btOk->setEnabled(rgVyber->ItemIndex() >= 0); }

void TfrmVyber::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UpdateOkButton();
    // The keyboard starts on the line chosen in advance (the first when
    // none is), with its focus frame shown.
    if (rgVyber->ButtonCount() > 0) rgVyber->Button(std::max(0, rgVyber->ItemIndex()))->setFocus(Qt::TabFocusReason);
}

void TfrmVyber::keyPressEvent(QKeyEvent* event) {
    // Enter chooses the checked line (when there is one), Esc cancels.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (btOk->isEnabled()) accept();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        reject();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zevra
