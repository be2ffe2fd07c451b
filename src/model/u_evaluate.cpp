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
#include <functional>
#include <memory>
#include <string>
#include <string_view>

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
    const TZevraVerdict verdict = Judge(FInput);
    auto output = std::make_unique<TZevraOutputData>();
    output->Obec = FInput.Obec;
    output->Kraj = FInput.Kraj;
    output->Kod = FInput.Kod;
    output->KrajNazev = verdict.Kraj->Nazev;
    if (verdict.WaterWarning) output->VodovodText = kWaterWarning.Markup;
    output->VodovodHtml = WaterWarningHtml(verdict);
    output->SetIndicators(verdict.Indicators);
    output->Obyvatelstvo = verdict.Obyvatelstvo;
    output->Hodnoceni = AssessmentMarkup(verdict);
    output->HodnoceniHtml = AssessmentHtml(verdict);
    if (findSimilar) FindSimilarMunicipalities(FInput, verdict, *output);
    // Only a complete result replaces the previous one.
    FOutput = std::move(output);
}

TZevraVerdict TZevraModel::Judge(const TZevraInputData& input) const {
    Validate(input, nullptr, nullptr);
    TZevraVerdict verdict;
    verdict.Kraj = FindKraj(input.Kraj);
    if (verdict.Kraj == nullptr)
        throw EZevraError(
            FormatMessage("Kraj s číslem %d nebyl nalezen v seznamu krajů!", {FormatInt(input.Kraj)}));
    verdict.Indicators = ComputeIndicators(input, *verdict.Kraj);
    RankIndicators(input, verdict.Indicators);
    const auto decils = DecilsOf(verdict.Indicators);
    const auto weights = WeightsInOrder(FWeights);
    double obyvatelstvo = 0;
    for (std::size_t k = 0; k < decils.size(); ++k) obyvatelstvo += decils[k] * weights[k];
    verdict.Obyvatelstvo = obyvatelstvo;
    verdict.WaterWarning = input.Vodovod == TTriBool::tbFalse;
    return verdict;
}

TZevraObyvatelstvoIndicators TZevraModel::ComputeIndicators(const TZevraInputData& input,
                                                            const TZevraKraj& kraj) const {
    TZevraObyvatelstvoIndicators indicators;
    indicators.Dck = input.KrMestoMin;
    indicators.Dvo = input.OkrMestoKm;
    indicators.Vs1 = input.Silnice1TrM;
    indicators.Nvr = input.NadmVyska - kraj.NadmVyska;
    indicators.Vkt = input.KatastrCelkem;
    indicators.Vea = Percentage(input.ObyvateleVyjizdejici,
                                static_cast<std::int64_t>(input.ObyvateleEA) - input.ObyvateleNezamestnani);
    indicators.Rps = Percentage(input.PodnikateleRolnici2006, input.PodnikateleCelkem2006);
    return indicators;
}

void TZevraModel::RankIndicators(const TZevraInputData& input, TZevraObyvatelstvoIndicators& indicators) const {
    indicators.DecilDck = IndicatorDecil(0, indicators.Dck);
    indicators.DecilDvo = IndicatorDecil(1, indicators.Dvo);
    indicators.DecilVs1 = IndicatorDecil(2, indicators.Vs1);
    indicators.DecilNvr = IndicatorDecil(3, indicators.Nvr);
    indicators.DecilVkt = IndicatorDecil(4, indicators.Vkt);
    indicators.DecilVea = IndicatorDecil(5, indicators.Vea);
    if (indicators.DecilVea >= kDisadvantagedDecil && input.DominantniZamestnavatel >= kSignificantEmployer)
        indicators.DecilVea -= kEmployerCorrection;
    indicators.DecilRps = IndicatorDecil(6, indicators.Rps);
}

int TZevraModel::IndicatorDecil(std::size_t indicator, double value) const {
    const int distribution = FIndicatorDistributions[indicator];
    // Without a distribution the lookup by code gives its own error.
    return distribution >= 0 ? DecilOf(FDecilDistributions[static_cast<std::size_t>(distribution)], value)
                             : GetDecil(kIndicatorCodes[indicator], value);
}

unsigned TZevraVerdict::AssessmentKey() const {
    const auto decils = DecilsOf(Indicators);
    const TVerbalText& band = BandText(Obyvatelstvo);
    unsigned key = &band == &kBandHigh ? 2u : &band == &kBandMiddle ? 1u : 0u;
    for (std::size_t k = 0; k < decils.size(); ++k) {
        if (decils[k] >= kDisadvantagedDecil) key |= 4u << k;
    }
    return key;
}

namespace {

// The band's text, then the partial text of each disadvantaged indicator:
// after the band `headerSeparator`, between partial texts `textSeparator`.
std::string ComposeAssessment(const TZevraVerdict& verdict, const char* TVerbalText::*form,
                              std::string_view headerSeparator, std::string_view textSeparator) {
    const auto decils = DecilsOf(verdict.Indicators);
    std::string text = BandText(verdict.Obyvatelstvo).*form;
    std::string_view separator = headerSeparator;
    for (std::size_t k = 0; k < decils.size(); ++k) {
        if (decils[k] < kDisadvantagedDecil) continue;
        text += separator;
        text += kPartialTexts[k].*form;
        separator = textSeparator;
    }
    return text;
}

}  // namespace

