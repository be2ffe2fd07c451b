// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on a small screen and in a dark theme. The program runs on an
// offscreen screen of 1366 x 768 (a laptop's), once as it is and once with
// QT_SCALE_FACTOR=2 (683 x 384 of room): every window opens inside the
// available area with its buttons in it, can be resized, and its content
// grows with it. In a dark palette every text keeps its contrast.
#include "wizard_fixture.h"

#include "gui/u_palette.h"
#include "gui/u_screen_fit.h"
#include "ui/u_frm_Profil.h"
#include "ui/u_frm_Vyber.h"
#include "ui/u_decile_chart.h"
#include "ui/VUNORadioGroup.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

#include <functional>

using namespace zevra;
using namespace zevra::test;

namespace {

// A window fits when it lies inside the available area, can be resized, and
// every button of it lies inside the window (or in a page that scrolls).
void VerifyFits(QWidget* window, const QString& what) {
    VerifyOnScreen(window, what);
    if (QTest::currentTestFailed()) return;
    QVERIFY2(window->minimumSize() != window->maximumSize(), qPrintable(what));
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(window)) continue;
        if (!button->window()->isAncestorOf(button) && button->window() != window) continue;
        QWidget* scroll = button->parentWidget();
        bool scrolled = false;
        for (; scroll && scroll != window; scroll = scroll->parentWidget())
            if (scroll->inherits("QScrollArea")) scrolled = true;
        if (scrolled) continue;  // reachable through its page's scroll bar
        const QRect rect(button->mapTo(window, QPoint(0, 0)), button->size());
        QVERIFY2(window->rect().contains(rect), qPrintable(QStringLiteral("%1: %2").arg(what, button->text())));
    }
}

// The windows of the fit test: a page of the wizard, or one of its dialogs.
enum TFitWindow { fwWizard, fwProfile, fwChoice };

// The colour behind a widget: the nearest one that paints its background.
QColor BackgroundOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->autoFillBackground() || w->isWindow()) return w->palette().color(w->backgroundRole());
    return widget->palette().color(QPalette::Window);
}

}  // namespace

class TestWizardScreen : public QObject, public TWizardFixture {
    Q_OBJECT
private slots:
    void initTestCase() { StartTestCase(); }
    void init() {
        StartTest();
        FitToScreen(w.get(), QSize(M::ClientWidth, M::ClientHeight));
    }
    void cleanup() {
        EndTest();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    void screenIsTheLaptops() {
        const QSize expected = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2 ? QSize(683, 384) : QSize(1366, 768);
        QCOMPARE(w->screen()->availableGeometry().size(), expected);
    }

    // The wizard on each page, the profile window and the choice dialog open
    // inside the screen, with their buttons on it.
    void everyWindowFits_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("page");
        for (int page = M::tsWelcome; page < M::PageCount; ++page) QTest::addRow("zevra %d", page) << int(fwWizard) << page;
        QTest::newRow("profil") << int(fwProfile) << int(M::tsOutput);
        QTest::newRow("vyber") << int(fwChoice) << int(M::tsOutput);
    }
    void everyWindowFits() {
        QFETCH(int, window);
        QFETCH(int, page);
        EvaluateExample();
        pcPages()->setCurrentIndex(page);
        if (window == fwWizard) {
            VerifyFits(w.get(), QTest::currentDataTag());
        } else if (window == fwProfile) {
            TfrmProfil profile(w->Model(), w.get());
            profile.show();
            QVERIFY(QTest::qWaitForWindowExposed(&profile));
            VerifyFits(&profile, QTest::currentDataTag());
        } else {
            QStringList lines;
            for (int i = 0; i < 14; ++i) lines << QStringLiteral("Lhota (okr. Okres %1)").arg(i);
            TfrmVyber choice;
            choice.Prepare(QStringLiteral("Výběr obce"), QStringLiteral("Podle názvu připadá do úvahy více možností."),
                           lines, 0);
            choice.show();
            QVERIFY(QTest::qWaitForWindowExposed(&choice));
            VerifyFits(&choice, QTest::currentDataTag());
        }
    }

