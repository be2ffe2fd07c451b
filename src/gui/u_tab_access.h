// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader sees of a tab bar whose hidden tabs are pages not
// yet reached: only the tabs that are shown.
#pragma once

class QTabBar;

namespace zevra {

// From now on the accessibility of `bar` lists only its visible tabs.
void ExposeVisibleTabsOnly(QTabBar* bar);

}  // namespace zevra
