// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_object.h"

#include <cstdint>
#include <string>

namespace zevra {

// The input of one municipality: entered in the wizard, read from an input
// data file or taken from one row of a batch file.
class TZevraInputData : public TObjectEx {
public:
    const char* ClassName() const override { return "TZevraInputData"; }
    bool operator==(const TZevraInputData&) const = default;

    std::string Obec;                        // municipality name
    std::int32_t Kraj = -1;                  // region number; -1 = no region chosen
    std::int32_t Kod = 0;                    // municipality code; 0 = not given
    double NadmVyska = 0;                    // average altitude, metres
    TTriBool Vodovod = TTriBool::tbUnknown;  // connected to a long-distance water main
    std::int32_t ObyvateleCelkem = 0;
    std::int32_t ObyvateleEA = 0;            // economically active (2001 census)
    std::int32_t ObyvateleNezamestnani = 0;  // of them unemployed
    std::int32_t ObyvateleVyjizdejici = 0;   // of them commuting out to work
    std::int32_t PodnikateleCelkem2006 = 0;  // business entities
    std::int32_t PodnikateleRolnici2006 = 0; // of them self-employed farmers
    std::int32_t DominantniZamestnavatel = 0;  // employees of the largest employer
    std::int32_t OkrMestoKm = 0;             // distance to the district town, km
    std::int32_t KrMestoMin = 0;             // travel time to the regional city, minutes
    std::int32_t Silnice1TrM = 0;            // distance to a first-class road, metres
    double KatastrCelkem = 0;                // cadastral area, hectares
};

}  // namespace zevra
