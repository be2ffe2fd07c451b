// The batch window driven by its buttons with scripted dialogs: its states
// and layout, loading good and faulty files, the problems-only display and
// the row colours, the row detail, the run refused by errors or by a row,
// saving with and without showing the result, the progress feedback, the
// shipped examples from load to saved HTML, and the wizard's batch button.
#include "batch/gui/u_batch.h"
#include "batch/gui/u_batch_progress.h"
#include "batch/core/u_exception_functions.h"
#include "batch/gui/u_frm_CompositeException.h"
#include "batch/gui/u_frm_Info.h"
#include "batch/gui/u_memtable_model.h"
#include "model/u_model.h"
#include "model/u_text.h"
#include "ui_test_support.h"
#include "gui/u_application.h"
#include "gui/u_gui_functions.h"
#include "ui/u_main.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace zevra;
using test::ReadAll;
using TType = TScriptedDialogs::TRequest::TType;
using B = TfrmBatchProcessing;

namespace {

// Writes UTF-8 text as a batch file (code page 1250, CR LF).
void WriteBatchFile(const QString& path, const QString& utf8Lines) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QString text = utf8Lines;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    file.write(QByteArray::fromStdString(Utf8ToCp1250(text.toStdString())));
}

const QString CleanRow = QStringLiteral("Věžnice u Třebíče;566594;Vysočina;934;455;17;280;472;966.29;28;7;2.2;153;12;88;Ano\n");
// More unemployed than economically active: an input error.
const QString ErrorRow = QStringLiteral("Chybov;566595;Vysočina;934;455;500;280;472;966.29;28;7;2.2;153;12;88;Ano\n");

// Counts progress dialogs that were shown.
class TProgressWatch : public QObject {
public:
    int Shown = 0;
    int Dismissed = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog) return false;
        ++Shown;
        // The loop goes on whatever the user does: Esc and the close button
        // must not hide the dialog as if the work had stopped.
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &esc);
        QCloseEvent close;
        QCoreApplication::sendEvent(dialog, &close);
        if (dialog->wasCanceled() || dialog->isHidden()) ++Dismissed;
        return false;
    }
};

}  // namespace

class TestBatchWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<test::TTestDataDir> FData;
    std::unique_ptr<TZevraModel> FModel;
    std::unique_ptr<test::TScriptedDialogsScope> FDialogs;
    std::unique_ptr<B> w;
    std::unique_ptr<QTemporaryDir> FOut;
    QStringList FOpened;
    B::TFileOpener FPreviousOpener;

    TScriptedDialogs& Dialogs() { return **FDialogs; }
    QString OutFile(const QString& name) const { return FOut->filePath(name); }

    void Load(const QString& path) {
        w->edInputFile->setText(path);
        w->btLoadInput->click();
    }

    void SetProblemsOnly(bool on) {
        if (w->chbProblemsOnly->isChecked() != on) w->chbProblemsOnly->click();
        QCOMPARE(w->chbProblemsOnly->isChecked(), on);
    }

    // The messages shown so far as "caption|text".
    QStringList Messages() const {
        QStringList result;
        for (const auto& r : (**FDialogs).RequestsOf(TType::Message)) result << r.Caption + QLatin1Char('|') + r.Text;
        return result;
    }

    int GridRows() const { return w->dbgInputData->model()->rowCount(); }
    QVariant Background(int viewRow) const {
        return w->dbgInputData->model()->index(viewRow, 0).data(Qt::BackgroundRole);
    }
    int ViewRowOf(const QString& obec) const {
        const auto* model = w->dbgInputData->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == obec) return r;
        return -1;
    }
    void SelectRow(int viewRow) {
        QVERIFY(viewRow >= 0);
        w->dbgInputData->setCurrentIndex(w->dbgInputData->model()->index(viewRow, 1));
    }

