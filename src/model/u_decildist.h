// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_object.h"

#include <array>
#include <string>

namespace zevra {

// The decile boundaries of one partial indicator.
class TZevraDecilDistribution : public TObjectEx {
public:
    const char* ClassName() const override { return "TZevraDecilDistribution"; }
    bool operator==(const TZevraDecilDistribution&) const = default;

    std::string Indikator;  // "dck", "dvo", "vs1", "nvr", "vkt", "vea" or "rps"
    bool Asc = true;        // false: the decile is reversed (11 minus the position)
    // Values[0] is Value1 (between deciles 1 and 2) ... Values[8] is Value9.
    std::array<double, 9> Values{};
    // Bit k set: the file gave Value(k+1). A list cut short is told from
    // boundaries that are really 0.
    unsigned ValuesRead = 0;
};

}  // namespace zevra
