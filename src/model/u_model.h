// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TZevraModel: the one object through which the program uses the model. It
// owns the reference data (read once, at construction), the current input and
// the result of the last evaluation.
#pragma once

#include "model/u_DAO.h"
#include "model/u_assessment.h"
#include "model/u_outputdata.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

class TZevraModel {
public:
    // Reads the five reference files of `dataDir` in the order decile
    // distributions, municipality list, regions, sample, weights; throws the
    // reader's error when one is missing or broken.
    explicit TZevraModel(std::string dataDir) : TZevraModel(TZevraData(std::move(dataDir))) {}
    // The same through `data`, which may hold the files' bytes in memory.
    explicit TZevraModel(TZevraData data);

    TZevraInputData& Input() { return FInput; }
    const TZevraInputData& Input() const { return FInput; }
    // The result of the last Evaluate; nullptr until then and after NewInput.
    const TZevraOutputData* Output() const { return FOutput.get(); }

    const TZevraData& Data() const { return FData; }
    // Whether the data read are the shipped demonstration data, told once
    // when they were read: what every output says of its results.
    bool DemonstrationData() const { return FDemonstrationData; }
    const TZevraObyvatelstvoWeights& Weights() const { return FWeights; }
    const TZevraSampleMunicipalities& SampleMunicipalities() const { return FSampleMunicipalities; }
    const std::vector<TZevraKraj>& Kraje() const { return FKraje; }
    const std::vector<TZevraMunicipalityInfo>& MunicipalityInfos() const { return FMunicipalityInfos; }
    const std::vector<TZevraDecilDistribution>& DecilDistributions() const { return FDecilDistributions; }

    // Checks the current input. Either list may be null. With a null error
    // list the first error throws EZevraError with its "CHYBA: ..." line; with
    // a null warning list warnings are dropped.
    void Validate(std::vector<std::string>* errors, std::vector<std::string>* warnings) const {
        Validate(FInput, errors, warnings);
    }
    // The same for any input. The model is not changed, so threads may share
    // it for this and for Judge.
    void Validate(const TZevraInputData& input, std::vector<std::string>* errors,
                  std::vector<std::string>* warnings) const;

    // Validates `input` (the first error throws) and decides its evaluation;
    // an unknown region throws "Kraj s číslem %d nebyl nalezen v seznamu
    // krajů!".
    TZevraVerdict Judge(const TZevraInputData& input) const;

    // Evaluates the current input and replaces Output. On failure Output stays.
    // Without `findSimilar` the similar municipalities are not searched and
    // Output's list stays empty: the batch, which never shows them, saves the
    // larger part of an evaluation that way.
    void Evaluate(bool findSimilar = true);

    void LoadInput(const std::string& fileName);
    void SaveInput(const std::string& fileName) const;

    // A fresh input and no output.
    void NewInput();

    // The first region whose Region equals `code`, or nullptr.
    const TZevraKraj* FindKraj(int code) const;

    // Every municipality named `name`, folding only ASCII a-z; file order.
    // The entries belong to the model.
    std::vector<const TZevraMunicipalityInfo*> FindMunicipalities(std::string_view name) const;

    // The decile 1..10 of `value` for the indicator `code` (first distribution
    // of that code, compared without case); throws when none exists.
    int GetDecil(std::string_view code, double value) const;

    // The decile 1..10 of `value` against one distribution.
    static int DecilOf(const TZevraDecilDistribution& distribution, double value);

private:
    TZevraObyvatelstvoIndicators ComputeIndicators(const TZevraInputData& input, const TZevraKraj& kraj) const;
    void RankIndicators(const TZevraInputData& input, TZevraObyvatelstvoIndicators& indicators) const;
    // The decile of the indicator at `indicator` in kIndicatorCodes order.
    int IndicatorDecil(std::size_t indicator, double value) const;
    void FindSimilarMunicipalities(const TZevraInputData& input, const TZevraVerdict& verdict,
                                   TZevraOutputData& output) const;

    // What the similar-municipality search reads of each sample entry, packed
    // so that one pass over thousands of entries stays in the cache.
    struct TSampleKey {
        std::int32_t Index;  // in the sample
        std::int32_t Kod;
        std::int32_t ObyvateleCelkem;
        TDecils Decils;
        std::size_t ObecHash;  // of the name, for the test whether it is the evaluated one
    };

    static std::array<int, kIndicatorCount> NoDistributions() {
        std::array<int, kIndicatorCount> none{};
        none.fill(-1);
        return none;
    }

    TZevraData FData;
    bool FDemonstrationData = false;
    // Sorted by population (in sample order where equal).
    std::vector<TSampleKey> FSampleKeys;
    // Per indicator the index of the distribution GetDecil would choose, or
    // -1 (an index, so that a copy of the model stays right).
    std::array<int, kIndicatorCount> FIndicatorDistributions = NoDistributions();
    TZevraInputData FInput;
    std::unique_ptr<TZevraOutputData> FOutput;
    TZevraObyvatelstvoWeights FWeights;
    TZevraSampleMunicipalities FSampleMunicipalities;
    std::vector<TZevraKraj> FKraje;
    std::vector<TZevraMunicipalityInfo> FMunicipalityInfos;
    std::vector<TZevraDecilDistribution> FDecilDistributions;
};

}  // namespace zevra
