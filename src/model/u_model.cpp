#include "model/u_model.h"

#include "model/u_indicators.h"
#include "model/u_text.h"

namespace zevra {

TZevraModel::TZevraModel(std::string dataDir) : FData(std::move(dataDir)) {
    FDecilDistributions = FData.LoadDecilDists();
    FMunicipalityInfos = FData.LoadMuniInfo();
    FKraje = FData.LoadRegions();
    FSampleMunicipalities = FData.LoadSampMuni();
    FSampleKeys.reserve(static_cast<std::size_t>(FSampleMunicipalities.Count()));
    for (int i = 0; i < FSampleMunicipalities.Count(); ++i) {
        const TZevraSampleMunicipality& m = *FSampleMunicipalities.Items(i);
        FSampleKeys.push_back({m.Kod, m.ObyvateleCelkem, DecilsOf(m)});
    }
    FWeights = FData.LoadOWeights();
}

void TZevraModel::LoadInput(const std::string& fileName) { FInput = FData.LoadInputData(fileName); }

void TZevraModel::SaveInput(const std::string& fileName) const { FData.SaveInputData(FInput, fileName); }

void TZevraModel::NewInput() {
    FInput = TZevraInputData{};
    FOutput.reset();
}

const TZevraKraj* TZevraModel::FindKraj(int code) const {
    for (const TZevraKraj& kraj : FKraje) {
        if (kraj.Region == code) return &kraj;
    }
    return nullptr;
}

std::vector<const TZevraMunicipalityInfo*> TZevraModel::FindMunicipalities(std::string_view name) const {
    std::vector<const TZevraMunicipalityInfo*> found;
    const std::string wanted = AsciiUpper(name);
    for (const TZevraMunicipalityInfo& info : FMunicipalityInfos) {
        if (AsciiUpper(info.Obec) == wanted) found.push_back(&info);
    }
    return found;
}

}  // namespace zevra
