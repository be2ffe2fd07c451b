// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/u_tab_access.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTabBar>
#include <QWindow>

#include <map>

namespace zevra {

namespace {

constexpr const char* kVisibleTabsOnly = "zevraVisibleTabsOnly";

// One tab, as a screen reader meets it.
class TTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TTabAccessible(QTabBar* bar, int index) : FBar(bar), FIndex(index) {}

    bool isValid() const override { return FBar && FIndex < FBar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FBar ? FBar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(FBar.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return QString();
        if (t == QAccessible::Name) return QString(FBar->tabText(FIndex)).remove(QLatin1Char('&'));
        if (t == QAccessible::Description) return FBar->tabToolTip(FIndex);
        return QString();
    }

    QRect rect() const override {
        if (!isValid()) return QRect();
        const QRect tab = FBar->tabRect(FIndex);
        return QRect(FBar->mapToGlobal(tab.topLeft()), tab.size());
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.selectable = true;
        s.selected = FBar->currentIndex() == FIndex;
        s.invisible = !FBar->isTabVisible(FIndex);
        s.disabled = !FBar->isTabEnabled(FIndex);
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && FBar->isTabVisible(FIndex)) FBar->setCurrentIndex(FIndex);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> FBar;
    int FIndex;
};

// The tab bar: its children are the visible tabs, in order.
class TTabBarAccessible : public QAccessibleWidget {
public:
    explicit TTabBarAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TTabBarAccessible() override {
        for (const auto& [index, id] : FTabs) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        int count = 0;
        for (int i = 0; i < Bar()->count(); ++i) count += Bar()->isTabVisible(i) ? 1 : 0;
        return count;
    }

    QAccessibleInterface* child(int index) const override {
        for (int i = 0, shown = 0; i < Bar()->count(); ++i) {
            if (!Bar()->isTabVisible(i)) continue;
            if (shown++ == index) return Tab(i);
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child) return i;
        return -1;
    }

private:
    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }
    QAccessibleInterface* Tab(int index) const {
        auto found = FTabs.find(index);
        if (found == FTabs.end())
            found = FTabs.emplace(index, QAccessible::registerAccessibleInterface(new TTabAccessible(Bar(), index))).first;
        return QAccessible::accessibleInterface(found->second);
    }
    mutable std::map<int, QAccessible::Id> FTabs;
};

QAccessibleInterface* VisibleTabsFactory(const QString&, QObject* object) {
    auto* bar = qobject_cast<QTabBar*>(object);
    if (bar && bar->property(kVisibleTabsOnly).toBool()) return new TTabBarAccessible(bar);
    return nullptr;
}

}  // namespace

void ExposeVisibleTabsOnly(QTabBar* bar) {
    static const bool installed = [] {
        QAccessible::installFactory(VisibleTabsFactory);
        return true;
    }();
    Q_UNUSED(installed);
    bar->setProperty(kVisibleTabsOnly, true);
}

}  // namespace zevra