    // A larger window gives its content the room: the report, the chart
    // and the tables grow.
    void contentGrowsWithTheWindow() {
        EvaluateExample();
        const auto grows = [](QWidget* window, const std::vector<QWidget*>& parts) {
            const QRect area = window->screen()->availableGeometry();
            window->resize(window->minimumSize());
            QApplication::processEvents();
            std::vector<QSize> before;
            for (QWidget* part : parts) before.push_back(part->size());
            window->resize(area.size());
            QApplication::processEvents();
            for (std::size_t i = 0; i < parts.size(); ++i) {
                QVERIFY2(parts[i]->width() > before[i].width(), qPrintable(parts[i]->objectName()));
                QVERIFY2(parts[i]->height() >= before[i].height(), qPrintable(parts[i]->objectName()));
            }
        };
        grows(w.get(), {redObyvatelstvoResult()});
        TfrmProfil profile(w->Model(), w.get());
        profile.show();
        QVERIFY(QTest::qWaitForWindowExposed(&profile));
        grows(&profile, {profile.chDecily, profile.dbgPodobneObce, profile.dbgPodily});
        // The report shows whole lines: they wrap at the view's width.
        QCOMPARE(redObyvatelstvoResult()->lineWrapMode(), QTextEdit::WidgetWidth);
        QCOMPARE(redObyvatelstvoResult()->horizontalScrollBar()->maximum(), 0);
    }

    // In a dark theme every label, caption and text field reads: its text
    // against what lies behind it has a contrast of 4.5 at least, on every
    // page, for the validation's three colours and for a field in error.
    void darkThemeKeepsTextReadable() {
        EndTest();
        QApplication::setPalette(DarkPalette());
        StartTest();
        const auto verifyReadable = [this](const char* state) {
            for (QLabel* label : w->findChildren<QLabel*>()) {
                if (label->text().isEmpty() || !label->pixmap().isNull()) continue;
                const double ratio = ContrastRatio(label->palette().color(label->foregroundRole()), BackgroundOf(label));
                QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2 (%3)").arg(state, label->text()).arg(ratio)));
            }
            for (QGroupBox* group : w->findChildren<QGroupBox*>()) {
                const double ratio = ContrastRatio(group->palette().color(QPalette::WindowText), BackgroundOf(group));
                QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2").arg(state, group->title())));
            }
            for (QWidget* field : w->findChildren<QWidget*>()) {
                if (!field->inherits("QLineEdit") && !field->inherits("QPlainTextEdit")) continue;
                const QPalette p = field->palette();
                QVERIFY2(ContrastRatio(p.color(QPalette::Text), p.color(QPalette::Base)) >= 4.5,
                         qPrintable(QStringLiteral("%1: %2").arg(state, field->objectName())));
            }
        };
        verifyReadable("start");
        btNext()->click();
        GoToPage(M::tsInputValidation);  // errors: red
        verifyReadable("errors");
        pcPages()->setCurrentIndex(M::tsInputData1);
        LoadExample();
        w->SelectKraj(1);
        pcPages()->setCurrentIndex(M::tsInputValidation);  // a warning: yellow
        verifyReadable("warnings");
        pcPages()->setCurrentIndex(M::tsInputData1);
        LoadExample();
        pcPages()->setCurrentIndex(M::tsInputValidation);  // passed: green
        verifyReadable("passed");
        pcPages()->setCurrentIndex(M::tsInputData2);
        edOkresniMestoKm()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edOkresniMestoKm(), QStringLiteral(",5"));
        verifyReadable("field error");

        TfrmVyber choice;
        choice.Prepare(QStringLiteral("Výběr obce"), QStringLiteral("Která?"), {QStringLiteral("A")}, 0);
        for (QGroupBox* group : {choice.gbOtazka, static_cast<QGroupBox*>(choice.rgVyber)})
            QVERIFY(ContrastRatio(group->palette().color(QPalette::WindowText), BackgroundOf(group)) >= 4.5);
        QVERIFY(ContrastRatio(choice.mmOtazka->palette().color(QPalette::Text),
                              choice.mmOtazka->palette().color(QPalette::Base)) >= 4.5);
    }
};

int main(int argc, char** argv) {
    // The laptop's screen, for the offscreen platform.
    const TScreenSize laptop(QSize(1366, 768));
    TZevraApplication app(argc, argv);
    TestWizardScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard_screen.moc"