std::string AssessmentMarkup(const TZevraVerdict& verdict) {
    static const std::string kMarkupTextSeparator = std::string(kCrLf) + kCrLf;
    return ComposeAssessment(verdict, &TVerbalText::Markup, MarkupHeaderSeparator(), kMarkupTextSeparator);
}

std::string AssessmentHtml(const TZevraVerdict& verdict) {
    return ComposeAssessment(verdict, &TVerbalText::Html, kHtmlHeaderSeparator, kHtmlTextSeparator);
}

std::string_view WaterWarningHtml(const TZevraVerdict& verdict) {
    return verdict.WaterWarning ? kWaterWarning.Html : kNoWaterWarningHtml;
}

void TZevraModel::FindSimilarMunicipalities(const TZevraInputData& input, const TZevraVerdict& verdict,
                                            TZevraOutputData& output) const {
    TZevraSampleMunicipalities& similar = output.SimilarMunicipalities;
    similar.Clear();
    const auto own = DecilsOf(verdict.Indicators);
    const auto weights = WeightsInOrder(FWeights);

    // The candidates are ranked as sample indices in a fixed top list; only
    // the ones kept are copied at the end. The list behaves as the ranked
    // list fed in sample order does: a candidate goes after every entry of a
    // rank not above its own (so among equal ranks the earlier sample entry
    // stays first), a full list drops its last entry, and a candidate that
    // would be last in a full list is dropped. That is, it keeps the first
    // entries in the order of (rank, sample index), whatever order the
    // candidates come in.
    const std::size_t capacity =
        std::min<std::size_t>(kMaxSimilar, static_cast<std::size_t>(std::max(similar.MaxCount(), 0)));
    std::array<std::int32_t, kMaxSimilar> index{};
    std::array<double, kMaxSimilar> ranks{};
    std::size_t count = 0;
    if (capacity == 0) return;
    const auto before = [&](std::size_t at, double rank, std::int32_t i) {
        return ranks[at] < rank || (ranks[at] == rank && index[at] < i);
    };

    // The size filter |M - N| / N <= 0.3 as a bound on the integer
    // difference: the quotient grows with the difference, so the largest
    // difference that passes, found with the same division, decides.
    const std::int32_t size = input.ObyvateleCelkem;
    std::int64_t maxDifference = -1;
    for (std::int64_t d = static_cast<std::int64_t>(kSizeTolerance * size) + 2; d >= 0; --d) {
        if (static_cast<double>(d) / static_cast<double>(size) <= kSizeTolerance) {
            maxDifference = d;
            break;
        }
    }
    if (maxDifference < 0) return;
    const bool ownCode = input.Kod != 0;

    // The keys are sorted by population, so only those within the size
    // filter are visited.
    const std::int64_t smallest = static_cast<std::int64_t>(size) - maxDifference;
    const std::int64_t largest = static_cast<std::int64_t>(size) + maxDifference;
    auto key = std::lower_bound(FSampleKeys.begin(), FSampleKeys.end(), smallest,
                                [](const TSampleKey& k, std::int64_t v) { return k.ObyvateleCelkem < v; });
    // Each weighted squared difference of deciles, computed once per
    // evaluation: sample deciles lie in 1..10 (checked at load).
    std::array<std::array<double, 10>, kIndicatorCount> terms{};
    for (std::size_t k = 0; k < own.size(); ++k) {
        for (std::int64_t decil = 1; decil <= 10; ++decil) {
            const std::int64_t d = decil - own[k];
            terms[k][static_cast<std::size_t>(decil - 1)] = static_cast<double>(d * d) * weights[k];
        }
    }
    const std::size_t nameHash = std::hash<std::string_view>{}(input.Obec);
    for (; key != FSampleKeys.end() && key->ObyvateleCelkem <= largest; ++key) {
        if (ownCode && key->Kod != 0) {
            if (key->Kod == input.Kod) continue;
        } else if (key->ObecHash == nameHash && IsSelf(input, verdict.Kraj, *FSampleMunicipalities.Items(key->Index))) {
            // Only an entry of the same name can be the municipality itself.
            continue;
        }
        // Summed in indicator order, as the ranks always were.
        double distance = 0;
        for (std::size_t k = 0; k < own.size(); ++k) distance += terms[k][static_cast<std::size_t>(key->Decils[k] - 1)];
        const double rank = distance / 100;
        if (count == capacity && before(count - 1, rank, key->Index)) continue;
        std::size_t at = 0;
        while (at < count && before(at, rank, key->Index)) ++at;
        const std::size_t last = std::min(count, capacity - 1);
        for (std::size_t j = last; j > at; --j) {
            index[j] = index[j - 1];
            ranks[j] = ranks[j - 1];
        }
        index[at] = key->Index;
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
