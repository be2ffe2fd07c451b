// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the five reference data files, their loaders and the
// checks of the loaded data. The first byte of the input chooses the file
// (DecilDists, MuniInfo, Regions, SampMuni, OWeights, by its value modulo 5);
// the rest is that file's content, beside intact copies of the other four.
// The property: either the model is built and every number it then computes
// for sound inputs (indicators, deciles, the integrated indicator, the
// sensitivity figures) is finite and in its range, or the model refuses the
// data with a Czech message naming the damaged file. No crash. (Data that
// lack an indicator's distribution load, and every evaluation is refused
// with "Decilace indikátoru není k dispozici!": that is the model's rule.)
//
// The data lie in memory (TZevraData over the files' bytes, parsed and
// checked by the same code as the folder's files): no file is written or read
// per input. MuniInfo and SampMuni are cut to their first records so that
// the intact files cost little to parse.
#include "model/u_DAO.h"
#include "model/u_format.h"
#include "model/u_indicators.h"
#include "model/u_limits.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"

#include "fuzz_support.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zevra::fuzz::Check;

constexpr const auto& kFiles = zevra::kReferenceFileNames;
// At most this many regions are tried per input.
constexpr std::size_t kRegionsTried = 3;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The lines of `text` that are neither comments nor blank, up to the
// (`kept` + 1)-th line that starts with `startKey` (all of them when it is
// empty): every input parses the four intact files, and only what it can
// reach is worth their cost.
std::string FirstRecords(const std::string& text, std::string_view startKey, std::size_t kept) {
    std::string lean;
    std::size_t found = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        const std::string_view line(text.data() + at, end - at);
        at = end;
        if (line.starts_with('#') || zevra::IsBlank(line)) continue;
        if (!startKey.empty() && line.starts_with(startKey) && ++found > kept) break;
        lean += line;
    }
    return lean;
}

// The intact files, read once; of the long ones the first records only.
const zevra::TReferenceBytes& Intact() {
    static const zevra::TReferenceBytes intact = [] {
        zevra::TReferenceBytes bytes;
        for (std::size_t i = 0; i < kFiles.size(); ++i) {
            const std::string text = ReadAll(std::string(ZEVRA_FUZZ_DATA_DIR) + "/" + kFiles[i] + ".txt");
            const std::string_view name = kFiles[i];
            const bool muni = name == "MuniInfo" || name == "SampMuni";
            bytes[i] = FirstRecords(text, muni ? "Obec=" : name == "Regions" ? "Region=" : "",
                                    muni ? 2 : kRegionsTried);
        }
        return bytes;
    }();
    return intact;
}

// Sound inputs: the two examples and the ends of the allowed ranges.
const std::vector<zevra::TZevraInputData>& SoundInputs() {
    static const std::vector<zevra::TZevraInputData> inputs = [] {
        std::vector<zevra::TZevraInputData> list;
        for (const char* name : {"obec.txt", "znevyhodnena-obec.txt"})
            list.push_back(zevra::TZevraData::ParseInputData(ReadAll(std::string(ZEVRA_FUZZ_EXAMPLES_DIR) + "/" + name)));
        zevra::TZevraInputData high = list.front();
        high.NadmVyska = zevra::limits::kMaxAltitude;
        high.KatastrCelkem = zevra::limits::kMaxCadastre;
        high.KrMestoMin = zevra::limits::kMaxTravelMinutes;
        high.OkrMestoKm = zevra::limits::kMaxDistrictKm;
        high.Silnice1TrM = zevra::limits::kMaxRoadMetres;
        list.push_back(high);
        zevra::TZevraInputData low = list.front();
        low.NadmVyska = zevra::limits::kMinAltitude;
        low.KatastrCelkem = zevra::limits::kMinCadastre;
        low.KrMestoMin = 0;
        low.OkrMestoKm = 0;
        low.Silnice1TrM = 0;
        list.push_back(low);
        return list;
    }();
    return inputs;
}