private slots:
    void initTestCase() {
        FData = std::make_unique<test::TTestDataDir>();
        FModel = std::make_unique<TZevraModel>(FData->Path());
        FPreviousOpener = B::SetFileOpener([this](const QString& name) { FOpened << name; });
    }
    void cleanupTestCase() { B::SetFileOpener(std::move(FPreviousOpener)); }

    void init() {
        FDialogs = std::make_unique<test::TScriptedDialogsScope>();
        FOut = std::make_unique<QTemporaryDir>();
        FOpened.clear();
        w = std::make_unique<B>(*FModel);
        w->show();
    }
    void cleanup() {
        w.reset();
        FDialogs.reset();
        TDelayedProgress::SetDelay(500);
    }

    void openedWindowLayoutAndCaptions() {
        QCOMPARE(w->windowTitle(), QStringLiteral("Hromadné zpracování"));
        QCOMPARE(w->State(), B::TState::Opened);
        QCOMPARE(w->size(), QSize(692, 79 + 16 + 16 + 35));
        QCOMPARE(w->minimumSize(), w->maximumSize());  // not resizable
        QCOMPARE(w->gbInput->height(), 79);
        QCOMPARE(w->gbPreview->height(), 16);
        QCOMPARE(w->gbOutput->height(), 16);
        QVERIFY(!w->pnPreview_C->isVisible());
        QVERIFY(w->lblErrorCount->text().isEmpty());
        QVERIFY(w->chbProblemsOnly->isChecked());
        QVERIFY(!w->chbOpenOutput->isChecked());
        QVERIFY(!w->InputValid());
        QCOMPARE(w->gbInput->title(), QStringLiteral("Vstupní soubor"));
        QCOMPARE(w->gbPreview->title(), QStringLiteral("Kontrola vstupu"));
        QCOMPARE(w->gbOutput->title(), QStringLiteral("Uložení výsledku"));
        for (QGroupBox* group : {w->gbInput, w->gbPreview, w->gbOutput})
            QCOMPARE(group->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        const QColor normal = QApplication::palette().color(QPalette::WindowText);
        QCOMPARE(w->lblErrorCount->palette().color(QPalette::WindowText), normal);
        QCOMPARE(w->chbOpenOutput->palette().color(QPalette::WindowText), normal);
        QCOMPARE(w->btChooseInput->text(), QStringLiteral("Vybrat soubor..."));
        QCOMPARE(w->btLoadInput->text(), QStringLiteral("Načíst data"));
        QCOMPARE(w->btValidationDetail->text(), QStringLiteral("Detail kontroly dat"));
        QCOMPARE(w->btRunModel->text(), QStringLiteral("Spustit model"));
        QCOMPARE(w->chbProblemsOnly->text(), QStringLiteral("Zobrazit jen problémy"));
        QCOMPARE(w->btChooseOutput->text(), QStringLiteral("Vybrat soubor..."));
        QCOMPARE(w->chbOpenOutput->text(), QStringLiteral("Po uložení zobrazit výsledky"));
        QCOMPARE(w->btSaveOutput->text(), QStringLiteral("Uložit výsledek"));
        QCOMPARE(w->btClose->text(), QStringLiteral("Ukončit"));
        // The file labels are never clipped, the fields start after them.
        for (const char* name : {"lblInputFile", "lblOutputFile"}) {
            const auto* label = w->findChild<QLabel*>(QString::fromLatin1(name));
            QVERIFY(label);
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        }
        QCOMPARE(w->edInputFile->x() + w->edInputFile->width(), 545);
        QCOMPARE(w->edOutputFile->geometry(), w->edInputFile->geometry());
        QVERIFY(w->edInputFile->x() >= 100);
        QCOMPARE(w->shpWarning->size(), QSize(13, 13));
        QVERIFY(w->shpWarning->styleSheet().contains(QColor(255, 255, 153).name()));
        QVERIFY(w->shpError->styleSheet().contains(QColor(255, 153, 153).name()));

        // The grid's columns, titles and widths.
        const QStringList titles{"Obec", "Kraj", "Obyvatel", "Katastr", "Ek.akt. 2001", "Nezaměst. 2001",
                                 "Vyjížďející 2001", "Nadm. v.", "Kraj. město - čas", "Okr. město - km",
                                 "Silnice 1. tř - km", "Podnikatelé 2006", "Rolníci 2006", "Domin. zaměst."};
        const QList<int> widths{120, 100, 70, 75, 64, 80, 80, 50, 64, 64, 64, 64, 80, 64};
        const auto* model = w->dbgInputData->model();
        QCOMPARE(model->columnCount(), titles.size());
        for (int c = 0; c < titles.size(); ++c) {
            QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), titles[c]);
            QCOMPARE(w->dbgInputData->columnWidth(c), widths[c]);
        }
        QCOMPARE(w->dbgInputData->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!w->dbgInputData->verticalHeader()->isHidden());  // the row indicator
    }

    void emptyFileNameAndRunBeforeLoad() {
        w->btLoadInput->click();
        w->btRunModel->click();
        QCOMPARE(Messages(), (QStringList{QStringLiteral("ZEVRAModel|Nebyl vybrán vstupní soubor!"),
                                          QStringLiteral("Error|Vstupní data obsahují chyby!")}));
        QCOMPARE(Dialogs().RequestsOf(TType::Message).back().Kind, TMessageKind::Error);
        QCOMPARE(Dialogs().RequestsOf(TType::Message).front().Placement, TMessagePlacement::OverWindow);
        QCOMPARE(Dialogs().RequestsOf(TType::Message).back().Placement, TMessagePlacement::CornerAtScreenCentre);
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
        w->edInputFile->setText(QStringLiteral("stary.csv"));
        Dialogs().FileAnswers = {QStringLiteral("/data/obce.csv"), std::nullopt};
        w->btChooseInput->click();
        QCOMPARE(w->edInputFile->text(), QStringLiteral("/data/obce.csv"));
        w->btChooseInput->click();  // cancelled: the name stays
        QCOMPARE(w->edInputFile->text(), QStringLiteral("/data/obce.csv"));
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
        w->btChooseOutput->click();
        QCOMPARE(w->edOutputFile->text(), OutFile(QStringLiteral("novy.html")));
        w->btChooseOutput->click();
        QCOMPARE(w->edOutputFile->text(), OutFile(QStringLiteral("novy.html")));
        w->btChooseOutput->click();
        QCOMPARE(w->edOutputFile->text(), existing);
        const auto saves = Dialogs().RequestsOf(TType::SaveFile);
        QCOMPARE(saves.size(), size_t(3));
        QCOMPARE(saves[0].File.Title, QStringLiteral("Vyberte umístění pro výstupní soubor"));
        QCOMPARE(saves[0].File.Filters.size(), size_t(2));
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
        QVERIFY(w->pnPreview_C->isVisible());
        QVERIFY(w->InputValid());
        QCOMPARE(w->lblErrorCount->text(), QStringLiteral("(zjištěno 0 chyb a 4 varování)"));
        QVERIFY(w->lblErrorCount->geometry().left() > 60);  // after the caption, on the frame line
        QVERIFY(w->lblErrorCount->geometry().top() <= 2);

        // Problems only: the four rows with warnings, all light yellow.
        QCOMPARE(GridRows(), 4);
        for (int r = 0; r < 4; ++r) QCOMPARE(Background(r).value<QColor>(), QColor(255, 255, 153));
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
        w->dbgInputData->setFocus();
        const QImage image = w->dbgInputData->viewport()->grab().toImage();
        const QRect selected = w->dbgInputData->visualRect(w->dbgInputData->model()->index(0, 1));
        const QRect other = w->dbgInputData->visualRect(w->dbgInputData->model()->index(0, 2));
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
        w->btValidationDetail->click();
        w->dbgInputDataDblClick();
        auto infos = Dialogs().RequestsOf(TType::InfoText);
        QCOMPARE(infos.size(), size_t(2));
        QVERIFY(infos[0].Caption.isEmpty());
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
        w->btValidationDetail->click();
        infos = Dialogs().RequestsOf(TType::InfoText);
        QCOMPARE(infos.size(), size_t(3));
        QCOMPARE(infos[2].Heading, QStringLiteral("Výsledek kontroly dat pro obec Věžnice u Třebíče:"));
        QVERIFY(infos[2].Text.isEmpty());

        // No visible row: nothing opens.
        const QString path = OutFile(QStringLiteral("ciste.csv"));
        WriteBatchFile(path, CleanRow + CleanRow);
        Load(path);
        SetProblemsOnly(true);
        QCOMPARE(w->lblErrorCount->text(), QStringLiteral("(bez chyb a varování)"));
        QCOMPARE(GridRows(), 0);
        Dialogs().Clear();
        w->btValidationDetail->click();
        w->dbgInputDataDblClick();
        QVERIFY(Dialogs().Requests.empty());
    }

    void errorsBlockTheRun() {
        const QString path = OutFile(QStringLiteral("chyba.csv"));
        WriteBatchFile(path, CleanRow + ErrorRow + CleanRow);
        Load(path);
        QCOMPARE(w->State(), B::TState::Loaded);
        QVERIFY(!w->InputValid());
        QCOMPARE(w->lblErrorCount->text(), QStringLiteral("(zjištěno 1 chyb a 0 varování)"));
        QCOMPARE(GridRows(), 1);
        QCOMPARE(Background(0).value<QColor>(), QColor(255, 153, 153));
        w->btRunModel->click();
        QCOMPARE(Messages(), QStringList{QStringLiteral("Error|Vstupní data obsahují chyby!")});
        QCOMPARE(w->State(), B::TState::Loaded);
        QCOMPARE(w->Batch().OutputData().RowCount(), std::size_t(0));

        // Unchecking lists all rows: the error row red, the others plain.
        SetProblemsOnly(false);
        QCOMPARE(GridRows(), 3);
        QVERIFY(!Background(0).isValid());
        QCOMPARE(Background(1).value<QColor>(), QColor(255, 153, 153));
        QVERIFY(!Background(2).isValid());
    }

    void cleanFileRunsAndSaves() {
        const QString path = OutFile(QStringLiteral("ciste.csv"));
        WriteBatchFile(path, CleanRow + CleanRow);
        Load(path);
        QCOMPARE(w->lblErrorCount->text(), QStringLiteral("(bez chyb a varování)"));
        QCOMPARE(GridRows(), 0);
        w->btRunModel->click();
        QVERIFY(Dialogs().Requests.empty());
        QCOMPARE(w->State(), B::TState::Run);
        QCOMPARE(w->height(), 79 + 278 + 94 + 35);
        QCOMPARE(w->Batch().OutputData().RowCount(), std::size_t(2));

        // Saving without a name, to a folder that does not exist, then for
        // real: only the written file is shown.
        w->chbOpenOutput->setChecked(true);
        w->btSaveOutput->click();
        w->edOutputFile->setText(OutFile(QStringLiteral("chybi/vysledek.html")));
        w->btSaveOutput->click();
        const QStringList messages = Messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[0], QStringLiteral("ZEVRAModel|Nebyl vybrán cílový soubor!"));
        QVERIFY(messages[1].startsWith(QStringLiteral("ZEVRAModel|")));
        QVERIFY(FOpened.isEmpty());
        QVERIFY(!QFile::exists(OutFile(QStringLiteral("chybi/vysledek.html"))));

        const QString target = OutFile(QStringLiteral("vysledek.html"));
        w->edOutputFile->setText(QStringLiteral("  ") + target + QStringLiteral(" "));
        w->btSaveOutput->click();
        QCOMPARE(FOpened, QStringList{target});
        QCOMPARE(ReadAll(target).toStdString(), w->Batch().HtmlOutputBytes());

        // Unchecked: saved, not shown. A new load from Run goes back to Loaded.
        w->chbOpenOutput->setChecked(false);
        w->btSaveOutput->click();
        QCOMPARE(FOpened.size(), 1);
        Load(path);
        QCOMPARE(w->State(), B::TState::Loaded);
        QCOMPARE(w->Batch().OutputData().RowCount(), std::size_t(2));  // until the next run
    }

    void faultyFirstLoad() {
        Load(test::ExampleFile(QStringLiteral("obce-chybne.csv")));
        const auto composites = Dialogs().RequestsOf(TType::Composite);
        QCOMPARE(composites.size(), size_t(1));
        QCOMPARE(Dialogs().Requests.size(), size_t(1));
        const QStringList& lines = composites[0].Lines;
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("Řádek 10: Chybný počet údajů na řádku (15 místo 16)!"));
        QVERIFY(lines[1].startsWith(QStringLiteral("Řádek 12: ")));
        QVERIFY(lines[2].startsWith(QStringLiteral("Řádek 13: ")));
        QVERIFY(lines[3].startsWith(QStringLiteral("Řádek 14: ")));
        QCOMPARE(lines[4], QStringLiteral("Řádek 15: Chybný počet údajů na řádku (17 místo 16)!"));
        // Nothing else changed: no validation, no layout change; the rows stay.
        QCOMPARE(w->State(), B::TState::Opened);
        QCOMPARE(w->height(), 146);
        QVERIFY(!w->pnPreview_C->isVisible());
        QVERIFY(w->lblErrorCount->text().isEmpty());
        QVERIFY(!w->InputValid());
        QCOMPARE(w->Batch().InputData().RowCount(), std::size_t(9));
        w->btRunModel->click();
        QCOMPARE(Messages(), QStringList{QStringLiteral("Error|Vstupní data obsahují chyby!")});
    }

    void faultyLoadAfterGoodOne() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        w->btRunModel->click();
        QCOMPARE(w->State(), B::TState::Run);
        const std::size_t earlierResults = w->Batch().OutputData().RowCount();
        Load(test::ExampleFile(QStringLiteral("obce-chybne.csv")));
        QCOMPARE(Dialogs().RequestsOf(TType::Composite).size(), size_t(1));
        QCOMPARE(w->State(), B::TState::Run);
        QCOMPARE(w->Batch().InputData().RowCount(), std::size_t(9));
        QCOMPARE(GridRows(), 0);  // the new rows carry no marks yet
        QVERIFY(w->lblErrorCount->text().isEmpty());  // the earlier file's counts went with its rows

        // The earlier file's verdict does not carry over to rows that were
        // never checked: the run refuses and the earlier results stay.
        QVERIFY(!w->InputValid());
        w->btRunModel->click();
        QCOMPARE(Messages(), QStringList{QStringLiteral("Error|Vstupní data obsahují chyby!")});
        QCOMPARE(w->Batch().OutputData().RowCount(), earlierResults);
    }

    void progressDialogGivesSameResults() {
        QString text;
        for (int i = 0; i < 400; ++i) text += i % 7 == 0 ? ErrorRow : CleanRow;
        text += QStringLiteral("x;1\n");  // one faulty line
        const QString path = OutFile(QStringLiteral("velky.csv"));
        WriteBatchFile(path, text);
        QString good;
        for (int i = 0; i < 400; ++i) good += CleanRow;
        const QString goodPath = OutFile(QStringLiteral("velky-dobry.csv"));
        WriteBatchFile(goodPath, good);

        const auto runAll = [&] {
            Load(path);
            Load(goodPath);
            w->btRunModel->click();
            return w->Batch().HtmlOutputBytes() + w->lblErrorCount->text().toStdString();
        };
        const std::string quiet = runAll();
        const QStringList quietLines = Dialogs().RequestsOf(TType::Composite).at(0).Lines;

        TProgressWatch watch;
        qApp->installEventFilter(&watch);
        TDelayedProgress::SetDelay(0);
        Dialogs().Clear();
        const std::string shown = runAll();
        qApp->removeEventFilter(&watch);
        QVERIFY(watch.Shown >= 4);  // two loads, their validation, the run
        QCOMPARE(watch.Dismissed, 0);
        QCOMPARE(shown, quiet);
        QCOMPARE(Dialogs().RequestsOf(TType::Composite).at(0).Lines, quietLines);
        QCOMPARE(w->State(), B::TState::Run);
    }

    void shippedExamplesFromLoadToHtml() {
        // obce.csv: chosen, loaded, run, target chosen, saved and shown.
        Dialogs().FileAnswers = {test::ExampleFile(QStringLiteral("obce.csv")), OutFile(QStringLiteral("obce.html"))};
        w->btChooseInput->click();
        w->btLoadInput->click();
        w->btRunModel->click();
        w->btChooseOutput->click();
        w->chbOpenOutput->click();
        w->btSaveOutput->click();
        QVERIFY(Messages().isEmpty());
        QCOMPARE(FOpened, QStringList{OutFile(QStringLiteral("obce.html"))});
        const QByteArray html = ReadAll(OutFile(QStringLiteral("obce.html")));
        QVERIFY(html.startsWith("<html>") && html.endsWith("</html>"));
        QCOMPARE(html.count("<tr>"), 31);  // header and 30 municipalities
        QVERIFY(!html.contains('\n') && !html.contains('\r'));
        QVERIFY(html.contains(QByteArray::fromStdString(Utf8ToCp1250("<td>Věžnice u Třebíče</td>"))));

        // obce-chybne.csv: the problem list instead of results; its rows were
        // never checked, so the run is refused.
        Dialogs().FileAnswers = {test::ExampleFile(QStringLiteral("obce-chybne.csv"))};
        w->btChooseInput->click();
        w->btLoadInput->click();
        QCOMPARE(Dialogs().RequestsOf(TType::Composite).size(), size_t(1));
        QCOMPARE(Dialogs().RequestsOf(TType::Composite)[0].Lines.size(), 5);
        w->btRunModel->click();
        QCOMPARE(Messages().at(0), QStringLiteral("Error|Vstupní data obsahují chyby!"));

        // Its faulty lines repaired, the same rows run through to the HTML.
        QString repaired = QString::fromStdString(Cp1250ToUtf8(
            ReadAll(test::ExampleFile(QStringLiteral("obce-chybne.csv"))).toStdString()));
        QStringList lines = repaired.split(QStringLiteral("\r\n"));
        lines[9] += QStringLiteral(";Ano");
        lines[11].replace(QStringLiteral("599.95 ha"), QStringLiteral("599.95"));
        lines[12].replace(QStringLiteral("24O0"), QStringLiteral("2400"));
        lines[13].replace(QStringLiteral("283.5"), QStringLiteral("283"));
        lines[14].replace(QStringLiteral(";navíc"), QString());
        lines[15].replace(QStringLiteral("587;309;321"), QStringLiteral("587;309;21"));
        const QString fixedPath = OutFile(QStringLiteral("obce-opravene.csv"));
        WriteBatchFile(fixedPath, lines.join(QLatin1Char('\n')));
        Dialogs().Clear();
        FOpened.clear();
        Dialogs().FileAnswers = {fixedPath, OutFile(QStringLiteral("opravene.html"))};
        w->btChooseInput->click();
        w->btLoadInput->click();
        QVERIFY(w->InputValid());
        w->btRunModel->click();
        w->btChooseOutput->click();
        w->btSaveOutput->click();
        QVERIFY(Messages().isEmpty());
        QCOMPARE(ReadAll(OutFile(QStringLiteral("opravene.html"))).count("<tr>"), 10);
        QCOMPARE(FOpened.size(), 1);
    }

    void closeButton() {
        w->btClose->click();
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!w->isVisible());
    }

    void wizardButtonOpensWindowAndRestarts() {
        TfrmMain main(FData->Path());
        main.SetBatchProcessing([](QWidget&, TZevraModel& model) { TfrmBatchProcessing::ShowBatchProcessing(model); });
        main.show();
        main.pcPages->setCurrentIndex(TfrmMain::tsInputData1);
        main.edNazevObce->setText(QStringLiteral("Něco"));
        QString seenTitle;
        QSize seenSize;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            seenTitle = modal->windowTitle();
            seenSize = modal->size();
            if (auto* batch = qobject_cast<QDialog*>(modal)) batch->reject();
        });
        main.btBatchProcessing->click();
        QCOMPARE(seenTitle, QStringLiteral("Hromadné zpracování"));
        QCOMPARE(seenSize, QSize(692, 146));
        QCOMPARE(main.ActivePage(), int(TfrmMain::tsWelcome));
        QVERIFY(main.edNazevObce->text().isEmpty());
        QVERIFY(Dialogs().RequestsOf(TType::YesNo).empty());
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
