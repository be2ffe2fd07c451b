// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The input pages, the validation page, the municipality lookup and the input
// data file of TfrmMain.
#include "model/u_format.h"
#include "model/u_limits.h"
#include "model/u_object.h"
#include "gui/u_dialogs.h"
#include "gui/u_gui_functions.h"
#include "ui/u_main.h"
#include "ui/u_numedit.h"
#include "gui/u_palette.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>


namespace zevra {

namespace {

constexpr int NumberFieldWidth = 100;

// The light yellow note at the top of every input page.
QFrame* MakeInputNote(QWidget* page) {
    auto* panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("pnInputNote"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FillMeaningBackground(panel, ColorLightYellowPanel);
    auto* text = new QLabel(QStringLiteral("Zadejte prosím informace o Vaši obci (městysu, městu). Není-li uvedeno "
                                           "jinak, zadejte aktuální nebo nejnovější dostupné hodnoty."),
                            panel);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 5, 8, 5);
    layout->addWidget(text);
    return panel;
}

TNumberEdit* MakeNumberField(const char* name, QWidget* parent) {
    auto* field = new TNumberEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setFixedWidth(NumberFieldWidth);
    return field;
}

// The name of a field as its label gives it, without the colon and the
// note mark: what a screen reader says and what an error line names.
QString FieldName(const QString& labelText) {
    QString name = labelText.trimmed();
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char('*'))) name.chop(1);
    return name;
}

// The error of a number field, beside it from the moment its text is not a
// value of the field until it is corrected.
QLabel* MakeFieldError(TNumberEdit* field) {
    auto* label = new QLabel;
    label->setObjectName(field->objectName() + QStringLiteral("Chyba"));
    label->setWordWrap(true);
    label->setContentsMargins(4, 1, 4, 1);
    FillMeaningBackground(label, ColorErrorBackground);
    label->hide();
    QObject::connect(field, &TNumberEdit::InputErrorChanged, label, [label](const QString& error) {
        label->setText(error);
        label->setVisible(!error.isEmpty());
    });
    return label;
}

// A label right-aligned to its field in column 0, the field in column 1; a
// number field's error in column 2.
void AddRow(QGridLayout* grid, const QString& labelText, QWidget* field, QWidget* extra = nullptr) {
    const int row = grid->rowCount();
    auto* label = new QLabel(labelText);
    label->setBuddy(field);
    field->setAccessibleName(FieldName(labelText));
    if (auto* number = qobject_cast<TNumberEdit*>(field)) grid->addWidget(MakeFieldError(number), row, 2);
    grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    if (extra) {
        auto* box = new QHBoxLayout;
        box->setSpacing(6);
        box->addWidget(field);
        box->addWidget(extra);
        box->addStretch();
        grid->addLayout(box, row, 1);
    } else {
        grid->addWidget(field, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

QGridLayout* MakeGrid() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    // Column 2 takes the spare width, so that a long note under a field
    // does not widen the field column.
    grid->setColumnStretch(2, 1);
    return grid;
}

QVBoxLayout* MakePageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    // Tight enough that the fields of page 1 fit the design size unscrolled.
    layout->setContentsMargins(6, 4, 6, 2);
    layout->setSpacing(5);
    layout->addWidget(MakeInputNote(page));
    return layout;
}

void UncheckBoth(QRadioButton* first, QRadioButton* second) {
    for (QRadioButton* button : {first, second}) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

}  // namespace

QWidget* TfrmMain::BuildInputPage1() {
    auto* page = new QWidget;
    QVBoxLayout* layout = MakePageLayout(page);
    auto* grid = MakeGrid();
    edNazevObce = new QLineEdit(page);
    edNazevObce->setObjectName(QStringLiteral("edNazevObce"));
    edNazevObce->setFixedWidth(260);
    cbKraj = new QComboBox(page);
    cbKraj->setObjectName(QStringLiteral("cbKraj"));
    cbKraj->setEditable(false);
    cbKraj->setFixedWidth(260);
    edKodObce = MakeNumberField("edKodObce", page);
    btKodLookup = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Vyhledat"), page);
    btKodLookup->setObjectName(QStringLiteral("btKodLookup"));
    btKodLookup->setAutoDefault(false);
    edObyvateleCelkem = MakeNumberField("edObyvateleCelkem", page);
    AddRow(grid, QStringLiteral("Název obce:"), edNazevObce);
    AddRow(grid, QStringLiteral("Kraj:"), cbKraj);
    AddRow(grid, QStringLiteral("Kód (ZÚJ):"), edKodObce, btKodLookup);
    AddRow(grid, QStringLiteral("Počet obyvatel:"), edObyvateleCelkem);
    layout->addLayout(grid);

    auto* census = new QGroupBox(QStringLiteral("Údaje ze Sčítání lidu, domů a bytů 2001"), page);
    census->setObjectName(QStringLiteral("gbSLDB2001"));
    auto* censusGrid = MakeGrid();
    edObyvateleEA = MakeNumberField("edObyvateleEA", census);
    edObyvateleNezamestnani = MakeNumberField("edObyvateleNezamestnani", census);
    edObyvateleVyjizdejici = MakeNumberField("edObyvateleVyjizdejici", census);
    AddRow(censusGrid, QStringLiteral("Počet ekonomicky aktivních obyvatel:"), edObyvateleEA);
    AddRow(censusGrid, QStringLiteral("z toho nezaměstnaných:"), edObyvateleNezamestnani);
    AddRow(censusGrid, QStringLiteral("vyjíždějících za prací mimo obec (ne žáci či studenti):"), edObyvateleVyjizdejici);
    census->setLayout(censusGrid);
    SetGroupCaptionColor(census, ColorMaroon);
    layout->addWidget(census);
    layout->addStretch();

    btLoadInputData = new QPushButton(QStringLiteral("Načíst vstupní data ze souboru..."), page);
    btLoadInputData->setObjectName(QStringLiteral("btLoadInputData"));
    btLoadInputData->setAutoDefault(false);
    btBatchProcessing = new QPushButton(QStringLiteral("Hromadné zpracování..."), page);
    btBatchProcessing->setObjectName(QStringLiteral("btBatchProcessing"));
    btBatchProcessing->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btLoadInputData);
    buttons->addWidget(btBatchProcessing);
    layout->addLayout(buttons);
    return page;
}

