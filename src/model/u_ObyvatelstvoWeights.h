// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_object.h"

#include <cstdint>

namespace zevra {

// The weights of the partial indicators in the integrated indicator.
class TZevraObyvatelstvoWeights : public TObjectEx {
public:
    const char* ClassName() const override { return "TZevraObyvatelstvoWeights"; }
    bool operator==(const TZevraObyvatelstvoWeights&) const = default;

    std::int32_t Id = 0;
    double Dck = 0, Dvo = 0, Vs1 = 0, Nvr = 0, Vkt = 0, Vea = 0, Rps = 0;
};

}  // namespace zevra
