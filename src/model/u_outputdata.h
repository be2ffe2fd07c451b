// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_ObyvatelstvoIndicators.h"
#include "model/u_SampleMunicipalities.h"
#include "model/u_object.h"

#include <cstdint>
#include <string>

namespace zevra {

// The result of one evaluation. It owns its indicators and its ranked list of
// similar municipalities (at most ten).
class TZevraOutputData : public TObjectEx {
public:
    TZevraOutputData() { SimilarMunicipalities.SetRanked(true); }
    const char* ClassName() const override { return "TZevraOutputData"; }

    std::string Obec;
    std::string KrajNazev;
    std::string Hodnoceni;      // verbal assessment in [b]/[i] markup
    std::string HodnoceniHtml;  // the same in HTML
    std::string VodovodText;    // water-supply warning in markup, or empty
    std::string VodovodHtml;    // the same in HTML, or "&nbsp;"
    double Obyvatelstvo = 0;    // the integrated indicator
    std::int32_t Kraj = -1;
    std::int32_t Kod = 0;
    TZevraObyvatelstvoIndicators Indicators;
    TZevraSampleMunicipalities SimilarMunicipalities{10};

    void SetIndicators(const TZevraObyvatelstvoIndicators& value) { Indicators = value; }
};

}  // namespace zevra
