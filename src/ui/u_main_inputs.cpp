// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The input pages, the validation page, the municipality lookup and the input
// data file of TfrmMain.
#include "model/u_format.h"
#include "model/u_inputfields.h"
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

#include <stdexcept>


namespace zevra {

namespace {

constexpr int NumberFieldWidth = 100;

// The light yellow note at the top of every input page.
QFrame* MakeInputNote(QWidget* page) {
    auto* panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("pnInputNote"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FillMeaningBackground(panel, ColorLightYellowPanel);
    auto* text = new QLabel(ToQ(kFormPageNote), panel);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 5, 8, 5);
    layout->addWidget(text);
    return panel;
}

// The form table's row of a control (the table names the controls).
const TFormField& FormFieldOf(const QWidget* control) {
    const std::string name = FromQ(control->objectName());
    for (std::size_t i = 0; i < kFormFieldCount; ++i)
        if (name == kFormFields[i].ObjectName) return kFormFields[i];
    throw std::logic_error("no form field for " + name);
}

TNumberEdit* MakeNumberField(const char* name, QWidget* parent) {
    auto* field = new TNumberEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setFixedWidth(NumberFieldWidth);
    return field;
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

// The field's label from the form table, right-aligned to it in column 0,
// the field in column 1; a number field's error in column 2.
void AddRow(QGridLayout* grid, QWidget* field, QWidget* extra = nullptr) {
    const int row = grid->rowCount();
    const TFormField& formField = FormFieldOf(field);
    auto* label = new QLabel(ToQ(formField.Label));
    label->setBuddy(field);
    field->setAccessibleName(ToQ(FormFieldName(formField)));
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
    AddRow(grid, edNazevObce);
    AddRow(grid, cbKraj);
    AddRow(grid, edKodObce, btKodLookup);
    AddRow(grid, edObyvateleCelkem);
    layout->addLayout(grid);

    auto* census = new QGroupBox(page);
    census->setObjectName(QStringLiteral("gbSLDB2001"));
    auto* censusGrid = MakeGrid();
    edObyvateleEA = MakeNumberField("edObyvateleEA", census);
    edObyvateleNezamestnani = MakeNumberField("edObyvateleNezamestnani", census);
    edObyvateleVyjizdejici = MakeNumberField("edObyvateleVyjizdejici", census);
    census->setTitle(ToQ(FormFieldOf(edObyvateleEA).Group));
    AddRow(censusGrid, edObyvateleEA);
    AddRow(censusGrid, edObyvateleNezamestnani);
    AddRow(censusGrid, edObyvateleVyjizdejici);
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
    AddRow(grid, edNadmorskaVyska);
    AddRow(grid, edKatastrCelkem);
    AddRow(grid, edKrajskeMestoMin);
    AddRow(grid, edOkresniMestoKm);
    AddRow(grid, edSilnice1TridyKm);

    rbVodovodAno = new QRadioButton(ToQ(kYesText), page);
    rbVodovodAno->setObjectName(QStringLiteral("rbVodovodAno"));
    rbVodovodNe = new QRadioButton(ToQ(kNoText), page);
    rbVodovodNe->setObjectName(QStringLiteral("rbVodovodNe"));
    auto* water = new QVBoxLayout;
    water->setSpacing(2);
    water->addWidget(rbVodovodAno);
    water->addWidget(rbVodovodNe);
    const int row = grid->rowCount();
    const QString question = ToQ(FormFieldOf(rbVodovodAno).Label);
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
    AddRow(grid, edPodnikateleCelkem);
    AddRow(grid, edPodnikateleRolnici);
    auto* note = new QLabel(ToQ(FormFieldOf(edPodnikateleRolnici).NoteBelow), page);
    note->setObjectName(QStringLiteral("lblPodnikateleNote"));
    // One line, as a note of two lines reads as two notes. Under the fields
    // alone it does not fit beside the long labels of this page, so it may
    // use the whole row and ends at the page's right edge.
    note->setWordWrap(false);
    grid->addWidget(note, grid->rowCount(), 0, 1, 3, Qt::AlignRight | Qt::AlignVCenter);
    grid->setRowMinimumHeight(grid->rowCount(), 10);
    AddRow(grid, edDominantniZamestnavatel);
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

// The number fields of input page `page` take their format, decimals and
// range from the form table.
static void SetupNumberFields(const std::vector<TNumberEdit*>& fields, int page) {
    for (TNumberEdit* field : fields) {
        const TFormField& formField = FormFieldOf(field);
        if (formField.Page == page) field->SetFormField(&formField);
    }
}

void TfrmMain::SetupInputPage1() {
    SetupNumberFields(NumberFields(), 1);
    cbKraj->clear();
    cbKraj->addItem(ToQ(kNoRegionChoice));
    for (const TZevraKraj& kraj : FModel->Kraje()) cbKraj->addItem(ToQ(kraj.Nazev), QVariant(kraj.Region));
    cbKraj->setCurrentIndex(0);
}

void TfrmMain::SetupInputPage2() { SetupNumberFields(NumberFields(), 2); }

void TfrmMain::SetupInputPage3() { SetupNumberFields(NumberFields(), 3); }

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
    // Each number into its member of the record, as the form table says:
    // whole numbers truncated, the road's kilometres in metres.
    for (const TNumberEdit* field : NumberFields()) {
        const TFormField& formField = *field->FormField();
        const double value = field->Value();
        if (formField.IntMember)
            input.*formField.IntMember = formField.InKilometres() ? KmToMetres(value) : SaturateToInt32(value);
        else if (formField.FloatMember)
            input.*formField.FloatMember = value;
    }
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
    for (TNumberEdit* field : NumberFields()) {
        const TFormField& formField = *field->FormField();
        if (formField.IntMember)
            field->SetValue(formField.InKilometres() ? input.*formField.IntMember / 1000.0 : input.*formField.IntMember);
        else if (formField.FloatMember)
            field->SetValue(input.*formField.FloatMember);
    }
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
        ShowWarning(ToQ(kMunicipalityNotFoundMessage));
    } else if (found.size() == 1) {
        edKodObce->SetValue(found.front()->Kod);
    } else if (found.size() > kMaxMunicipalityChoices) {
        ShowWarning(ToQ(kTooManyMunicipalitiesMessage));
    } else {
        QStringList lines;
        for (const TZevraMunicipalityInfo* info : found)
            lines << ToQ(info->Obec) + QStringLiteral(" (okr. ") + ToQ(info->Okres) + QLatin1Char(')');
        const int chosen =
            Dialogs().ShowChoice(ToQ(kMunicipalityChoiceTitle), ToQ(kMunicipalityChoicePrompt), lines, 0);
        if (chosen >= 0 && chosen < static_cast<int>(found.size())) edKodObce->SetValue(found[chosen]->Kod);
    }
}

void TfrmMain::SetValidationColor(const QColor& color) { SetMeaningColor(mmInputValidation, color); }

std::vector<std::string> TfrmMain::FieldErrors() const {
    std::vector<std::string> errors;
    for (const TNumberEdit* field : NumberFields())
        if (field->HasInputError()) errors.push_back(FormFieldErrorLine(*field->FormField(), FromQ(field->InputError())));
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
    if (!FErrors.empty())
        SetValidationColor(ColorErrorBackground);
    else if (!FWarnings.empty())
        SetValidationColor(ColorWarningBackground);
    else
        SetValidationColor(ColorOkBackground);
    QStringList lines;
    for (const std::string& line : ValidationPageLines(FErrors, FWarnings)) lines << ToQ(line);
    mmInputValidation->setPlainText(lines.join(QLatin1Char('\n')));
}




}  // namespace zevra
