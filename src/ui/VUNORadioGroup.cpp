// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/VUNORadioGroup.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include <algorithm>

namespace zevra {

TGroupButton::TGroupButton(TVUNOCustomRadioGroup& group) : QRadioButton(&group), FGroup(group) {
    setVisible(false);
    setEnabled(group.isEnabled());
    setFont(group.ItemsFont());
    connect(this, &QRadioButton::toggled, &group, [this, &group](bool checked) {
        if (checked) group.ButtonClick(this);
    });
}

void TGroupButton::nextCheckState() {
    if (FGroup.CanModify()) QRadioButton::nextCheckState();
}

void TGroupButton::keyPressEvent(QKeyEvent* event) {
    const bool changesChoice = event->key() == Qt::Key_Space || event->key() == Qt::Key_Backspace;
    if (changesChoice && !FGroup.CanModify()) return;
    QRadioButton::keyPressEvent(event);
}

TVUNOCustomRadioGroup::TVUNOCustomRadioGroup(QWidget* parent) : QGroupBox(parent), FItemsFont(font()) {}

void TVUNOCustomRadioGroup::SetItems(const QStringList& items) {
    FItems = items;
    ItemsChanged();
}

void TVUNOCustomRadioGroup::AppendItems(const QStringList& items) {
    FItems.append(items);
    ItemsChanged();
}

void TVUNOCustomRadioGroup::ItemsChanged() {
    if (FReading) return;
    if (FItemIndex >= FItems.size()) FItemIndex = static_cast<int>(FItems.size()) - 1;
    RebuildButtons();
}

void TVUNOCustomRadioGroup::SetItemIndex(int value) {
    if (FReading) {
        FItemIndex = value;
        return;
    }
    value = std::clamp(value, -1, ButtonCount() - 1);
    if (value == FItemIndex) return;
    if (FItemIndex >= 0) CheckButton(FItemIndex, false);
    FItemIndex = value;
    if (FItemIndex >= 0) CheckButton(FItemIndex, true);
}

void TVUNOCustomRadioGroup::CheckButton(int index, bool checked) {
    if (index < 0 || index >= ButtonCount()) return;
    TGroupButton* button = FButtons[static_cast<std::size_t>(index)];
    FUpdating = true;
    // An exclusive radio button cannot be unchecked directly.
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(true);
    FUpdating = false;
}

void TVUNOCustomRadioGroup::SetColumns(int value) {
    value = std::clamp(value, 1, MaxColumns);
    if (value == FColumns) return;
    FColumns = value;
    ArrangeButtons();
    update();
}

void TVUNOCustomRadioGroup::SetItemsFont(const QFont& font) {
    FItemsFont = font;
    ApplyItemsFont();
}

void TVUNOCustomRadioGroup::ApplyItemsFont() {
    for (TGroupButton* button : FButtons) button->setFont(FItemsFont);
    ArrangeButtons();
}

void TVUNOCustomRadioGroup::SetReading(bool reading) {
    FReading = reading;
    if (!reading) RebuildButtons();
}

void TVUNOCustomRadioGroup::SetButtonCount(int count) {
    while (ButtonCount() < count) FButtons.push_back(new TGroupButton(*this));
    while (ButtonCount() > count) {
        TGroupButton* last = FButtons.back();
        FButtons.pop_back();
        delete last;
    }
}

void TVUNOCustomRadioGroup::RebuildButtons() {
    SetButtonCount(static_cast<int>(FItems.size()));
    for (int i = 0; i < ButtonCount(); ++i) {
        FButtons[static_cast<std::size_t>(i)]->setText(FItems[i]);
        CheckButton(i, false);
    }
    if (FItemIndex >= 0) CheckButton(FItemIndex, true);
    ArrangeButtons();
    update();
}

void TVUNOCustomRadioGroup::ButtonClick(TGroupButton* button) {
    if (FUpdating) return;
    const auto it = std::find(FButtons.begin(), FButtons.end(), button);
    if (it == FButtons.end()) return;
    FItemIndex = static_cast<int>(it - FButtons.begin());
    emit Changed();
    emit Clicked();
}

void TVUNOCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty() || FReading) return;
    const int textHeight = QFontMetrics(FItemsFont).height();
    const int count = ButtonCount();
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int buttonWidth = (width() - 10) / FColumns;
    const int freeHeight = height() - textHeight - 5;
    const int buttonHeight = freeHeight / perColumn;
    const int topMargin = textHeight + 1 + (freeHeight % perColumn) / 2;
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    for (int i = 0; i < count; ++i) {
        int left = (i / perColumn) * buttonWidth + 8;
        if (rightToLeft) left = width() - left - buttonWidth;
        TGroupButton* button = FButtons[static_cast<std::size_t>(i)];
        button->setGeometry(left, (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
        button->setVisible(true);
    }
}

void TVUNOCustomRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TVUNOCustomRadioGroup::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        for (TGroupButton* button : FButtons) button->setEnabled(isEnabled());
    } else if (event->type() == QEvent::FontChange) {
        ApplyItemsFont();
    }
}

}  // namespace zevra
