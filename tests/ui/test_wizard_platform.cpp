// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard as a desktop program on this platform: only visible pages can
// be reached (wheel, keys), Qt's own texts are Czech, the file dialogs start
// in sensible folders, entering a page focuses its first field, grouped
// figures paste, a loaded file's unknown region selects none.
#include "wizard_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QRadioButton>
#include <QSet>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTabBar>
#include <QWheelEvent>

using namespace zevra;
using test::Control;

class TestWizardPlatform : public QObject, public test::TWizardFixture {
    Q_OBJECT

    void Wheel(int notches) {
        QTabBar* bar = pcPages()->tabBar();
        const QPointF pos(bar->tabRect(bar->currentIndex()).center());
        for (int i = 0; i < notches; ++i) {
            QWheelEvent event(pos, bar->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(bar, &event);
        }
    }

    // Every way of the tab row to the next or previous tab.
    void TryEveryTabKey() {
        QTabBar* bar = pcPages()->tabBar();
        QTest::keyClick(pcPages(), Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClick(pcPages(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home})
            QTest::keyClick(bar, key);
        Wheel(5);
    }

    void ClickNext(int times) {
        for (int i = 0; i < times; ++i) btNext()->click();
    }

private slots:
    void initTestCase() { StartTestCase(); }
    void init() { StartTest(); }
    void cleanup() { EndTest(); }

    void hiddenPagesCannotBeReached() {
        // Right after start only the welcome page is visible.
        TryEveryTabKey();
        QCOMPARE(w->ActivePage(), int(M::tsWelcome));
        QVERIFY(!w->Model().Output());

        // With a valid input on page 3 neither validation nor result opens.
        ClickNext(1);
        LoadExample();
        ClickNext(2);
        QCOMPARE(w->ActivePage(), int(M::tsInputData3));
        Wheel(2);
        TryEveryTabKey();
        QVERIFY(w->ActivePage() <= int(M::tsInputData3));
        QVERIFY(!w->IsTabVisible(M::tsInputValidation));
        QVERIFY(!w->Model().Output());

        // The visible ones still can: the wheel steps back to page 1 ...
        pcPages()->setCurrentIndex(M::tsInputData3);
        QTest::keyClick(pcPages(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->ActivePage(), int(M::tsInputData2));
        // ... and a hidden page set directly goes back to the page shown.
        pcPages()->setCurrentIndex(M::tsOutput);
        QCOMPARE(w->ActivePage(), int(M::tsInputData2));
        QVERIFY(!w->Model().Output());

        // Once evaluated, the result page's "Upravit vstupy" works as usual.
        ClickNext(3);
        QCOMPARE(w->ActivePage(), int(M::tsOutput));
        QVERIFY(Control<QPushButton>(w.get(), "btChangeInput")->isEnabled());
    }

    void enteringAPageFocusesItsFirstField() {
        for (const char* first : {"edNazevObce", "edNadmorskaVyska", "edPodnikateleCelkem"}) {
            ClickNext(1);
            QCOMPARE(QApplication::focusWidget(), Control<QWidget>(w.get(), first));
        }
    }

    void groupedFiguresPaste() {
        ClickNext(1);
        auto* field = Control<TNumberEdit>(w.get(), "edObyvateleCelkem");
        for (const QString& copied : {QStringLiteral("1 593"), QStringLiteral("1\u00A0593"), QStringLiteral("1\u202F593")}) {
            field->setFocus(Qt::TabFocusReason);
            field->selectAll();
            QGuiApplication::clipboard()->setText(copied);
            field->paste();
            QCOMPARE(field->Value(), 1593.0);
        }
        // Letters are still refused.
        field->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("15 tisíc"));
        field->paste();
        QCOMPARE(field->Value(), 1593.0);
        // The grouped display text is not taken apart when the field is left.
        Control<QWidget>(w.get(), "edObyvateleEA")->setFocus(Qt::TabFocusReason);
        QCOMPARE(field->text(), QStringLiteral("1 593"));
    }

    void unknownRegionSelectsNone() {
        ClickNext(1);
        LoadExample();
        auto* kraj = Control<QComboBox>(w.get(), "cbKraj");
        QCOMPARE(kraj->currentData().toInt(), 13);
        QTemporaryDir dir;
        for (const char* region : {"-1", "77"}) {
            QByteArray bytes = test::ReadAll(test::ExampleFile(QStringLiteral("obec.txt")));
            bytes.replace("Kraj=13", QByteArray("Kraj=") + region);
            const QString path = dir.filePath(QStringLiteral("jiny.txt"));
            test::WriteAll(path, bytes);
            if (QTest::currentTestFailed()) return;
            kraj->setCurrentIndex(3);
            Dialogs().FileAnswers.push_back(path);
            Control<QPushButton>(w.get(), "btLoadInputData")->click();
            QCOMPARE(kraj->currentIndex(), 0);  // "--- vyberte ---"
            QCOMPARE(kraj->currentText(), QStringLiteral("--- vyberte ---"));
        }
    }

    void fileDialogsStartInSensibleFolders() {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString fallback = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        ClickNext(1);
        LoadExample();
        const auto open = Dialogs().RequestsOf(TType::OpenFile);
        QCOMPARE(open.size(), std::size_t(1));
        QVERIFY(open[0].File.InitialDir == fallback ||
                open[0].File.InitialDir == QFileInfo(test::ExampleFile(QStringLiteral("obec.txt"))).absolutePath());
        // A read-only input file is accepted: reading needs no write access.
        QVERIFY(!open[0].File.RefuseReadOnly);
        // The next input dialog starts where the last file came from; the
        // report's dialog keeps its own folder.
        Dialogs().FileAnswers.push_back(std::nullopt);
        Control<QPushButton>(w.get(), "btSaveInputData")->click();
        QCOMPARE(Dialogs().RequestsOf(TType::SaveFile).back().File.InitialDir,
                 QFileInfo(test::ExampleFile(QStringLiteral("obec.txt"))).absolutePath());
        QCOMPARE(StartFolder(TFileKind::Report), fallback);
        QVERIFY(StartFolder(TFileKind::Report) != QCoreApplication::applicationDirPath());
    }

    void questionBoxesSpeakCzech() {
        const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(dir + QStringLiteral("/qtbase_cs.qm")))
            QSKIP("Qt's Czech translation (Debian package qt6-translations-l10n) is not installed");
        QVERIFY(InstallCzechTranslation());
        QMessageBox box(QMessageBox::Question, QStringLiteral("Otázka"), QStringLiteral("Opravdu?"),
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ano"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Ne"));
        // The file dialog's type column, which the catalogue lacks.
        QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("Složka"));
    }

    // Keyboard only: every button and labelled field of a page has its own
    // Alt+letter beside the bottom band's, and Enter on an input page goes
    // on as "Další >>" does.
    void keyboardReachesEverything() {
        QWidget* band = Control<QPushButton>(w.get(), "btNext")->parentWidget();
        for (int page = M::tsWelcome; page < M::PageCount; ++page) {
            QStringList letters;
            std::vector<QWidget*> scopes{band, pcPages()->widget(page)};
            for (QWidget* scope : scopes) {
                for (QAbstractButton* button : scope->findChildren<QAbstractButton*>()) {
                    if (button->text().isEmpty()) continue;
                    const qsizetype at = button->text().indexOf(QLatin1Char('&'));
                    QVERIFY2(at >= 0, qPrintable(button->text()));
                    letters << button->text().mid(at + 1, 1).toLower();
                }
                for (QLabel* label : scope->findChildren<QLabel*>()) {
                    if (!label->buddy()) continue;
                    const qsizetype at = label->text().indexOf(QLatin1Char('&'));
                    QVERIFY2(at >= 0, qPrintable(label->text()));
                    letters << label->text().mid(at + 1, 1).toLower();
                }
            }
            QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
        }
        ClickNext(1);
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QTest::keyClick(Control<QLineEdit>(w.get(), "edNazevObce"), Qt::Key_Return);
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData2));
    }

    // What a screen reader meets: the water-supply answers with their
    // question, the tabs of the pages reached and no others.
    void screenReaderNames() {
        QVERIFY(Control<QRadioButton>(w.get(), "rbVodovodAno")->accessibleName().startsWith(QStringLiteral("Je obec napojena")));
        QVERIFY(Control<QRadioButton>(w.get(), "rbVodovodNe")->accessibleName().endsWith(QStringLiteral(" Ne")));
        const auto tabs = [this] {
            QStringList names;
            QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(pcPages()->tabBar());
            for (int i = 0; bar && i < bar->childCount(); ++i)
                if (bar->child(i)->role() == QAccessible::PageTab) names << bar->child(i)->text(QAccessible::Name);
            return names;
        };
        QCOMPARE(tabs(), QStringList{QStringLiteral("Úvod")});
        ClickNext(1);
        QCOMPARE(tabs(), (QStringList{QStringLiteral("Úvod"), QStringLiteral("Vstupní data 1"),
                                      QStringLiteral("Vstupní data 2"), QStringLiteral("Vstupní data 3")}));
    }
};

QTEST_MAIN(TestWizardPlatform)
#include "test_wizard_platform.moc"
