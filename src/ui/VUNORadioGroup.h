// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// A radio group whose item buttons use a font of their own (ItemsFont),
// separate from the font of the group caption. The buttons always follow
// Items and are laid out in Columns columns.
#pragma once

#include <QFont>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

#include <vector>

namespace zevra {

class TVUNOCustomRadioGroup;

// One item button; it belongs to its group and reports its clicks to it.
class TGroupButton : public QRadioButton {
    Q_OBJECT
public:
    explicit TGroupButton(TVUNOCustomRadioGroup& group);

protected:
    // A click or a key only changes the choice when the group allows it.
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TVUNOCustomRadioGroup& FGroup;
};

class TVUNOCustomRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int MaxColumns = 16;

    explicit TVUNOCustomRadioGroup(QWidget* parent = nullptr);

    const QStringList& Items() const { return FItems; }
    // Replaces the items; an ItemIndex at or beyond the new count becomes
    // count - 1, and the buttons are rebuilt.
    void SetItems(const QStringList& items);
    void AppendItems(const QStringList& items);

    int ItemIndex() const { return FItemIndex; }
    // Brought into -1 .. count - 1; checks the new button, no click signal.
    void SetItemIndex(int value);

    int Columns() const { return FColumns; }
    // Brought into 1 .. 16.
    void SetColumns(int value);

    const QFont& ItemsFont() const { return FItemsFont; }
    void SetItemsFont(const QFont& font);

    // While set (loading a stored description) values are stored unchecked
    // and nothing is laid out; clearing it rebuilds the buttons.
    void SetReading(bool reading);

    // Whether the user may change the choice.
    virtual bool CanModify() const { return true; }

    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    QRadioButton* Button(int index) const { return FButtons.at(static_cast<std::size_t>(index)); }

    void ArrangeButtons();

signals:
    void Changed();
    void Clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TGroupButton;
    void ItemsChanged();
    void RebuildButtons();
    void SetButtonCount(int count);
    void ButtonClick(TGroupButton* button);
    void CheckButton(int index, bool checked);
    void ApplyItemsFont();

    std::vector<TGroupButton*> FButtons;  // children of the group
    QStringList FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    QFont FItemsFont;
    bool FReading = false;
    bool FUpdating = false;
};

class TVUNORadioGroup : public TVUNOCustomRadioGroup {
    Q_OBJECT
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(QFont ItemsFont READ ItemsFont WRITE SetItemsFont)
public:
    using TVUNOCustomRadioGroup::TVUNOCustomRadioGroup;
};

}  // namespace zevra
