// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The limits of the model: what validation accepts and the ranges of the
// wizard's number fields. Both read them from here.
#pragma once

#include <cstdint>

namespace zevra::limits {

// Persons: inhabitants, economically active, unemployed, commuters.
constexpr std::int32_t kMinInhabitants = 1;
constexpr std::int32_t kMaxPersons = 9999999;
// The size the model is meant for; outside it validation warns.
constexpr std::int32_t kModelMinInhabitants = 500;
constexpr std::int32_t kModelMaxInhabitants = 3000;

// Metres above sea level, hectares.
constexpr double kMinAltitude = 115;
constexpr double kMaxAltitude = 1602;
constexpr double kMinCadastre = 1;
constexpr double kMaxCadastre = 99999.999;

constexpr std::int32_t kMaxTravelMinutes = 999;
constexpr std::int32_t kMaxDistrictKm = 999;
constexpr std::int32_t kMaxRoadMetres = 999999;
constexpr std::int32_t kMaxBusinesses = 999999;
constexpr std::int32_t kMaxEmployerStaff = 99999;

// The number fields take somewhat more than validation accepts, so that a
// value just outside a limit is reported instead of silently cut.
constexpr double kAltitudeFieldMax = 2000;
constexpr double kRoadFieldMaxKm = 999.999;
constexpr double kEmployerFieldMax = 999999;

}  // namespace zevra::limits
