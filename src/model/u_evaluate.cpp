// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation of the current input: the seven partial indicators, their
// deciles, the integrated indicator "Obyvatelstvo" with its verbal texts, and
// the most similar municipalities of the reference sample.
#include "model/u_model.h"

#include "model/u_format.h"
#include "model/u_indicators.h"
#include "model/u_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace zevra {

namespace {

// The employer correction: a significant employer of the municipality's own
// lowers a disadvantaged commuting decile by four.
constexpr int kSignificantEmployer = 100;
constexpr int kEmployerCorrection = 4;
// Sample municipalities may differ in size by at most this share.
constexpr double kSizeTolerance = 0.3;
// Similar municipalities after the first one are kept only up to this rank.
constexpr double kMaxSimilarRank = 8;
// The most similar municipalities an output can list.
constexpr std::size_t kMaxSimilar = 10;

// The verbal texts of one indicator or band: the report markup and the HTML
// twin of the batch output.
struct TVerbalText {
    const char* Markup;
    const char* Html;
};

constexpr TVerbalText kBandHigh{
    "[b][i]700-1000: Obec podle zadaných údajů je z hlediska disparit znevýhodněna a má nebo může mít "
    "problém s přírůstky obyvatel a tím s demografickou strukturou.[/i][/b]",
    "<strong><em>700-1000: Obec podle zadaných údajů je z hlediska disparit znevýhodněna a má nebo může "
    "mít problém s přírůstky obyvatel a tím s demografickou strukturou.</em></strong>"};
constexpr TVerbalText kBandMiddle{
    "[b][i]400-700: Obec je z hlediska disparit v neutrálním pásmu.[/i][/b]",
    "<strong><em>400-700: Obec je z hlediska disparit v neutrálním pásmu.</em></strong>"};
constexpr TVerbalText kBandLow{
    "[b][i]0-400: Obec patří do skupiny obcí, které z hlediska disparit by neměly mít problémy s "
    "přírůstkem obyvatel.[/i][/b]",
    "<strong><em>0-400: Obec patří do skupiny obcí, které z hlediska disparit by neměly mít problémy s "
    "přírůstkem obyvatel.</em></strong>"};

constexpr TVerbalText kWaterWarning{
    "[b][i]Obec může mít potenciální problémy s dostatečným zásobováním pitnou vodou. Této oblasti je "
    "třeba věnovat zvláštní pozornost[/i][/b]",
    "<strong><em>Obec může mít potenciální problémy s dostatečným zásobováním pitnou vodou. Této "
    "oblasti je třeba věnovat zvláštní pozornost</em></strong>"};
constexpr const char* kNoWaterWarningHtml = "&nbsp;";

// The partial texts, in the fixed indicator order dck, dvo, vs1, nvr, vkt,
// vea, rps.
constexpr TVerbalText kPartialTexts[kIndicatorCount] = {
    {"[i]Obec je znevýhodněna z hlediska polohy v kraji .[/i]",
     "<em>Obec je znevýhodněna z hlediska polohy v kraji .</em>"},
    {"[i]Obec je znevýhodněna z hlediska polohy.[/i]", "<em>Obec je znevýhodněna z hlediska polohy.</em>"},
    {"[i]Obec je znevýhodněna z hlediska dopravní dostupnosti.[/i]",
     "<em>Obec je znevýhodněna z hlediska dopravní dostupnosti.</em>"},
    {"[i]Obec leží ve vyšší nadmořské výšce, než je krajský průměr.[/i]",
     "<em>Obec leží ve vyšší nadmořské výšce, než je krajský průměr.</em>"},
    {"[i]Obec obsluhuje velké katastrální území, což může působit problémy s obslužností, inženýrskými "
     "sítěmi apod.[/i]",
     "<em>Obec obsluhuje velké katastrální území, což může působit problémy s obslužností, inženýrskými "
     "sítěmi apod.</em>"},
    {"[i]Obec je znevýhodněna polohou v oblasti s malými možnostmi zaměstnání a sama na svém území nemá "
     "významného zaměstnavatele[/i]",
     "<em>Obec je znevýhodněna polohou v oblasti s malými možnostmi zaměstnání a sama na svém území nemá "
     "významného zaměstnavatele</em>"},
    {"[i]Obec má velký podíl samostatně hospodařících rolníků na celkovém počtu podnikatelských "
     "subjektů.[/i]",
     "<em>Obec má velký podíl samostatně hospodařících rolníků na celkovém počtu podnikatelských "
     "subjektů.</em>"},
};

// Built once: the assessment of every evaluation starts its partial texts
// with it.
const std::string& MarkupHeaderSeparator() {
    static const std::string separator = std::string(kCrLf) + kCrLf + kSeparatorLine + kCrLf + kCrLf +
                                         "[b]Dílčí zhodnocení:[/b]" + kCrLf + kCrLf;
    return separator;
}

constexpr const char* kHtmlHeaderSeparator = "<br/><br/><strong>Dílčí zhodnocení:</strong><br/><br/>";
constexpr const char* kHtmlTextSeparator = "<br />";

// 100 * part / whole as a percentage; 0 when the whole is not positive. The
// product is formed in 64 bits so that no input can overflow it.
double Percentage(std::int64_t part, std::int64_t whole) {
    if (whole <= 0) return 0;
    return static_cast<double>(part * 100) / static_cast<double>(whole);
}

const TVerbalText& BandText(double obyvatelstvo) {
    if (obyvatelstvo >= 700) return kBandHigh;
    if (obyvatelstvo > 400) return kBandMiddle;
    return kBandLow;
}

// Whether the sample municipality is the evaluated one itself: the same
// non-zero code, or, when either code is missing, the same name in the same
// region (or a region that cannot be found).
bool IsSelf(const TZevraInputData& input, const TZevraKraj* inputKraj, const TZevraSampleMunicipality& m) {
    if (input.Kod != 0 && m.Kod != 0) return input.Kod == m.Kod;
    if (!SameStr(input.Obec, m.Obec)) return false;
    return inputKraj == nullptr || SameStr(inputKraj->Nazev, m.KrajNazev);
}

}  // namespace

