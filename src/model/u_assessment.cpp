// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_assessment.h"

#include <array>
#include <utility>

namespace zevra {

namespace {

constexpr const char* kBandTexts[kBandCount] = {
    "[b][i]0-400: Obec patří do skupiny obcí, které z hlediska disparit by neměly mít problémy s "
    "přírůstkem obyvatel.[/i][/b]",
    "[b][i]400-700: Obec je z hlediska disparit v neutrálním pásmu.[/i][/b]",
    "[b][i]700-1000: Obec podle zadaných údajů je z hlediska disparit znevýhodněna a má nebo může mít "
    "problém s přírůstky obyvatel a tím s demografickou strukturou.[/i][/b]",
};

constexpr const char* kNoWaterWarningHtml = "&nbsp;";

// How the parts of the assessment are joined: after the band (before the
// heading of the partial assessment), after that heading, between partial
// texts. The markup sets the partial assessment off with the report's
// separator line; the HTML table cell does not.
struct TJoiners {
    std::string AfterBand;
    std::string AfterHeading;
    std::string BetweenPartials;
};

const TJoiners& MarkupJoiners() {
    static const TJoiners joiners{std::string(kCrLf) + kCrLf + kSeparatorLine + kCrLf + kCrLf,
                                  std::string(kCrLf) + kCrLf, std::string(kCrLf) + kCrLf};
    return joiners;
}

const TJoiners& HtmlJoiners() {
    static const TJoiners joiners{"<br/><br/>", "<br/><br/>", "<br />"};
    return joiners;
}

// A line feed where the HTML has a line break.
const TJoiners& PlainJoiners() {
    static const TJoiners joiners{"\n\n", "\n\n", "\n"};
    return joiners;
}

// The markup with each of its four tags replaced by the element of the same
// place in `elements` ([b], [/b], [i], [/i]); other text unchanged.
std::string MapTags(std::string_view markup, const std::array<std::string_view, 4>& elements) {
    static constexpr std::string_view kTags[] = {"[b]", "[/b]", "[i]", "[/i]"};
    std::string mapped;
    mapped.reserve(markup.size() + markup.size() / 4);
    for (std::size_t at = 0; at < markup.size();) {
        bool tag = false;
        // Only a "[" can start a tag: the other characters are copied without
        // a comparison with each tag.
        for (std::size_t t = 0; markup[at] == '[' && t < std::size(kTags); ++t) {
            if (markup.substr(at, kTags[t].size()) == kTags[t]) {
                mapped += elements[t];
                at += kTags[t].size();
                tag = true;
                break;
            }
        }
        if (!tag) mapped += markup[at++];
    }
    return mapped;
}

// Each text in `render` form, then joined with `joiners`.
template <class Render>
std::string Compose(const TAssessment& assessment, const TJoiners& joiners, Render render) {
    std::string text = render(BandText(assessment.Band));
    if (assessment.Disadvantaged.none()) return text;
    text += joiners.AfterBand;
    text += render(kPartialHeadingText);
    std::string_view joiner = joiners.AfterHeading;
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        if (!assessment.Disadvantaged[k]) continue;
        text += joiner;
        text += render(kIndicators[k].PartialText);
        joiner = joiners.BetweenPartials;
    }
    return text;
}

}  // namespace

const char* BandText(TBand band) { return kBandTexts[static_cast<int>(band)]; }

std::string MarkupToPlain(std::string_view markup) { return MapTags(markup, {"", "", "", ""}); }

std::string MarkupToHtml(std::string_view markup) {
    return MapTags(markup, {"<strong>", "</strong>", "<em>", "</em>"});
}

TAssessment Assess(const TZevraVerdict& verdict) {
    TAssessment assessment;
    assessment.Band = BandOfValue(verdict.Obyvatelstvo);
    const TDecils decils = DecilsOf(verdict.Indicators);
    for (std::size_t k = 0; k < kIndicatorCount; ++k) assessment.Disadvantaged[k] = decils[k] >= kDisadvantagedDecil;
    assessment.WaterWarning = verdict.WaterWarning;
    return assessment;
}

unsigned TAssessment::Key() const {
    return static_cast<unsigned>(Band) + kBandCount * static_cast<unsigned>(Disadvantaged.to_ulong());
}

unsigned TZevraVerdict::AssessmentKey() const { return Assess(*this).Key(); }

std::string AssessmentMarkup(const TAssessment& assessment) {
    return Compose(assessment, MarkupJoiners(), [](const char* markup) { return std::string(markup); });
}

std::string AssessmentHtml(const TAssessment& assessment) {
    return Compose(assessment, HtmlJoiners(), MarkupToHtml);
}

std::string AssessmentPlainText(const TAssessment& assessment) {
    return Compose(assessment, PlainJoiners(), MarkupToPlain);
}

std::string WaterWarningPlainText(bool warning) { return warning ? MarkupToPlain(kWaterWarningText) : std::string(); }

std::string AssessmentMarkup(const TZevraVerdict& verdict) { return AssessmentMarkup(Assess(verdict)); }

std::string AssessmentHtml(const TZevraVerdict& verdict) { return AssessmentHtml(Assess(verdict)); }

std::string_view WaterWarningMarkup(const TZevraVerdict& verdict) {
    return verdict.WaterWarning ? kWaterWarningText : "";
}

std::string_view WaterWarningHtml(const TZevraVerdict& verdict) {
    static const std::string html = MarkupToHtml(kWaterWarningText);
    return verdict.WaterWarning ? std::string_view(html) : kNoWaterWarningHtml;
}

}  // namespace zevra
