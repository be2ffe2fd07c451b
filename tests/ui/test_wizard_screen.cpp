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

// A window fits when it lies inside the available area and every button of
// it lies inside the window.
void VerifyFits(QWidget* window, const char* what) {
    const QRect area = window->screen()->availableGeometry();
    QVERIFY2(area.contains(window->frameGeometry()), qPrintable(QStringLiteral("%1 %2,%3 %4x%5 min %6x%7").arg(what).arg(window->x()).arg(window->y()).arg(window->width()).arg(window->height()).arg(window->minimumWidth()).arg(window->minimumHeight())));
    QVERIFY2(window->minimumSize() != window->maximumSize(), what);  // resizable
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

// The colour behind a widget: the nearest one that paints its background.
QColor BackgroundOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->autoFillBackground() || w->isWindow()) return w->palette().color(w->backgroundRole());
    return widget->palette().color(QPalette::Window);
}

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(60, 60, 60));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(60, 60, 60));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    return dark;
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

    // The wizard, the profile window and the choice dialog open inside the
    // screen, with their buttons on it.
    void everyWindowFits() {
        EvaluateExample();
        for (int page = M::tsWelcome; page < M::PageCount; ++page) {
            pcPages()->setCurrentIndex(page);
            VerifyFits(w.get(), "zevra");
        }
        TfrmProfil profile(w->Model(), w.get());
        profile.show();
        QVERIFY(QTest::qWaitForWindowExposed(&profile));
        VerifyFits(&profile, "profil");

        QStringList lines;
        for (int i = 0; i < 14; ++i) lines << QStringLiteral("Lhota (okr. Okres %1)").arg(i);
        TfrmVyber choice;
        choice.Prepare(QStringLiteral("Výběr obce"), QStringLiteral("Podle názvu připadá do úvahy více možností."),
                       lines, 0);
        choice.show();
        QVERIFY(QTest::qWaitForWindowExposed(&choice));
        VerifyFits(&choice, "vyber");
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
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    test::WriteAll(config, R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,
                              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    TZevraApplication app(argc, argv);
    TestWizardScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard_screen.moc"