void TZevraModel::Evaluate(bool findSimilar) {
    Validate(nullptr, nullptr);
    const TZevraKraj* kraj = FindKraj(FInput.Kraj);
    if (kraj == nullptr)
        throw EZevraError(
            FormatMessage("Kraj s číslem %d nebyl nalezen v seznamu krajů!", {FormatInt(FInput.Kraj)}));
    TZevraObyvatelstvoIndicators indicators = ComputeIndicators(*kraj);
    RankIndicators(indicators);
    std::unique_ptr<TZevraOutputData> output = ComposeAssessment(indicators, *kraj);
    if (findSimilar) FindSimilarMunicipalities(*output);
    // Only a complete result replaces the previous one.
    FOutput = std::move(output);
}

TZevraObyvatelstvoIndicators TZevraModel::ComputeIndicators(const TZevraKraj& kraj) const {
    TZevraObyvatelstvoIndicators indicators;
    indicators.Dck = FInput.KrMestoMin;
    indicators.Dvo = FInput.OkrMestoKm;
    indicators.Vs1 = FInput.Silnice1TrM;
    indicators.Nvr = FInput.NadmVyska - kraj.NadmVyska;
    indicators.Vkt = FInput.KatastrCelkem;
    indicators.Vea = Percentage(FInput.ObyvateleVyjizdejici,
                                static_cast<std::int64_t>(FInput.ObyvateleEA) - FInput.ObyvateleNezamestnani);
    indicators.Rps = Percentage(FInput.PodnikateleRolnici2006, FInput.PodnikateleCelkem2006);
    return indicators;
}

void TZevraModel::RankIndicators(TZevraObyvatelstvoIndicators& indicators) const {
    indicators.DecilDck = GetDecil(kIndicatorCodes[0], indicators.Dck);
    indicators.DecilDvo = GetDecil(kIndicatorCodes[1], indicators.Dvo);
    indicators.DecilVs1 = GetDecil(kIndicatorCodes[2], indicators.Vs1);
    indicators.DecilNvr = GetDecil(kIndicatorCodes[3], indicators.Nvr);
    indicators.DecilVkt = GetDecil(kIndicatorCodes[4], indicators.Vkt);
    indicators.DecilVea = GetDecil(kIndicatorCodes[5], indicators.Vea);
    if (indicators.DecilVea >= kDisadvantagedDecil && FInput.DominantniZamestnavatel >= kSignificantEmployer)
        indicators.DecilVea -= kEmployerCorrection;
    indicators.DecilRps = GetDecil(kIndicatorCodes[6], indicators.Rps);
}

std::unique_ptr<TZevraOutputData> TZevraModel::ComposeAssessment(const TZevraObyvatelstvoIndicators& indicators,
                                                                 const TZevraKraj& kraj) const {
    auto output = std::make_unique<TZevraOutputData>();
    output->Obec = FInput.Obec;
    output->Kraj = FInput.Kraj;
    output->Kod = FInput.Kod;
    output->KrajNazev = kraj.Nazev;

    if (FInput.Vodovod == TTriBool::tbFalse) {
        output->VodovodText = kWaterWarning.Markup;
        output->VodovodHtml = kWaterWarning.Html;
    } else {
        output->VodovodHtml = kNoWaterWarningHtml;
    }

    output->SetIndicators(indicators);

    const auto decils = DecilsOf(indicators);
    const auto weights = WeightsInOrder(FWeights);
    double obyvatelstvo = 0;
    for (std::size_t k = 0; k < decils.size(); ++k) obyvatelstvo += decils[k] * weights[k];
    output->Obyvatelstvo = obyvatelstvo;

    const TVerbalText& band = BandText(obyvatelstvo);
    output->Hodnoceni = band.Markup;
    output->HodnoceniHtml = band.Html;

    // Appended piece by piece: no temporary strings per evaluation.
    static const std::string kMarkupTextSeparator = std::string(kCrLf) + kCrLf;
    std::string_view markupSeparator = MarkupHeaderSeparator();
    std::string_view htmlSeparator = kHtmlHeaderSeparator;
    for (std::size_t k = 0; k < decils.size(); ++k) {
        if (decils[k] < kDisadvantagedDecil) continue;
        output->Hodnoceni += markupSeparator;
        output->Hodnoceni += kPartialTexts[k].Markup;
        markupSeparator = kMarkupTextSeparator;
        output->HodnoceniHtml += htmlSeparator;
        output->HodnoceniHtml += kPartialTexts[k].Html;
        htmlSeparator = kHtmlTextSeparator;
    }
    return output;
}

