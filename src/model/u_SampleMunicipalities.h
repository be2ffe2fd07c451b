// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/u_object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zevra {

// One municipality of the reference sample, with its known deciles.
class TZevraSampleMunicipality : public TObjectEx {
public:
    const char* ClassName() const override { return "TZevraSampleMunicipality"; }
    bool operator==(const TZevraSampleMunicipality&) const = default;

    std::string Obec;
    std::string Okres;
    std::string KrajNazev;  // region name, comparable with TZevraKraj::Nazev
    double Obyvatelstvo = 0;
    std::int32_t DecilDck = 0, DecilDvo = 0, DecilVs1 = 0, DecilNvr = 0, DecilVkt = 0, DecilVea = 0,
                 DecilRps = 0;
    std::int32_t Kod = 0;
    std::int32_t ObyvateleCelkem = 0;
};

// A list of sample municipalities, either plain (the reference sample in file
// order) or ranked (the similar municipalities of one evaluation, kept sorted
// by rank, lowest first, at most MaxCount entries). The list owns its entries.
class TZevraSampleMunicipalities : public TObjectEx {
public:
    TZevraSampleMunicipalities() = default;
    explicit TZevraSampleMunicipalities(int maxCount) : FMaxCount(maxCount) {}
    const char* ClassName() const override { return "TZevraSampleMunicipalities"; }

    bool Ranked() const { return FRanked; }
    int MaxCount() const { return FMaxCount; }

    // Allowed only while the list is empty ("SetRanked() call on non empty list!").
    void SetRanked(bool value);

    // Appends to a plain list ("Rank required for a ranked list!" on a ranked one).
    void Add(TZevraSampleMunicipality item);

    // Inserts into a ranked list after every entry of a rank not above `rank`;
    // a full list drops its last entry, or the new one when it ranks last.
    // "Cannot rank on unranked list!" on a plain list.
    void AddRanked(TZevraSampleMunicipality item, double rank);

    int Count() const { return static_cast<int>(FItems.size()); }

    // The entry at `index`, or nullptr at or past the end.
    const TZevraSampleMunicipality* Items(int index) const;

    // The rank at `index`; 99999 at or past the end of the ranks.
    double Ranks(int index) const;

    void Delete(int index);
    void Clear();

private:
    bool FRanked = false;
    int FMaxCount = 0;
    std::vector<TZevraSampleMunicipality> FItems;
    std::vector<double> FRanks;
};

}  // namespace zevra
