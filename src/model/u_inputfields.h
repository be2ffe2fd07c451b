// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The input form of one municipality, described once: the wizard's three
// input pages and the browser page both build their fields from kFormFields
// (page, group box, label, unit, range, decimals), read a field's typed text
// by the same rules (FormFieldError, FormFieldValue) and show the same texts
// around it (the page note, the region list's first item, the municipality
// lookup's messages, the check page's summary lines).
#pragma once

#include "model/u_inputdata.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

enum class TFormFieldKind {
    fkName,    // text: the municipality's name
    fkRegion,  // a choice among the model's regions
    fkNumber,  // a number field
    fkYesNo,   // two radio buttons, "Ano" and "Ne"
};

struct TFormField {
    const char* Key;         // the key of the field's value; the input data file's key, except the road (km)
    const char* ObjectName;  // the wizard's control (for a yes/no field: the "Ano" button)
    int Page;                // the input page, 1 to 3
    const char* Group;       // the group box it stands in; "" for none
    const char* Label;       // the label, exactly as shown
    const char* Unit;        // "" when the value has none
    TFormFieldKind Kind;
    const char* DisplayFormat;  // number fields: ",0" groups thousands, ".000" shows three decimals
    int Decimals;               // the most decimals the field takes
    double Min;                 // the field's range; Min == Max: none (any value)
    double Max;
    const char* NoteBelow;      // a note shown under the field; "" for none
    // Where the value goes in the input record: an integer or a double
    // member; neither for the name, the region and the water main, which
    // the form handles itself. The road is typed in km and kept in metres
    // (KmToMetres of the text as typed).
    std::int32_t TZevraInputData::*IntMember;
    double TZevraInputData::*FloatMember;

    bool Whole() const { return Decimals == 0; }
    bool HasRange() const { return Min != Max; }
    bool InKilometres() const { return IntMember == &TZevraInputData::Silnice1TrM; }
};

extern const TFormField kFormFields[];
extern const std::size_t kFormFieldCount;
constexpr int kFormPageCount = 3;

// "Vstupní data 1" ... for page 1 ... 3.
const char* FormPageTitle(int page);
// The light yellow note at the top of every input page.
extern const char* const kFormPageNote;
// The region list's first item, which chooses none.
extern const char* const kNoRegionChoice;
// The answers of a yes/no field.
extern const char* const kYesText;
extern const char* const kNoText;

// The field of `key` (compared exactly), or nullptr.
const TFormField* FindFormField(std::string_view key);

// The field's name as its label gives it, without the colon and the note
// mark ("Počet obyvatel"): what a screen reader says and what an error names.
std::string FormFieldName(const TFormField& field);

// Why a number field cannot keep the typed text, or "" when it can. The text
// is digits with at most one decimal point or comma ("12", "4,7", ".5");
// blanks around it, and digits grouped by a space, a no-break space or a
// narrow no-break space are allowed; an empty text is 0.
std::string FormFieldError(const TFormField& field, std::string_view text);
// The value of a text that FormFieldError accepts (nothing otherwise).
std::optional<double> FormFieldValue(const TFormField& field, std::string_view text);
// The error line of a field that cannot keep its text: "CHYBA: <name> - <error>".
std::string FormFieldErrorLine(const TFormField& field, std::string_view error);

// The municipality lookup by name: at most this many found are offered as a
// choice; more ask for a more exact name.
constexpr std::size_t kMaxMunicipalityChoices = 14;
extern const char* const kMunicipalityNotFoundMessage;
extern const char* const kTooManyMunicipalitiesMessage;
extern const char* const kMunicipalityChoiceTitle;
extern const char* const kMunicipalityChoicePrompt;

// The check page's text: a summary line before the errors and one before the
// warnings, each group followed by an empty line; or the one line saying the
// input passed.
std::vector<std::string> ValidationPageLines(const std::vector<std::string>& errors,
                                             const std::vector<std::string>& warnings);

}  // namespace zevra