void TZevraModel::FindSimilarMunicipalities(TZevraOutputData& output) const {
    TZevraSampleMunicipalities& similar = output.SimilarMunicipalities;
    similar.Clear();
    const TZevraKraj* inputKraj = FindKraj(FInput.Kraj);
    const auto own = DecilsOf(output.Indicators);
    const auto weights = WeightsInOrder(FWeights);

    // The candidates are ranked as sample indices in a fixed top list; only
    // the ones kept are copied at the end. The list behaves as the ranked
    // list does: a candidate goes after every entry of a rank not above its
    // own (so among equal ranks the earlier sample entry stays first), a full
    // list drops its last entry, and a candidate that would be last in a full
    // list is dropped.
    const std::size_t capacity =
        std::min<std::size_t>(kMaxSimilar, static_cast<std::size_t>(std::max(similar.MaxCount(), 0)));
    std::array<int, kMaxSimilar> index{};
    std::array<double, kMaxSimilar> ranks{};
    std::size_t count = 0;
    if (capacity == 0) return;

    // The size filter |M - N| / N <= 0.3 as a bound on the integer
    // difference: the quotient grows with the difference, so the largest
    // difference that passes, found with the same division, decides.
    const std::int32_t size = FInput.ObyvateleCelkem;
    std::int64_t maxDifference = -1;
    for (std::int64_t d = static_cast<std::int64_t>(kSizeTolerance * size) + 2; d >= 0; --d) {
        if (static_cast<double>(d) / static_cast<double>(size) <= kSizeTolerance) {
            maxDifference = d;
            break;
        }
    }
    const bool ownCode = FInput.Kod != 0;

    const std::size_t sampleCount = FSampleKeys.size();
    for (std::size_t i = 0; i < sampleCount; ++i) {
        const TSampleKey& key = FSampleKeys[i];
        const std::int64_t difference = std::llabs(static_cast<std::int64_t>(key.ObyvateleCelkem) - size);
        if (difference > maxDifference) continue;
        if (ownCode && key.Kod != 0) {
            if (key.Kod == FInput.Kod) continue;
        } else if (IsSelf(FInput, inputKraj, *FSampleMunicipalities.Items(static_cast<int>(i)))) {
            continue;
        }
        double distance = 0;
        for (std::size_t k = 0; k < own.size(); ++k) {
            const std::int64_t d = static_cast<std::int64_t>(key.Decils[k]) - own[k];
            distance += static_cast<double>(d * d) * weights[k];
        }
        const double rank = distance / 100;
        // The list is in ascending order: when its last entry does not rank
        // above the candidate, no entry does, and a full list drops it.
        if (count == capacity && !(ranks[count - 1] > rank)) continue;
        std::size_t at = 0;
        while (at < count && !(ranks[at] > rank)) ++at;
        if (at == count && count >= capacity) continue;
        const std::size_t last = std::min(count, capacity - 1);
        for (std::size_t j = last; j > at; --j) {
            index[j] = index[j - 1];
            ranks[j] = ranks[j - 1];
        }
        index[at] = static_cast<int>(i);
        ranks[at] = rank;
        if (count < capacity) ++count;
    }

    // The most similar municipality always stays; the others only while close.
    for (std::size_t j = 0; j < count; ++j) {
        if (j > 0 && ranks[j] > kMaxSimilarRank) continue;
        similar.AddRanked(*FSampleMunicipalities.Items(index[j]), ranks[j]);
    }
}

int TZevraModel::GetDecil(std::string_view code, double value) const {
    for (const TZevraDecilDistribution& distribution : FDecilDistributions)
        if (SameAsciiCaseless(distribution.Indikator, code)) return DecilOf(distribution, value);
    throw EZevraError(FormatMessage("Decilace indikátoru není k dispozici! [%s]", {code}));
}

int TZevraModel::DecilOf(const TZevraDecilDistribution& distribution, double value) {
    int decil = 10;
    for (int k = 0; k < 9; ++k) {
        if (!(value > distribution.Values[static_cast<std::size_t>(k)])) {
            decil = k + 1;
            break;
        }
    }
    return distribution.Asc ? decil : 11 - decil;
}

}  // namespace zevra
