// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The verdict of an evaluation as data (band, disadvantaged indicators, water
// warning) and its verbal texts. The texts are kept once, in the report's
// [b]/[i] markup; the HTML of the batch table is the markup with the tags
// mapped (MarkupToHtml) and the parts joined with HTML line breaks.
#pragma once

#include "model/u_indicators.h"
#include "model/u_kraj.h"

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

namespace zevra {

// What an evaluation decides before any text is written: the indicators with
// their deciles, the integrated indicator, the region and whether the water
// supply needs a warning. Evaluate writes it out as an Output; the batch,
// which writes the same few texts for many rows, keeps each text once.
struct TZevraVerdict {
    TZevraObyvatelstvoIndicators Indicators;
    double Obyvatelstvo = 0;
    const TZevraKraj* Kraj = nullptr;  // belongs to the model
    bool WaterWarning = false;

    // The assessment texts follow from the band of Obyvatelstvo and from
    // which indicators are disadvantaged; verdicts with equal keys have equal
    // texts. Keys are below kAssessmentKeyCount.
    unsigned AssessmentKey() const;
};

// What the verbal assessment says.
struct TAssessment {
    TBand Band = TBand::Low;
    // Bit k: indicator k (kIndicators order) has a disadvantaged decile.
    std::bitset<kIndicatorCount> Disadvantaged;
    bool WaterWarning = false;

    // Equal keys, equal texts; below kAssessmentKeyCount.
    unsigned Key() const;
};

// Every key an assessment can have lies below this: a band and a set of
// disadvantaged indicators.
constexpr unsigned kAssessmentKeyCount = kBandCount * (1u << kIndicatorCount);

TAssessment Assess(const TZevraVerdict& verdict);

// The texts in markup: the band's sentence, the heading of the partial
// assessment and the water-supply warning. The partial texts are
// kIndicators[k].PartialText.
const char* BandText(TBand band);
constexpr const char* kPartialHeadingText = "[b]Dílčí zhodnocení:[/b]";
constexpr const char* kWaterWarningText =
    "[b][i]Obec může mít potenciální problémy s dostatečným zásobováním pitnou vodou. Této oblasti je "
    "třeba věnovat zvláštní pozornost[/i][/b]";

// The markup in HTML: [b] as <strong>, [i] as <em>; other text unchanged.
std::string MarkupToHtml(std::string_view markup);
// The markup without its tags.
std::string MarkupToPlain(std::string_view markup);

// The whole verbal assessment (band, then the partial assessment when an
// indicator is disadvantaged) in markup, and in HTML for the batch table.
std::string AssessmentMarkup(const TAssessment& assessment);
std::string AssessmentHtml(const TAssessment& assessment);
// The same without tags, for a spreadsheet cell: a line feed where the HTML
// has a line break.
std::string AssessmentPlainText(const TAssessment& assessment);
// The water-supply warning without tags, or empty.
std::string WaterWarningPlainText(bool warning);
std::string AssessmentMarkup(const TZevraVerdict& verdict);
std::string AssessmentHtml(const TZevraVerdict& verdict);
// The water-supply warning in markup, or empty.
std::string_view WaterWarningMarkup(const TZevraVerdict& verdict);
// The batch table's water-supply cell: the warning in HTML, or "&nbsp;".
std::string_view WaterWarningHtml(const TZevraVerdict& verdict);

}  // namespace zevra
