// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_SampleMunicipalities.h"

namespace zevra {

void TZevraSampleMunicipalities::SetRanked(bool value) {
    if (!FItems.empty()) throw EZevraError("SetRanked() call on non empty list!");
    FRanked = value;
}

void TZevraSampleMunicipalities::Add(TZevraSampleMunicipality item) {
    if (FRanked) throw EZevraError("Rank required for a ranked list!");
    FItems.push_back(std::move(item));
}

void TZevraSampleMunicipalities::AddRanked(TZevraSampleMunicipality item, double rank) {
    if (!FRanked) throw EZevraError("Cannot rank on unranked list!");
    for (std::size_t i = 0; i < FRanks.size(); ++i) {
        if (FRanks[i] > rank) {
            FRanks.insert(FRanks.begin() + static_cast<std::ptrdiff_t>(i), rank);
            FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(i), std::move(item));
            const auto keep = static_cast<std::size_t>(std::max(FMaxCount, 0));
            if (FRanks.size() > keep) {
                FRanks.resize(keep);
                FItems.resize(keep);
            }
            return;
        }
    }
    if (static_cast<int>(FRanks.size()) < FMaxCount) {
        FRanks.push_back(rank);
        FItems.push_back(std::move(item));
    }
}

const TZevraSampleMunicipality* TZevraSampleMunicipalities::Items(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &FItems[static_cast<std::size_t>(index)];
}

double TZevraSampleMunicipalities::Ranks(int index) const {
    if (index < 0 || index >= static_cast<int>(FRanks.size())) return 99999;
    return FRanks[static_cast<std::size_t>(index)];
}

void TZevraSampleMunicipalities::Delete(int index) {
    if (index < 0) return;
    const auto i = static_cast<std::size_t>(index);
    if (i < FItems.size()) FItems.erase(FItems.begin() + index);
    if (i < FRanks.size()) FRanks.erase(FRanks.begin() + index);
}

void TZevraSampleMunicipalities::Clear() {
    FItems.clear();
    FRanks.clear();
}

}  // namespace zevra
