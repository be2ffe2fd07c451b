// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_inputfields.h"

#include "model/u_format.h"
#include "model/u_limits.h"
#include "model/u_object.h"

#include <iterator>

namespace zevra {

namespace {

using namespace limits;
using D = TZevraInputData;

constexpr const char* kCensus = "Údaje ze Sčítání lidu, domů a bytů 2001";

}  // namespace

// clang-format off
const TFormField kFormFields[] = {
    {"InputData", "edNazevObce", 1, "", "Název obce:", "", TFormFieldKind::fkName, "", 0, 0, 0, "", nullptr, nullptr},
    {"Kraj", "cbKraj", 1, "", "Kraj:", "", TFormFieldKind::fkRegion, "", 0, 0, 0, "", nullptr, nullptr},
    {"Kod", "edKodObce", 1, "", "Kód (ZÚJ):", "", TFormFieldKind::fkNumber, "0", 0, 0, 0, "", &D::Kod, nullptr},
    {"ObyvateleCelkem", "edObyvateleCelkem", 1, "", "Počet obyvatel:", "", TFormFieldKind::fkNumber, ",0", 0, 0,
     kMaxPersons, "", &D::ObyvateleCelkem, nullptr},
    {"ObyvateleEA", "edObyvateleEA", 1, kCensus, "Počet ekonomicky aktivních obyvatel:", "",
     TFormFieldKind::fkNumber, ",0", 0, 0, kMaxPersons, "", &D::ObyvateleEA, nullptr},
    {"ObyvateleNezamestnani", "edObyvateleNezamestnani", 1, kCensus, "z toho nezaměstnaných:", "",
     TFormFieldKind::fkNumber, ",0", 0, 0, kMaxPersons, "", &D::ObyvateleNezamestnani, nullptr},
    {"ObyvateleVyjizdejici", "edObyvateleVyjizdejici", 1, kCensus,
     "vyjíždějících za prací mimo obec (ne žáci či studenti):", "", TFormFieldKind::fkNumber, ",0", 0, 0,
     kMaxPersons, "", &D::ObyvateleVyjizdejici, nullptr},
    {"NadmVyska", "edNadmorskaVyska", 2, "", "Průměrná nadmořská výška obce [m.n.m.]:", "m.n.m.",
     TFormFieldKind::fkNumber, ",0", 1, 0, kAltitudeFieldMax, "", nullptr, &D::NadmVyska},
    {"KatastrCelkem", "edKatastrCelkem", 2, "", "Velikost katastru [ha]:", "ha", TFormFieldKind::fkNumber,
     ",0.000", 3, 0, kMaxCadastre, "", nullptr, &D::KatastrCelkem},
    {"KrMestoMin", "edKrajskeMestoMin", 2, "", "Dojížďkový čas do krajského města [minuty]:", "minuty",
     TFormFieldKind::fkNumber, ",0", 0, 0, kMaxTravelMinutes, "", &D::KrMestoMin, nullptr},
    {"OkrMestoKm", "edOkresniMestoKm", 2, "", "Dojížďková vzdálenost od okresního města [km]:", "km",
     TFormFieldKind::fkNumber, ",0", 0, 0, kMaxDistrictKm, "", &D::OkrMestoKm, nullptr},
    // Three decimals: every whole metre of the input shows, and a loaded
    // distance is saved as it came.
    {"Silnice1TrKm", "edSilnice1TridyKm", 2, "", "Nejbližší možnost napojění na silnici 1. tř. nebo vyšší [km]:",
     "km", TFormFieldKind::fkNumber, ",0.0", 3, 0, kRoadFieldMaxKm, "", &D::Silnice1TrM, nullptr},
    {"Vodovod", "rbVodovodAno", 2, "", "Je obec napojena na dálkový vodovod?", "", TFormFieldKind::fkYesNo, "", 0,
     0, 0, "", nullptr, nullptr},
    {"PodnikateleCelkem2006", "edPodnikateleCelkem", 3, "", "Počet podnikatelských subjektů celkem*:", "",
     TFormFieldKind::fkNumber, ",0", 0, 0, kMaxBusinesses, "", &D::PodnikateleCelkem2006, nullptr},
    {"PodnikateleRolnici2006", "edPodnikateleRolnici", 3, "", "Z toho samostatně hospodařících rolníků*:", "",
     TFormFieldKind::fkNumber, ",0", 0, 0, kMaxBusinesses, "* - oba údaje by měly být ke stejnému datu",
     &D::PodnikateleRolnici2006, nullptr},
    {"DominantniZamestnavatel", "edDominantniZamestnavatel", 3, "",
     "Kolik zaměstnanců má největší zaměstnavatel v obci:", "", TFormFieldKind::fkNumber, ",0", 0, 0,
     kEmployerFieldMax, "", &D::DominantniZamestnavatel, nullptr},
};
// clang-format on
const std::size_t kFormFieldCount = std::size(kFormFields);

const char* const kFormPageNote =
    "Zadejte prosím informace o Vaši obci (městysu, městu). Není-li uvedeno jinak, zadejte aktuální nebo "
    "nejnovější dostupné hodnoty.";
const char* const kNoRegionChoice = "--- vyberte ---";
const char* const kYesText = "Ano";
const char* const kNoText = "Ne";
const char* const kMunicipalityNotFoundMessage = "Obec s tímto názvem nebyla nalezena v seznamu obcí ČR";
const char* const kTooManyMunicipalitiesMessage = "Tomuto názvu vyhovuje přliš mnoho obcí, prosím upřesněte";
const char* const kMunicipalityChoiceTitle = "Výběr obce";
const char* const kMunicipalityChoicePrompt =
    "Podle názvu připadá do úvahy více možností. Vyberte prosím, o kterou obec se jedná";

const char* FormPageTitle(int page) {
    static const char* const titles[kFormPageCount] = {"Vstupní data 1", "Vstupní data 2", "Vstupní data 3"};
    return page >= 1 && page <= kFormPageCount ? titles[page - 1] : "";
}

const TFormField* FindFormField(std::string_view key) {
    for (const TFormField& field : kFormFields)
        if (key == field.Key) return &field;
    return nullptr;
}

std::string FormFieldName(const TFormField& field) {
    std::string_view name = TrimView(field.Label);
    while (!name.empty() && (name.back() == ':' || name.back() == '*')) name.remove_suffix(1);
    return std::string(name);
}

namespace {

// The text without blanks around it and without the digit-grouping spaces,
// a decimal comma as a point; nothing when it is not digits with at most one
// decimal separator.
std::optional<std::string> PlainNumber(std::string_view text) {
    std::string plain;
    const std::string_view trimmed = TrimView(text);
    bool separator = false;
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c >= '0' && c <= '9') {
            plain += c;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
            plain += '.';
        } else if (c == ' ' && !separator) {
            continue;
        } else if (trimmed.substr(i).starts_with("\u00A0") && !separator) {
            i += 1;
        } else if (trimmed.substr(i).starts_with("\u202F") && !separator) {
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    if (plain == ".") return std::nullopt;
    return plain.empty() ? "0" : plain;
}

std::string DecimalsText(int decimals) {
    if (decimals == 1) return "1 desetinné místo";
    if (decimals >= 2 && decimals <= 4) return FormatInt(decimals) + " desetinná místa";
    return FormatInt(decimals) + " desetinných míst";
}

}  // namespace

std::string FormFieldError(const TFormField& field, std::string_view text) {
    const std::optional<std::string> plain = PlainNumber(text);
    if (!plain) return "Zadejte číslo (číslice, nejvýše jedna desetinná čárka).";
    const auto point = plain->find('.');
    if (point == std::string::npos) return {};
    if (field.Whole()) return "Zadejte celé číslo, bez desetinné čárky.";
    if (static_cast<int>(plain->size() - point - 1) > field.Decimals)
        return "Zadejte nejvýše " + DecimalsText(field.Decimals) + ".";
    return {};
}

std::optional<double> FormFieldValue(const TFormField& field, std::string_view text) {
    if (!FormFieldError(field, text).empty()) return std::nullopt;
    double value = 0;
    if (!TryParseNumber(*PlainNumber(text), value)) return std::nullopt;
    return value;
}

std::string FormFieldErrorLine(const TFormField& field, std::string_view error) {
    return "CHYBA: " + FormFieldName(field) + " - " + std::string(error);
}

std::vector<std::string> ValidationPageLines(const std::vector<std::string>& errors,
                                             const std::vector<std::string>& warnings) {
    std::vector<std::string> lines;
    if (errors.empty() && warnings.empty()) lines.emplace_back("Vstupní data prošla kontrolou bez chyb nebo varování.");
    if (!errors.empty()) {
        lines.push_back("Ve vstupních datech bylo nalezeno " + FormatInt(static_cast<long long>(errors.size())) +
                        " chyb! Model nelze vyhodnotit.");
        lines.insert(lines.end(), errors.begin(), errors.end());
        lines.emplace_back();
    }
    if (!warnings.empty()) {
        lines.push_back("Ve vstupních datech bylo nalezeno " + FormatInt(static_cast<long long>(warnings.size())) +
                        " upozornění. Model lze vyhodnotit, ale výsledky mohou být zkreslené.");
        lines.insert(lines.end(), warnings.begin(), warnings.end());
        lines.emplace_back();
    }
    return lines;
}

}  // namespace zevra
