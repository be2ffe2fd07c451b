// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_object.h"

#include <cstdint>

namespace zevra {

// The partial indicators of one evaluation and their deciles (1 best, 10 worst).
class TZevraObyvatelstvoIndicators : public TObjectEx {
public:
    const char* ClassName() const override { return "TZevraObyvatelstvoIndicators"; }
    bool operator==(const TZevraObyvatelstvoIndicators&) const = default;

    double Dck = 0;  // travel time to the regional city, minutes
    double Dvo = 0;  // distance to the district town, km
    double Vs1 = 0;  // distance to a first-class road, metres
    double Nvr = 0;  // altitude above the regional average, metres
    double Vkt = 0;  // cadastral area, hectares
    double Vea = 0;  // out-commuters, per cent of the employed
    double Rps = 0;  // self-employed farmers, per cent of business entities
    std::int32_t DecilDck = 0, DecilDvo = 0, DecilVs1 = 0, DecilNvr = 0, DecilVkt = 0, DecilVea = 0,
                 DecilRps = 0;
};

}  // namespace zevra
