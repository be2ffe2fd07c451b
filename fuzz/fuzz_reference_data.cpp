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
// The model reads its files from a folder only, so the folder lies in
// memory-backed temporary space and only the fuzzed file is rewritten per
// input; MuniInfo and SampMuni are cut to their first records so that the
// intact files cost little to read.
#include "model/u_DAO.h"
#include "model/u_format.h"
#include "model/u_indicators.h"
#include "model/u_limits.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"

#include "fuzz_support.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using zevra::fuzz::Check;

constexpr std::array<const char*, 5> kFiles = {"DecilDists", "MuniInfo", "Regions", "SampMuni", "OWeights"};
// The records kept of the two long files.
constexpr std::size_t kKeptRecords = 6;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    Check(static_cast<bool>(out));
}

// The text before the (kKeptRecords + 1)-th line that starts with `startKey`.
std::string FirstRecords(const std::string& text, std::string_view startKey) {
    std::size_t found = 0;
    for (std::size_t at = 0; (at = text.find(startKey, at)) != std::string::npos; at += startKey.size()) {
        if (at > 0 && text[at - 1] != '\n') continue;
        if (++found > kKeptRecords) return text.substr(0, at);
    }
    return text;
}

// The data folder: intact files, one of which each input replaces.
class TDataFolder {
public:
    TDataFolder() {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/zevra-fuzz-data-XXXXXX";
        Check(::mkdtemp(pattern.data()) != nullptr);
        FDir = pattern;
        for (std::size_t i = 0; i < kFiles.size(); ++i) {
            const std::string text = ReadAll(std::string(ZEVRA_FUZZ_DATA_DIR) + "/" + kFiles[i] + ".txt");
            const std::string_view name = kFiles[i];
            FIntact[i] = name == "MuniInfo" || name == "SampMuni" ? FirstRecords(text, "Obec=") : text;
            WriteAll(Path(i), FIntact[i]);
        }
    }
    ~TDataFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(FDir, ignored);
    }
    TDataFolder(const TDataFolder&) = delete;
    TDataFolder& operator=(const TDataFolder&) = delete;

    const std::string& Dir() const { return FDir; }
    std::string Path(std::size_t file) const { return FDir + "/" + kFiles[file] + ".txt"; }

    // Every file intact but `file`, which holds `content`.
    void Replace(std::size_t file, std::string_view content) {
        if (FReplaced < kFiles.size() && FReplaced != file) WriteAll(Path(FReplaced), FIntact[FReplaced]);
        WriteAll(Path(file), content);
        FReplaced = file;
    }

private:
    std::string FDir;
    std::array<std::string, kFiles.size()> FIntact;
    std::size_t FReplaced = kFiles.size();
};

TDataFolder& Folder() {
    static TDataFolder folder;
    return folder;
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

// At most this many regions are tried per input.
constexpr std::size_t kRegionsTried = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t file = data[0] % kFiles.size();
    TDataFolder& folder = Folder();
    folder.Replace(file, zevra::fuzz::Bytes(data + 1, size - 1));

    std::unique_ptr<zevra::TZevraModel> model;
    try {
        model = std::make_unique<zevra::TZevraModel>(folder.Dir());
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
