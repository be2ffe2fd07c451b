// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window driven by its buttons with scripted dialogs: its states
// and layout, loading good and faulty files, the problems-only display and
// the row colours, the row detail, the close button, the wizard's batch
// button, the problem list and the text window.
#include "batch_window_fixture.h"
#include "ui/u_main.h"

#include <QAbstractButton>
#include <QSet>

using namespace zevra;
using namespace zevra::test;

class TestBatchWindow : public QObject, public test::TBatchWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() { StartTestCase(); }
    void cleanupTestCase() { EndTestCase(); }
    void init() { StartTest(); }
    void cleanup() { EndTest(); }

    void openedWindowLayoutAndCaptions() {
        QCOMPARE(w->windowTitle(), QStringLiteral("Hromadné zpracování"));
        QCOMPARE(w->State(), B::TState::Opened);
        QCOMPARE(w->size(), QSize(692, 79 + 16 + 16 + 35));
        QVERIFY(w->minimumWidth() < w->maximumWidth() && w->minimumHeight() < w->maximumHeight());
        QCOMPARE(gbInput()->height(), 79);
        QCOMPARE(gbPreview()->height(), 16);
        QCOMPARE(gbOutput()->height(), 16);
        QVERIFY(!pnPreview_C()->isVisible());
        QVERIFY(lblErrorCount()->text().isEmpty());
        QVERIFY(chbProblemsOnly()->isChecked());
        QVERIFY(!chbOpenOutput()->isChecked());
        QVERIFY(!w->InputValid());
        QCOMPARE(gbInput()->title(), QStringLiteral("Vstupní soubor"));
        QCOMPARE(gbPreview()->title(), QStringLiteral("Kontrola vstupu"));
        QCOMPARE(gbOutput()->title(), QStringLiteral("Uložení výsledku"));
        for (QGroupBox* group : {gbInput(), gbPreview(), gbOutput()})
            QCOMPARE(group->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        const QColor normal = QApplication::palette().color(QPalette::WindowText);
        QCOMPARE(lblErrorCount()->palette().color(QPalette::WindowText), normal);
        QCOMPARE(chbOpenOutput()->palette().color(QPalette::WindowText), normal);
        // Every button and field has its Alt+letter, each letter once.
        const std::pair<QAbstractButton*, QString> texts[] = {
            {btChooseInput(), "&Vybrat soubor..."},   {btLoadInput(), "&Načíst data"},
            {btValidationDetail(), "&Detail kontroly dat"}, {btRunModel(), "Spustit &model"},
            {chbProblemsOnly(), "Zobrazit &jen problémy"}, {btChooseOutput(), "Vy&brat soubor..."},
            {chbOpenOutput(), "Po uložení &zobrazit výsledky"}, {btSaveOutput(), "&Uložit výsledek"},
            {btClose(), "U&končit"}};
        QStringList keys;
        for (const auto& [button, text] : texts) {
            QCOMPARE(button->text(), text);
            keys << text.mid(text.indexOf(QLatin1Char('&')) + 1, 1).toLower();
        }
        for (const char* name : {"lblInputFile", "lblOutputFile"}) {
            const auto* label = Control<QLabel>(w.get(), name);
            QVERIFY(label->buddy() == edInputFile() || label->buddy() == edOutputFile());
            keys << label->text().mid(label->text().indexOf(QLatin1Char('&')) + 1, 1).toLower();
        }
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
        QCOMPARE(edInputFile()->accessibleName(), QStringLiteral("Vstupní soubor"));
        QCOMPARE(edOutputFile()->accessibleName(), QStringLiteral("Výstupní soubor"));
        QVERIFY(!dbgInputData()->accessibleName().isEmpty());
        // The button band names the reference data in use, here the demonstration data.
        const auto* dataDir = Control<QLabel>(w.get(), "lblDataDir");
        QVERIFY(dataDir && dataDir->toolTip().startsWith(QStringLiteral("Referenční data: /")));
        QVERIFY(dataDir->toolTip().endsWith(QStringLiteral(" (demonstrační data, nejde o oficiální údaje)")));
        QVERIFY(dataDir->geometry().right() < btClose()->x());
        // The file labels are never clipped, the fields start after them.
        for (const char* name : {"lblInputFile", "lblOutputFile"}) {
            const auto* label = Control<QLabel>(w.get(), name);
            QVERIFY(label);
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(QString(label->text()).remove('&')));
        }
        QCOMPARE(edInputFile()->x() + edInputFile()->width(), 545);
        QCOMPARE(edOutputFile()->geometry(), edInputFile()->geometry());
        QVERIFY(edInputFile()->x() >= 100);
        QCOMPARE(shpWarning()->size(), QSize(13, 13));
        QVERIFY(shpWarning()->styleSheet().contains(QColor(255, 255, 153).name()));
        QVERIFY(shpError()->styleSheet().contains(QColor(255, 153, 153).name()));

        // The grid's columns, titles and widths.
        const QStringList titles{"Obec", "Kraj", "Obyvatel", "Katastr", "Ek.akt. 2001", "Nezaměst. 2001",
                                 "Vyjížďející 2001", "Nadm. v.", "Kraj. město - čas", "Okr. město - km",
                                 "Silnice 1. tř - km", "Podnikatelé 2006", "Rolníci 2006", "Domin. zaměst."};
        const QList<int> widths{120, 100, 70, 75, 64, 80, 80, 50, 64, 64, 64, 64, 80, 64};
        const auto* model = dbgInputData()->model();
        QCOMPARE(model->columnCount(), titles.size());
        // Designed widths, wider where a title needs it: no title is cut.
        const QFontMetrics header(dbgInputData()->horizontalHeader()->font());
        for (int c = 0; c < titles.size(); ++c) {
            QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), titles[c]);
            QVERIFY(dbgInputData()->columnWidth(c) >= widths[c]);
            QVERIFY2(dbgInputData()->columnWidth(c) > header.horizontalAdvance(titles[c]), qPrintable(titles[c]));
        }
        QCOMPARE(dbgInputData()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!dbgInputData()->verticalHeader()->isHidden());  // the row indicator
    }

    void emptyFileNameAndRunBeforeLoad() {
        btLoadInput()->click();
        btRunModel()->click();
        QCOMPARE(Messages(), (QStringList{QStringLiteral("ZEVRAModel|Nebyl vybrán vstupní soubor!"),
                                          QStringLiteral("Chyba|Vstupní data obsahují chyby!")}));
        QCOMPARE(Dialogs().RequestsOf(TType::Message).back().Kind, TMessageKind::Error);
        QCOMPARE(Dialogs().RequestsOf(TType::Message).front().Placement, TMessagePlacement::OverWindow);
        QCOMPARE(Dialogs().RequestsOf(TType::Message).back().Placement, TMessagePlacement::OverWindow);
        QCOMPARE(w->State(), B::TState::Opened);
        QCOMPARE(w->height(), 146);

        // A file that cannot be read: the input/output error, nothing else.
        Dialogs().Clear();
        Load(OutFile(QStringLiteral("chybi.csv")));
        QCOMPARE(Dialogs().Requests.size(), size_t(1));
        QCOMPARE(Dialogs().Requests[0].Caption, QStringLiteral("ZEVRAModel"));
        QCOMPARE(w->State(), B::TState::Opened);
    }

    void fileDialogs() {
        edInputFile()->setText(QStringLiteral("stary.csv"));
        Dialogs().FileAnswers = {QStringLiteral("/data/obce.csv"), std::nullopt};
        btChooseInput()->click();
        QCOMPARE(edInputFile()->text(), QStringLiteral("/data/obce.csv"));
        btChooseInput()->click();  // cancelled: the name stays
        QCOMPARE(edInputFile()->text(), QStringLiteral("/data/obce.csv"));
        const auto opens = Dialogs().RequestsOf(TType::OpenFile);
        QCOMPARE(opens.size(), size_t(2));
        const TFileDialogOptions& open = opens[0].File;
        QCOMPARE(open.Title, QStringLiteral("Vyberte soubor, který chcete zpracovat"));
        QCOMPARE(open.Filters.size(), size_t(2));
        QCOMPARE(open.Filters[0].Description, QStringLiteral("Textové soubory"));
        QCOMPARE(open.Filters[0].Patterns, QStringLiteral("*.txt"));
        QCOMPARE(open.Filters[1].Description, QStringLiteral("CSV soubory"));
        QCOMPARE(open.Filters[1].Patterns, QStringLiteral("*.csv"));
        QCOMPARE(open.SelectedFilter, 1);
        QVERIFY(open.MustExist);
        QCOMPARE(open.ProposedName, QStringLiteral("stary.csv"));

        // Save: a new name is taken; an existing one only after Yes.
        const QString existing = OutFile(QStringLiteral("existuje.html"));
        QVERIFY(QFile(existing).open(QIODevice::WriteOnly));
        Dialogs().FileAnswers = {OutFile(QStringLiteral("novy.html")), existing, existing};
        Dialogs().YesNoAnswers = {false, true};
        btChooseOutput()->click();
        QCOMPARE(edOutputFile()->text(), OutFile(QStringLiteral("novy.html")));
        btChooseOutput()->click();
        QCOMPARE(edOutputFile()->text(), OutFile(QStringLiteral("novy.html")));
        btChooseOutput()->click();
        QCOMPARE(edOutputFile()->text(), existing);
        const auto saves = Dialogs().RequestsOf(TType::SaveFile);
        QCOMPARE(saves.size(), size_t(3));
        QCOMPARE(saves[0].File.Title, QStringLiteral("Vyberte umístění pro výstupní soubor"));
        QCOMPARE(saves[0].File.Filters.size(), size_t(3));
        QCOMPARE(saves[0].File.Filters[0].Description, QStringLiteral("Soubory HTML"));
        QCOMPARE(saves[0].File.Filters[0].Patterns, QStringLiteral("*.html"));
        QCOMPARE(saves[0].File.Filters[1].Description, QStringLiteral("Sešit Excel"));
        QCOMPARE(saves[0].File.Filters[1].Patterns, QStringLiteral("*.xlsx"));
        QCOMPARE(Dialogs().RequestsOf(TType::YesNo).size(), size_t(2));
    }

    void loadWithWarningsFilterAndColours() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        QVERIFY(Dialogs().Requests.empty());
        QCOMPARE(w->State(), B::TState::Loaded);
        QCOMPARE(w->height(), 79 + 278 + 16 + 35);
        QVERIFY(pnPreview_C()->isVisible());
        QVERIFY(w->InputValid());
        QCOMPARE(lblErrorCount()->text(), QStringLiteral("(zjištěno 0 chyb a 4 varování)"));
        QVERIFY(lblErrorCount()->geometry().left() > 60);  // after the caption, on the frame line
        QVERIFY(lblErrorCount()->geometry().top() <= 2);

        // Problems only: the four rows with warnings, all light yellow.
        QCOMPARE(GridRows(), 4);
        // Light yellow, with black text in any theme and the state in words.
        const auto* grid = dbgInputData()->model();
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(Background(r).value<QColor>(), QColor(255, 255, 153));
            QCOMPARE(grid->index(r, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
            QCOMPARE(grid->index(r, 1).data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("varování"));
        }
        SetProblemsOnly(false);
        QCOMPARE(GridRows(), 30);
        int yellow = 0;
        for (int r = 0; r < 30; ++r) {
            const QVariant background = Background(r);
            if (background.isValid()) {
                QCOMPARE(background.value<QColor>(), QColor(255, 255, 153));
                ++yellow;
            }
        }
        QCOMPARE(yellow, 4);
        SetProblemsOnly(true);
        QCOMPARE(GridRows(), 4);
    }

    void selectedCellKeepsHighlight() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        SelectRow(0);
        dbgInputData()->setFocus();
        const QImage image = dbgInputData()->viewport()->grab().toImage();
        const QRect selected = dbgInputData()->visualRect(dbgInputData()->model()->index(0, 1));
        const QRect other = dbgInputData()->visualRect(dbgInputData()->model()->index(0, 2));
        const auto inside = [](const QRect& cell) { return cell.bottomRight() - QPoint(2, 2); };
        const QColor yellow(255, 255, 153);
        QCOMPARE(image.pixelColor(inside(other)), yellow);
        QVERIFY(image.pixelColor(inside(selected)) != yellow);
    }

    void detailOfRows() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        // A row with warnings, by the button and by double-click.
        SelectRow(1);
        const std::size_t row = w->CurrentInputRow();
        const QString obec = ToQ(w->Batch().InputData().GetText(row, ifOBEC));
        btValidationDetail()->click();
        emit dbgInputData()->doubleClicked(dbgInputData()->currentIndex());
        auto infos = Dialogs().RequestsOf(TType::InfoText);
        QCOMPARE(infos.size(), size_t(2));
        QCOMPARE(infos[0].Caption, QStringLiteral("Detail kontroly dat"));
        QCOMPARE(infos[0].Heading, QStringLiteral("Výsledek kontroly dat pro obec %1:").arg(obec));
        QVERIFY(infos[0].Text.startsWith(QStringLiteral("POZOR: ")));
        QVERIFY(infos[0].Text.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(infos[1].Heading, infos[0].Heading);
        QCOMPARE(infos[1].Text, infos[0].Text);

        // A row without problems: the window opens with an empty text.
        SetProblemsOnly(false);
        const int clean = ViewRowOf(QStringLiteral("Věžnice u Třebíče"));
        SelectRow(clean);
        QVERIFY(!Background(clean).isValid());
        btValidationDetail()->click();
        infos = Dialogs().RequestsOf(TType::InfoText);
        QCOMPARE(infos.size(), size_t(3));
        QCOMPARE(infos[2].Heading, QStringLiteral("Výsledek kontroly dat pro obec Věžnice u Třebíče:"));
        QVERIFY(infos[2].Text.isEmpty());

        // No visible row: nothing opens.
        const QString path = OutFile(QStringLiteral("ciste.csv"));
        WriteBatchFile(path, CleanRow + CleanRow);
        Load(path);
        SetProblemsOnly(true);
        QCOMPARE(lblErrorCount()->text(), QStringLiteral("(bez chyb a varování)"));
        QCOMPARE(GridRows(), 0);
        Dialogs().Clear();
        btValidationDetail()->click();
        emit dbgInputData()->doubleClicked(dbgInputData()->currentIndex());
        QVERIFY(Dialogs().Requests.empty());
    }

    void closeButton() {
        btClose()->click();
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!w->isVisible());
    }

    // A visit to the batch window (a load and a run leave the last row in
    // the model) gives the wizard back its own input, result and fields.
    void wizardKeepsItsWorkAcrossBatchWindow() {
        TfrmMain main(FData->Path());
        main.SetBatchProcessing([](QWidget&, TZevraModel& model) { TfrmBatchProcessing::ShowBatchProcessing(model); });
        main.show();
        main.Model().LoadInput(test::ExampleFile(QStringLiteral("obec.txt")).toStdString());
        main.Model().Evaluate();
        const TZevraInputData input = main.Model().Input();
        const double result = main.Model().Output()->Obyvatelstvo;
        Control<QTabWidget>(&main, "pcPages")->setCurrentIndex(TfrmMain::tsInputData1);
        Control<QLineEdit>(&main, "edNazevObce")->setText(QStringLiteral("Něco"));
        const int page = main.ActivePage();
        QString seenTitle;
        QSize seenSize;
        QTimer::singleShot(0, [&] {
            auto* batch = dynamic_cast<TfrmBatchProcessing*>(QApplication::activeModalWidget());
            if (!batch) return;
            seenTitle = batch->windowTitle();
            seenSize = batch->size();
            Control<QLineEdit>(batch, "edInputFile")->setText(test::ExampleFile(QStringLiteral("obce.csv")));
            Control<QPushButton>(batch, "btLoadInput")->click();
            Control<QPushButton>(batch, "btRunModel")->click();
            Dialogs().YesNoAnswers = {true};  // leave without saving
            batch->reject();
        });
        Control<QPushButton>(&main, "btBatchProcessing")->click();
        QCOMPARE(seenTitle, QStringLiteral("Hromadné zpracování"));
        QCOMPARE(seenSize, QSize(692, 146));
        QCOMPARE(Dialogs().RequestsOf(TType::YesNo).size(), size_t(1));
        QCOMPARE(main.ActivePage(), page);
        QCOMPARE(Control<QLineEdit>(&main, "edNazevObce")->text(), QStringLiteral("Něco"));
        QVERIFY(main.Model().Input() == input);
        QVERIFY(main.Model().Output());
        QCOMPARE(main.Model().Output()->Obyvatelstvo, result);
    }

    void problemListAndTextWindow() {
        ECompositeException e;
        e.Add("Řádek 3", std::make_unique<EZevraError>("první"));
        e.Add("Řádek 7", std::make_unique<EZevraError>("druhý"));
        TfrmCompositeException dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Výsledek operace"));
        QCOMPARE(dialog.size(), QSize(492, 273));
        QCOMPARE(dialog.btOk->text(), QStringLiteral("&Zavři okno"));
        QCOMPARE(dialog.gbProblemy->title(), QStringLiteral("Při provádění operace se vyskytly následující problémy:"));
        QCOMPARE(dialog.mmErrors->palette().color(QPalette::Base), QColor(128, 255, 255));
        QVERIFY(dialog.mmErrors->isReadOnly());
        dialog.FillProblems(&e);
        QCOMPARE(dialog.ProblemLines(), (QStringList{QStringLiteral("Řádek 3: první"), QStringLiteral("Řádek 7: druhý")}));
        dialog.FillProblems(nullptr);
        QVERIFY(dialog.ProblemLines().isEmpty());
        ECompositeException empty;
        dialog.FillProblems(&empty);
        QVERIFY(dialog.ProblemLines().isEmpty());

        TfrmInfo info;
        QCOMPARE(info.windowTitle(), QStringLiteral("Informace"));
        QCOMPARE(info.size(), QSize(600, 437));
        info.SetContent(QString(), QStringLiteral("Nadpis <b>"), QStringLiteral("a\r\nb\r\n"));
        // Empty to the eye, but not empty to the toolkit, which would show
        // the application name instead.
        QCOMPARE(info.windowTitle(), QStringLiteral(" "));
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        QCOMPARE(info.windowHandle()->title().trimmed(), QString());
        info.hide();
        QCOMPARE(info.lblLabel->text(), QStringLiteral("Nadpis <b>"));
        QCOMPARE(info.lblLabel->textFormat(), Qt::PlainText);
        QCOMPARE(info.mmInfo->toPlainText(), QStringLiteral("a\nb\n"));
        QCOMPARE(info.btOk->text(), QStringLiteral("Ok"));
    }
};

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    InitNumberFormat();
    TestBatchWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch_window.moc"
