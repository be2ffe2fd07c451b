// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The limits of the model: what validation accepts, the ranges of the
// wizard's number fields, and what reference data may hold. All read them
// from here.
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

// Plausible ranges of the numbers read from the reference data, inclusive.
// Sound data never leave them; a value outside (a boundary that no indicator
// value can reach, a weight larger than the whole, an average altitude that
// no municipality of the country has) comes from a damaged or wrongly edited
// file and would give a plausible wrong verdict, so the data are refused.
struct TPlausibleRange {
    double Min;
    double Max;
};

// Decile boundaries: each indicator's range is kept in its entry of the
// indicator table (model/u_indicators.h).
// A weight is the per-cent share of its indicator in "Obyvatelstvo", whose
// bands (400 and 700 of 1000 with deciles 1 to 10) assume shares adding up to
// 100; rounded shares may miss it a little.
inline constexpr TPlausibleRange kWeightRange{0, 100};
inline constexpr TPlausibleRange kWeightSumRange{99, 101};
// A region's average altitude lies between the lowest and the highest
// altitude a municipality may have.
inline constexpr TPlausibleRange kRegionAltitudeRange{kMinAltitude, kMaxAltitude};
// Region numbers: -1 stands for "no region" in an input.
inline constexpr TPlausibleRange kRegionNumberRange{0, 9999};
// Municipality codes have at most six digits; 0 in the sample means unknown.
inline constexpr TPlausibleRange kMunicipalityCodeRange{1, 999999};
inline constexpr TPlausibleRange kSampleCodeRange{0, 999999};
// A sample municipality's known deciles, population and "Obyvatelstvo".
inline constexpr TPlausibleRange kSampleDecilRange{1, 10};
inline constexpr TPlausibleRange kSamplePopulationRange{kMinInhabitants, kMaxPersons};
inline constexpr TPlausibleRange kSampleObyvatelstvoRange{0, 1000};

}  // namespace zevra::limits
