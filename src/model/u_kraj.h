// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_object.h"

#include <cstdint>
#include <string>

namespace zevra {

// One region.
class TZevraKraj : public TObjectEx {
public:
    const char* ClassName() const override { return "TZevraKraj"; }
    bool operator==(const TZevraKraj&) const = default;

    std::int32_t Region = -1;  // the number by which inputs refer to the region
    std::string Nazev;         // name shown in the region list and the report
    std::int32_t RokOd = 1960;
    std::int32_t RokDo = 2999;
    double NadmVyska = 0;      // average altitude of the region, metres
};

}  // namespace zevra