QWidget* TfrmMain::BuildInputPage2() {
    auto* page = new QWidget;
    QVBoxLayout* layout = MakePageLayout(page);
    auto* grid = MakeGrid();
    edNadmorskaVyska = MakeNumberField("edNadmorskaVyska", page);
    edKatastrCelkem = MakeNumberField("edKatastrCelkem", page);
    edKrajskeMestoMin = MakeNumberField("edKrajskeMestoMin", page);
    edOkresniMestoKm = MakeNumberField("edOkresniMestoKm", page);
    edSilnice1TridyKm = MakeNumberField("edSilnice1TridyKm", page);
    AddRow(grid, QStringLiteral("Průměrná nadmořská výška obce [m.n.m.]:"), edNadmorskaVyska);
    AddRow(grid, QStringLiteral("Velikost katastru [ha]:"), edKatastrCelkem);
    AddRow(grid, QStringLiteral("Dojížďkový čas do krajského města [minuty]:"), edKrajskeMestoMin);
    AddRow(grid, QStringLiteral("Dojížďková vzdálenost od okresního města [km]:"), edOkresniMestoKm);
    AddRow(grid, QStringLiteral("Nejbližší možnost napojění na silnici 1. tř. nebo vyšší [km]:"), edSilnice1TridyKm);

    rbVodovodAno = new QRadioButton(QStringLiteral("Ano"), page);
    rbVodovodAno->setObjectName(QStringLiteral("rbVodovodAno"));
    rbVodovodNe = new QRadioButton(QStringLiteral("Ne"), page);
    rbVodovodNe->setObjectName(QStringLiteral("rbVodovodNe"));
    auto* water = new QVBoxLayout;
    water->setSpacing(2);
    water->addWidget(rbVodovodAno);
    water->addWidget(rbVodovodNe);
    const int row = grid->rowCount();
    const QString question = QStringLiteral("Je obec napojena na dálkový vodovod?");
    grid->addWidget(new QLabel(question), row, 0, Qt::AlignRight | Qt::AlignTop);
    // A screen reader meets the two buttons without the label beside them.
    for (QRadioButton* answer : {rbVodovodAno, rbVodovodNe})
        answer->setAccessibleName(question + QLatin1Char(' ') + answer->text());
    grid->addLayout(water, row, 1);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* TfrmMain::BuildInputPage3() {
    auto* page = new QWidget;
    QVBoxLayout* layout = MakePageLayout(page);
    auto* grid = MakeGrid();
    edPodnikateleCelkem = MakeNumberField("edPodnikateleCelkem", page);
    edPodnikateleRolnici = MakeNumberField("edPodnikateleRolnici", page);
    edDominantniZamestnavatel = MakeNumberField("edDominantniZamestnavatel", page);
    AddRow(grid, QStringLiteral("Počet podnikatelských subjektů celkem*:"), edPodnikateleCelkem);
    AddRow(grid, QStringLiteral("Z toho samostatně hospodařících rolníků*:"), edPodnikateleRolnici);
    auto* note = new QLabel(QStringLiteral("* - oba údaje by měly být ke stejnému datu"), page);
    note->setObjectName(QStringLiteral("lblPodnikateleNote"));
    // One line, as a note of two lines reads as two notes. Under the fields
    // alone it does not fit beside the long labels of this page, so it may
    // use the whole row and ends at the page's right edge.
    note->setWordWrap(false);
    grid->addWidget(note, grid->rowCount(), 0, 1, 3, Qt::AlignRight | Qt::AlignVCenter);
    grid->setRowMinimumHeight(grid->rowCount(), 10);
    AddRow(grid, QStringLiteral("Kolik zaměstnanců má největší zaměstnavatel v obci:"), edDominantniZamestnavatel);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* TfrmMain::BuildValidationPage() {
    auto* page = new QWidget;
    mmInputValidation = new QPlainTextEdit(page);
    mmInputValidation->setObjectName(QStringLiteral("mmInputValidation"));
    mmInputValidation->setReadOnly(true);
    mmInputValidation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmInputValidation->setFont(SansFont(10));
    mmInputValidation->setAccessibleName(QStringLiteral("Kontrola vstupu"));
    btSaveInputData = new QPushButton(QStringLiteral("Uložit vstupní data do souboru..."), page);
    btSaveInputData->setObjectName(QStringLiteral("btSaveInputData"));
    btSaveInputData->setAutoDefault(false);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(mmInputValidation, 1);
    layout->addWidget(btSaveInputData, 0, Qt::AlignHCenter);
    return page;
}

void TfrmMain::SetupInputPage1() {
    edKodObce->SetDisplayFormat(QStringLiteral("0"));
    edKodObce->SetDecimals(0);
    edKodObce->SetRange(0, 0);
    for (TNumberEdit* field : {edObyvateleCelkem, edObyvateleEA, edObyvateleNezamestnani, edObyvateleVyjizdejici}) {
        field->SetDisplayFormat(QStringLiteral(",0"));
        field->SetDecimals(0);
        field->SetRange(0, limits::kMaxPersons);
    }
    cbKraj->clear();
    cbKraj->addItem(QStringLiteral("--- vyberte ---"));
    for (const TZevraKraj& kraj : FModel->Kraje()) cbKraj->addItem(ToQ(kraj.Nazev), QVariant(kraj.Region));
    cbKraj->setCurrentIndex(0);
}

void TfrmMain::SetupInputPage2() {
    const struct {
        TNumberEdit* Field;
        const char* Format;
        int Decimals;
        double Max;
    } setups[] = {{edNadmorskaVyska, ",0", 1, limits::kAltitudeFieldMax},
                  {edKatastrCelkem, ",0.000", 3, limits::kMaxCadastre},
                  {edKrajskeMestoMin, ",0", 0, limits::kMaxTravelMinutes},
                  {edOkresniMestoKm, ",0", 0, limits::kMaxDistrictKm},
                  // Three decimals: every whole metre of the input shows, and
                  // a loaded distance is saved as it came.
                  {edSilnice1TridyKm, ",0.0", 3, limits::kRoadFieldMaxKm}};
    for (const auto& setup : setups) {
        setup.Field->SetDisplayFormat(QString::fromLatin1(setup.Format));
        setup.Field->SetDecimals(setup.Decimals);
        setup.Field->SetRange(0, setup.Max);
    }
}

void TfrmMain::SetupInputPage3() {
    for (TNumberEdit* field : {edPodnikateleCelkem, edPodnikateleRolnici}) {
        field->SetDisplayFormat(QStringLiteral(",0"));
        field->SetDecimals(0);
        field->SetRange(0, limits::kMaxBusinesses);
    }
    edDominantniZamestnavatel->SetDisplayFormat(QStringLiteral(",0"));
    edDominantniZamestnavatel->SetDecimals(0);
    edDominantniZamestnavatel->SetRange(0, limits::kEmployerFieldMax);
}

std::vector<TNumberEdit*> TfrmMain::NumberFields() const {
    return {edKodObce,        edObyvateleCelkem, edObyvateleEA,       edObyvateleNezamestnani,
            edObyvateleVyjizdejici, edNadmorskaVyska, edKatastrCelkem, edKrajskeMestoMin,
            edOkresniMestoKm, edSilnice1TridyKm, edPodnikateleCelkem, edPodnikateleRolnici,
            edDominantniZamestnavatel};
}

void TfrmMain::ClearInputs() {
    edNazevObce->clear();
    FNazevObceOnEnter.clear();
    for (TNumberEdit* field : NumberFields()) field->SetValue(0);
    cbKraj->setCurrentIndex(0);
    UncheckBoth(rbVodovodAno, rbVodovodNe);
}

std::vector<QWidget*> TfrmMain::LockableControls() const {
    return {edNazevObce,      edKodObce,          btKodLookup,       edObyvateleCelkem, edObyvateleEA,
            edObyvateleNezamestnani, edObyvateleVyjizdejici, cbKraj, edNadmorskaVyska, edKatastrCelkem,
            edKrajskeMestoMin, edOkresniMestoKm,  edSilnice1TridyKm, rbVodovodAno,      rbVodovodNe,
            edPodnikateleCelkem, edPodnikateleRolnici, edDominantniZamestnavatel, btLoadInputData};
}

void TfrmMain::LockInputs() {
    for (QWidget* control : LockableControls()) SetControlEnabled(control, false, WindowColor());
}

void TfrmMain::UnlockInputs() {
    for (QWidget* control : LockableControls()) SetControlEnabled(control, true, WindowColor());
}

void TfrmMain::ControlsToInput() {
    TZevraInputData& input = FModel->Input();
    input.Obec = Trim(FromQ(edNazevObce->text()));
    const QVariant region = cbKraj->currentIndex() >= 0 ? cbKraj->currentData() : QVariant();
    input.Kraj = region.isValid() ? region.toInt() : -1;
    input.Kod = SaturateToInt32(edKodObce->Value());
    input.ObyvateleCelkem = SaturateToInt32(edObyvateleCelkem->Value());
    input.ObyvateleEA = SaturateToInt32(edObyvateleEA->Value());
    input.ObyvateleNezamestnani = SaturateToInt32(edObyvateleNezamestnani->Value());
    input.ObyvateleVyjizdejici = SaturateToInt32(edObyvateleVyjizdejici->Value());
    input.NadmVyska = edNadmorskaVyska->Value();
    input.KatastrCelkem = edKatastrCelkem->Value();
    input.KrMestoMin = SaturateToInt32(edKrajskeMestoMin->Value());
    input.OkrMestoKm = SaturateToInt32(edOkresniMestoKm->Value());
    input.Silnice1TrM = KmToMetres(edSilnice1TridyKm->Value());
    input.DominantniZamestnavatel = SaturateToInt32(edDominantniZamestnavatel->Value());
    input.PodnikateleCelkem2006 = SaturateToInt32(edPodnikateleCelkem->Value());
    input.PodnikateleRolnici2006 = SaturateToInt32(edPodnikateleRolnici->Value());
    input.Vodovod = rbVodovodAno->isChecked() ? TTriBool::tbTrue
                    : rbVodovodNe->isChecked() ? TTriBool::tbFalse
                                               : TTriBool::tbUnknown;
}

void TfrmMain::InputToControls() {
    const TZevraInputData& input = FModel->Input();
    edNazevObce->setText(ToQ(input.Obec));
    // The program, not the user, changed the name: leaving the field must
    // not forget the code that came with it.
    if (FInNazevObce) FNazevObceOnEnter = Trim(input.Obec);
    SelectKraj(input.Kraj);
    edKodObce->SetValue(input.Kod);
    edObyvateleCelkem->SetValue(input.ObyvateleCelkem);
    edObyvateleEA->SetValue(input.ObyvateleEA);
    edObyvateleNezamestnani->SetValue(input.ObyvateleNezamestnani);
    edObyvateleVyjizdejici->SetValue(input.ObyvateleVyjizdejici);
    edNadmorskaVyska->SetValue(input.NadmVyska);
    edKatastrCelkem->SetValue(input.KatastrCelkem);
    edKrajskeMestoMin->SetValue(input.KrMestoMin);
    edOkresniMestoKm->SetValue(input.OkrMestoKm);
    edSilnice1TridyKm->SetValue(input.Silnice1TrM / 1000.0);
    edDominantniZamestnavatel->SetValue(input.DominantniZamestnavatel);
    edPodnikateleCelkem->SetValue(input.PodnikateleCelkem2006);
    edPodnikateleRolnici->SetValue(input.PodnikateleRolnici2006);
    UncheckBoth(rbVodovodAno, rbVodovodNe);
    if (input.Vodovod == TTriBool::tbTrue) rbVodovodAno->setChecked(true);
    if (input.Vodovod == TTriBool::tbFalse) rbVodovodNe->setChecked(true);
}

void TfrmMain::SelectKraj(int region) {
    for (int i = 0; i < cbKraj->count(); ++i) {
        const QVariant data = cbKraj->itemData(i);
        if (data.isValid() && data.toInt() == region) {
            cbKraj->setCurrentIndex(i);
            return;
        }
    }
    // A region that is not in the list (or none, -1) must not leave the one
    // chosen before selected: the next save would write it.
    cbKraj->setCurrentIndex(0);
}

void TfrmMain::edNazevObceEnter() { FNazevObceOnEnter = Trim(FromQ(edNazevObce->text())); }

void TfrmMain::edNazevObceExit() {
    const std::string name = FromQ(edNazevObce->text());
    if (!SameStr(Trim(name), FNazevObceOnEnter)) edKodObce->SetValue(0);
    btKodLookup->setEnabled(!IsBlank(name));
}

void TfrmMain::btKodLookupClick() {
    const std::vector<const TZevraMunicipalityInfo*> found =
        FModel->FindMunicipalities(Trim(FromQ(edNazevObce->text())));
    if (found.empty()) {
        ShowWarning(QStringLiteral("Obec s tímto názvem nebyla nalezena v seznamu obcí ČR"));
    } else if (found.size() == 1) {
        edKodObce->SetValue(found.front()->Kod);
    } else if (found.size() >= 15) {
        ShowWarning(QStringLiteral("Tomuto názvu vyhovuje přliš mnoho obcí, prosím upřesněte"));
    } else {
        QStringList lines;
        for (const TZevraMunicipalityInfo* info : found)
            lines << ToQ(info->Obec) + QStringLiteral(" (okr. ") + ToQ(info->Okres) + QLatin1Char(')');
        const int chosen = Dialogs().ShowChoice(
            QStringLiteral("Výběr obce"),
            QStringLiteral("Podle názvu připadá do úvahy více možností. Vyberte prosím, o kterou obec se jedná"), lines,
            0);
        if (chosen >= 0 && chosen < static_cast<int>(found.size())) edKodObce->SetValue(found[chosen]->Kod);
    }
}

void TfrmMain::SetValidationColor(const QColor& color) { SetMeaningColor(mmInputValidation, color); }

std::vector<std::string> TfrmMain::FieldErrors() const {
    std::vector<std::string> errors;
    for (const TNumberEdit* field : NumberFields())
        if (field->HasInputError())
            errors.push_back(FromQ(QStringLiteral("CHYBA: ") + field->accessibleName() + QStringLiteral(" - ") +
                                   field->InputError()));
    return errors;
}

void TfrmMain::ShowValidation() {
    ControlsToInput();
    mmInputValidation->clear();
    SetBaseColor(mmInputValidation, WindowColor());
    FModel->Validate(&FErrors, &FWarnings);
    // A number a field cannot keep is not in the input at all: it is an
    // error of its own, first, and blocks the evaluation.
    const std::vector<std::string> fieldErrors = FieldErrors();
    FErrors.insert(FErrors.begin(), fieldErrors.begin(), fieldErrors.end());
    QStringList lines;
    if (!FErrors.empty()) {
        SetValidationColor(ColorErrorBackground);
    } else if (!FWarnings.empty()) {
        SetValidationColor(ColorWarningBackground);
    } else {
        SetValidationColor(ColorOkBackground);
        lines << QStringLiteral("Vstupní data prošla kontrolou bez chyb nebo varování.");
    }
    if (!FErrors.empty()) {
        lines << QStringLiteral("Ve vstupních datech bylo nalezeno %1 chyb! Model nelze vyhodnotit.")
                     .arg(ToQ(FormatInt(static_cast<long long>(FErrors.size()))));
        for (const std::string& line : FErrors) lines << ToQ(line);
        lines << QString();
    }
    if (!FWarnings.empty()) {
        lines << QStringLiteral("Ve vstupních datech bylo nalezeno %1 upozornění. Model lze vyhodnotit, ale výsledky "
                                "mohou být zkreslené.")
                     .arg(ToQ(FormatInt(static_cast<long long>(FWarnings.size()))));
        for (const std::string& line : FWarnings) lines << ToQ(line);
        lines << QString();
    }
    mmInputValidation->setPlainText(lines.join(QLatin1Char('\n')));
}




}  // namespace zevra
