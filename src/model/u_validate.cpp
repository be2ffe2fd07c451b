// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The check of the current input against the limits of the model.
#include "model/u_format.h"
#include "model/u_limits.h"
#include "model/u_model.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zevra {
namespace {

using namespace limits;

constexpr const char* kMustBeFilled = "Hodnota musí být vyplněna";
constexpr const char* kAtLeast = "Zadaná hodnota musí být vetší rovna %d!";
constexpr const char* kAtMost = "Zadaná hodnota musí být menší rovna %d!";
constexpr const char* kAbovePopulation = "Hodnota nemůže být vyšší než počet obyvatel!";

// The messages of the decimal limits, composed once per thread and
// thousands separator: formatting a decimal costs more than the rest of a
// check, and a batch file of faulty rows gives the same messages over and
// over.
struct TDecimalLimitMessages {
    std::string Separator = ThousandSeparator();
    std::string Altitude =
        FormatMessage("Hodnota musí být v rozsahu <%s, %s>!", {FormatN(kMinAltitude, 1), FormatN(kMaxAltitude, 1)});
    std::string MinCadastre = FormatMessage("Zadaná hodnota musí být vetší rovna %s!", {FormatN(kMinCadastre, 3)});
    std::string MaxCadastre = FormatMessage("Zadaná hodnota musí být menší rovna %s!", {FormatN(kMaxCadastre, 3)});
};

const TDecimalLimitMessages& DecimalLimitMessages() {
    thread_local TDecimalLimitMessages messages;
    if (messages.Separator != ThousandSeparator()) messages = TDecimalLimitMessages();
    return messages;
}

// Collects the findings of one validation run; with no error list the first
// error throws, with no warning list warnings are dropped.
class Findings {
public:
    Findings(std::vector<std::string>* errors, std::vector<std::string>* warnings)
        : FErrors(errors), FWarnings(warnings) {}

    void Error(std::string_view label, std::string_view message) {
        const std::string line = Line("CHYBA: ", label, message);
        if (FErrors == nullptr) throw EZevraError(line);
        FErrors->push_back(line);
    }

    void Warning(std::string_view label, std::string_view message) {
        if (FWarnings != nullptr) FWarnings->push_back(Line("POZOR: ", label, message));
    }

    // The "a" and "b" rows of an integer field: below `min`, above `max`.
    void CheckRange(std::string_view label, std::int64_t value, std::int64_t min, std::int64_t max) {
        if (value < min) Error(label, FormatMessage(kAtLeast, {FormatInt(min)}));
        if (value > max) Error(label, FormatMessage(kAtMost, {FormatInt(max)}));
    }

private:
    static std::string Line(std::string_view kind, std::string_view label, std::string_view message) {
        std::string line;
        line.reserve(kind.size() + label.size() + 3 + message.size());
        line.append(kind).append(label).append(" - ").append(message);
        return line;
    }

    std::vector<std::string>* FErrors;
    std::vector<std::string>* FWarnings;
};

}  // namespace

void TZevraModel::Validate(const TZevraInputData& in, std::vector<std::string>* errors,
                           std::vector<std::string>* warnings) const {
    if (errors != nullptr) errors->clear();
    if (warnings != nullptr) warnings->clear();
    Findings f(errors, warnings);
    // 64-bit arithmetic keeps every comparison free of overflow.
    const std::int64_t obyvatele = in.ObyvateleCelkem, ea = in.ObyvateleEA, nezamestnani = in.ObyvateleNezamestnani,
                       vyjizdejici = in.ObyvateleVyjizdejici;

    if (IsBlank(in.Obec)) f.Error("Název obce", kMustBeFilled);
    if (in.Kraj < 0) f.Error("Kraj", kMustBeFilled);
    if (in.Kraj == 1) {
        f.Warning("Kraj", "Model není určen pro středočeský kraj z důvodu významného vlivu hl. m. Prahy.");
    }

    constexpr std::string_view population = "Počet obyvatel";
    if (obyvatele < kMinInhabitants) {
        f.Error(population, FormatMessage(kAtLeast, {FormatInt(kMinInhabitants)}));
    } else if (obyvatele > kMaxPersons) {
        f.Error(population, FormatMessage(kAtMost, {FormatInt(kMaxPersons)}));
    } else if (obyvatele < kModelMinInhabitants || obyvatele > kModelMaxInhabitants) {
        f.Warning(population, "Model je určen pro obce od " + FormatInt(kModelMinInhabitants) + " do " +
                                  FormatInt(kModelMaxInhabitants) + " obyvatel.");
    }

    constexpr std::string_view active = "Ekonomicky aktivní";
    f.CheckRange(active, ea, 0, kMaxPersons);
    if (ea > obyvatele) f.Error(active, kAbovePopulation);

    constexpr std::string_view unemployed = "Nezaměstnaní";
    f.CheckRange(unemployed, nezamestnani, 0, kMaxPersons);
    if (nezamestnani > obyvatele) f.Error(unemployed, kAbovePopulation);
    if (nezamestnani > ea) {
        f.Error(unemployed, "Hodnota nemůže být vyšší než počet ekonomicky aktivních obyvatel!");
    }

    constexpr std::string_view commuters = "Vyjíždějící za prací";
    f.CheckRange(commuters, vyjizdejici, 0, kMaxPersons);
    if (vyjizdejici > ea - nezamestnani) {
        f.Error(commuters,
                "Hodnota v součtu s nezaměstnanými nemůže být vyšší než počet ekon. aktivních obyvatel!");
    }

    // Written so that a value that is not a number fails too.
    if (!(in.NadmVyska >= kMinAltitude && in.NadmVyska <= kMaxAltitude)) {
        f.Error("Nadmořská výška", DecimalLimitMessages().Altitude);
    }
    if (!(in.KatastrCelkem >= kMinCadastre)) f.Error("Katastr celkem", DecimalLimitMessages().MinCadastre);
    if (!(in.KatastrCelkem <= kMaxCadastre)) f.Error("Katastr celkem", DecimalLimitMessages().MaxCadastre);

    f.CheckRange("Dojížďkový čas do krajského města", in.KrMestoMin, 0, kMaxTravelMinutes);
    f.CheckRange("Dojížďková vzdálenost do okresního města", in.OkrMestoKm, 0, kMaxDistrictKm);
    f.CheckRange("Vzdálenost od silnice 1. třídy", in.Silnice1TrM, 0, kMaxRoadMetres);
    f.CheckRange("Počet podnikatelských subjektů 2006", in.PodnikateleCelkem2006, 0, kMaxBusinesses);

    constexpr std::string_view farmers = "Počet rolníků 2006";
    f.CheckRange(farmers, in.PodnikateleRolnici2006, 0, kMaxBusinesses);
    if (in.PodnikateleRolnici2006 > in.PodnikateleCelkem2006) {
        f.Error(farmers, "Rolníků nemůže být více, než podnikatelských subjektů celkem!");
    }

    f.CheckRange("Počet zaměstnanců nej. zaměstnavatele", in.DominantniZamestnavatel, 0, kMaxEmployerStaff);
    if (in.Vodovod == TTriBool::tbUnknown) f.Error("Dálkový vodovod", kMustBeFilled);
}

}  // namespace zevra
