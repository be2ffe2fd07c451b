// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_object.h"

#include <cstdint>
#include <string>

namespace zevra {

// One entry of the list of all municipalities of the country.
class TZevraMunicipalityInfo : public TObjectEx {
public:
    const char* ClassName() const override { return "TZevraMunicipalityInfo"; }
    bool operator==(const TZevraMunicipalityInfo&) const = default;

    std::int32_t Kod = 0;
    std::string Obec;
    std::string Okres;
};

}  // namespace zevra