// "Obyvatelstvo" is the deciles (1 to 10) weighted by per-cent shares: its
// bands 0-400, 400-700 and 700-1000 assume shares adding up to 100, which
// rounded shares may miss by 1.
bool Plausible(double obyvatelstvo) { return std::isfinite(obyvatelstvo) && obyvatelstvo >= 99 && obyvatelstvo <= 1010; }

bool IsDecil(std::int32_t decil) { return decil >= 1 && decil <= 10; }

void CheckVerdict(const zevra::TZevraVerdict& verdict, const zevra::TZevraModel& model) {
    const zevra::TZevraObyvatelstvoIndicators& ind = verdict.Indicators;
    for (const double value : {ind.Dck, ind.Dvo, ind.Vs1, ind.Nvr, ind.Vkt, ind.Vea, ind.Rps})
        Check(std::isfinite(value));
    const zevra::TDecils decils = zevra::DecilsOf(ind);
    for (const std::int32_t decil : decils) Check(IsDecil(decil));
    Check(Plausible(verdict.Obyvatelstvo));

    zevra::TSensitivitySettings settings;
    settings.Draws = 16;
    const zevra::TSensitivityResult s =
        zevra::AnalyseSensitivity(decils, zevra::WeightsInOrder(model.Weights()), settings);
    for (const double value : {s.Obyvatelstvo, s.Percentile5, s.Percentile95, s.Minimum, s.Maximum})
        Check(Plausible(value));
    for (const zevra::TOneAtATime& o : s.OneAtATime) Check(Plausible(o.ObyvatelstvoLow) && Plausible(o.ObyvatelstvoHigh));
}

bool HasEveryDistribution(const zevra::TZevraModel& model) {
    for (const std::string_view code : zevra::kIndicatorCodes) {
        bool found = false;
        for (const zevra::TZevraDecilDistribution& d : model.DecilDistributions())
            found = found || zevra::SameAsciiCaseless(d.Indikator, code);
        if (!found) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t file = data[0] % kFiles.size();
    zevra::TReferenceBytes bytes = Intact();
    bytes[file].assign(zevra::fuzz::Bytes(data + 1, size - 1));

    std::unique_ptr<zevra::TZevraModel> model;
    try {
        model = std::make_unique<zevra::TZevraModel>(zevra::TZevraData(ZEVRA_FUZZ_DATA_DIR, std::move(bytes)));
    } catch (const zevra::EZevraError& e) {
        const std::string message = e.what();
        // ZEVRA_FUZZ_VERBOSE=1 shows each refusal, to see why a reproducer fails.
        if (std::getenv("ZEVRA_FUZZ_VERBOSE") != nullptr) std::fprintf(stderr, "%s\n", message.c_str());
        // A Czech message (a letter with a diacritic) that names the file.
        Check(message.find(std::string(kFiles[file]) + ".txt") != std::string::npos);
        Check(message.find_first_of("\xC3\xC4\xC5") != std::string::npos);
        Check(zevra::IsValidUtf8(message));
        return 0;
    }

    std::size_t tried = 0;
    for (const zevra::TZevraKraj& kraj : model->Kraje()) {
        if (tried++ == kRegionsTried) break;
        for (zevra::TZevraInputData input : SoundInputs()) {
            input.Kraj = kraj.Region;
            std::vector<std::string> errors;
            model->Validate(input, &errors, nullptr);
            if (!errors.empty()) continue;
            try {
                CheckVerdict(model->Judge(input), *model);
            } catch (const zevra::EZevraError& e) {
                // Data without the distribution of an indicator load; each
                // evaluation is then refused with this message.
                Check(std::string_view(e.what()).starts_with("Decilace indikátoru není k dispozici!"));
                Check(!HasEveryDistribution(*model));
            }
        }
    }
    return 0;
}
