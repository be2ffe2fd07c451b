// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_DAO.h"

#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <optional>
#include <tuple>
#include <string_view>

namespace zevra {
namespace {

// A conversion error inside a reference data file names the file and the
// line, so the user can find the damaged value.
std::string AtLine(std::string_view message, const std::string& path, std::size_t line) {
    return PathMessage(message, path, ", řádek " + FormatInt(static_cast<long long>(line)));
}

[[noreturn]] void RethrowWithLine(const std::exception& e, const std::string& path, std::size_t index) {
    throw EZevraError(AtLine(e.what(), path, index + 1));
}

// Reads the text of a reference file whose keys are `keys`; `path` names the
// file in messages. With `startKeyed`, key 0 is the start key: it completes
// the record being built and begins a new one; other keys set fields of the
// record being built and are skipped before the first start key. Without it
// the file is one record that exists before the first line.
// `set(record, index, value)` converts and stores the value of key `index`.
// A key given twice in one record is refused: which of the two the file meant
// cannot be told.
template <class Record, std::size_t N, class Setter>
std::vector<Record> ParseRecords(std::string_view text, const std::string& path, const std::array<const char*, N>& keys,
                                 bool startKeyed, Setter set, std::vector<TRecordLines>* lines) {
    static_assert(N <= std::tuple_size_v<decltype(TRecordLines::Keys)>);
    std::array<std::string, N> folded;
    for (std::size_t k = 0; k < N; ++k) folded[k] = AsciiLower(keys[k]);
    std::vector<Record> records;
    std::vector<TRecordLines> where;
    std::optional<Record> current;
    if (!startKeyed) {
        current.emplace();
        where.emplace_back();
    }
    std::string key, value;
    TLineCursor cursor(text);
    for (std::size_t i = 0; !cursor.AtEnd(); ++i) {
        if (!TZevraData::ParseKeyValue(cursor.Next(), key, value)) continue;
        LowerAsciiInPlace(key);
        std::size_t index = 0;
        while (index < N && key != folded[index]) ++index;
        if (index == N) continue;  // keys not listed for the file are ignored
        const auto line = static_cast<std::uint32_t>(i + 1);
        if (startKeyed && index == 0) {
            if (current) records.push_back(std::move(*current));
            current.emplace();
            where.emplace_back().Start = line;
        } else if (!current) {
            continue;
        }
        std::uint32_t& seen = where.back().Keys[index];
        if (seen != 0)
            throw EZevraError(AtLine("Chybná referenční data: klíč '" + std::string(keys[index]) +
                                         "' je v záznamu uveden podruhé (poprvé na řádku " + FormatInt(seen) + ")!",
                                     path, line));
        seen = line;
        if (!startKeyed) where.back().Start = line;
        try {
            set(*current, index, value);
        } catch (const EZevraError& e) {
            RethrowWithLine(e, path, i);
        }
    }
    if (current) records.push_back(std::move(*current));
    if (lines != nullptr) *lines = std::move(where);
    return records;
}

void SetDecilDistribution(TZevraDecilDistribution& r, std::size_t index, const std::string& value) {
    if (index == 0) {
        r.Indikator = value;
    } else if (index == 1) {
        r.Asc = value == "T";
    } else {
        r.Values[index - 2] = StrToFloat(value);
        r.ValuesRead |= 1u << (index - 2);
    }
}

void SetMunicipalityInfo(TZevraMunicipalityInfo& r, std::size_t index, const std::string& value) {
    switch (index) {
        case 0: r.Obec = value; break;
        case 1: r.Kod = StrToInt(value); break;
        default: r.Okres = value; break;
    }
}

void SetKraj(TZevraKraj& r, std::size_t index, const std::string& value) {
    switch (index) {
        case 0: r.Region = StrToInt(value); break;
        case 1: r.Nazev = value; break;
        case 2: r.RokOd = StrToInt(value); break;
        case 3: r.RokDo = StrToInt(value); break;
        default: r.NadmVyska = StrToFloat(value); break;
    }
}

void SetSampleMunicipality(TZevraSampleMunicipality& r, std::size_t index, const std::string& value) {
    switch (index) {
        case 0: r.Obec = value; break;
        case 1: r.Okres = value; break;
        case 2: r.KrajNazev = value; break;
        case 3: r.Kod = StrToInt(value); break;
        case 4: r.ObyvateleCelkem = StrToInt(value); break;
        case kSampMuniObyvatelstvoKey: r.Obyvatelstvo = StrToInt(value); break;
        default: r.*kIndicators[index - kSampMuniDecilKey].SampleDecil = StrToInt(value); break;
    }
}

void SetWeight(TZevraObyvatelstvoWeights& r, std::size_t index, const std::string& value) {
    if (index == 0) r.Id = StrToInt(value);
    else r.*kIndicators[index - 1].Weight = StrToFloat(value);
}

// The integer fields of the input data file, in the order they are written.
struct IntegerKey {
    const char* Key;
    std::int32_t TZevraInputData::*Field;
};
constexpr IntegerKey kPopulationKeys[] = {
    {"ObyvateleCelkem", &TZevraInputData::ObyvateleCelkem},
    {"ObyvateleEA", &TZevraInputData::ObyvateleEA},
    {"ObyvateleNezamestnani", &TZevraInputData::ObyvateleNezamestnani},
    {"ObyvateleVyjizdejici", &TZevraInputData::ObyvateleVyjizdejici},
};
constexpr IntegerKey kDistanceAndBusinessKeys[] = {
    {"KrMestoMin", &TZevraInputData::KrMestoMin},
    {"OkrMestoKm", &TZevraInputData::OkrMestoKm},
    {"Silnice1TrM", &TZevraInputData::Silnice1TrM},
    {"PodnikateleCelkem2006", &TZevraInputData::PodnikateleCelkem2006},
    {"PodnikateleRolnici2006", &TZevraInputData::PodnikateleRolnici2006},
    {"DominantniZamestnavatel", &TZevraInputData::DominantniZamestnavatel},
};

void SetInputField(TZevraInputData& r, const std::string& key, const std::string& value) {
    if (key == "inputdata") {
        r.Obec = value;
    } else if (key == "kraj") {
        r.Kraj = StrToInt(value);
    } else if (key == "kod") {
        r.Kod = StrToInt(value);
    } else if (key == "nadmvyska") {
        r.NadmVyska = StrToFloat(value);
    } else if (key == "katastrcelkem") {
        r.KatastrCelkem = StrToFloat(value);
    } else if (key == "vodovod") {
        r.Vodovod = value == "T" ? TTriBool::tbTrue : value == "F" ? TTriBool::tbFalse : TTriBool::tbUnknown;
    } else {
        for (const IntegerKey& k : kPopulationKeys) {
            if (key == AsciiLower(k.Key)) r.*k.Field = StrToInt(value);
        }
        for (const IntegerKey& k : kDistanceAndBusinessKeys) {
            if (key == AsciiLower(k.Key)) r.*k.Field = StrToInt(value);
        }
    }
}

const char* VodovodFlag(TTriBool value) {
    switch (value) {
        case TTriBool::tbTrue: return "T";
        case TTriBool::tbFalse: return "F";
        default: return "?";
    }
}

}  // namespace

std::string TZevraData::DataFilePath(std::string_view baseName) const {
    std::string path = FDataDir;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + std::string(baseName) + ".txt";
}

std::string TZevraData::MissingFileMessage(const std::string& path) {
    return PathMessage("Soubor potřebý pro běh programu nebyl nalezen!", path);
}

std::string TZevraData::ReadRequiredText(const std::string& path) {
    // A directory, FIFO or device under the name is not "missing": reading
    // refuses it with a message that says what it is.
    if (!PathExists(path)) throw EZevraError(MissingFileMessage(path));
    return ReadTextFile(path);
}

bool TZevraData::ParseKeyValue(std::string_view line, std::string& key, std::string& value) {
    if (IsBlank(line) || line.front() == '#') return false;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    // Assigned in place, so that the strings of a caller that reads many
    // lines keep their room.
    key.assign(TrimView(line.substr(0, eq)));
    value.assign(TrimView(line.substr(eq + 1)));
    return true;
}

bool TZevraData::HoldsDemonstrationData() const {
    if (!FBytes) return IsDemonstrationData(FDataDir);
    for (const std::string& bytes : *FBytes) {
        if (IsDemonstrationHead(bytes)) return true;
    }
    return false;
}

std::string TZevraData::ReferenceText(std::string_view baseName) const {
    if (FBytes) {
        for (std::size_t i = 0; i < kReferenceFileNames.size(); ++i) {
            if (baseName == kReferenceFileNames[i]) return DecodeFileText((*FBytes)[i]);
        }
    }
    return ReadRequiredText(DataFilePath(baseName));
}

std::vector<TZevraDecilDistribution> TZevraData::ParseDecilDists(std::string_view text, const std::string& path,
                                                                 std::vector<TRecordLines>* lines) {
    return ParseRecords<TZevraDecilDistribution>(text, path, kDecilDistKeys, true, SetDecilDistribution, lines);
}

std::vector<TZevraMunicipalityInfo> TZevraData::ParseMuniInfo(std::string_view text, const std::string& path,
                                                              std::vector<TRecordLines>* lines) {
    return ParseRecords<TZevraMunicipalityInfo>(text, path, kMuniInfoKeys, true, SetMunicipalityInfo, lines);
}

std::vector<TZevraKraj> TZevraData::ParseRegions(std::string_view text, const std::string& path,
                                                 std::vector<TRecordLines>* lines) {
    return ParseRecords<TZevraKraj>(text, path, kRegionKeys, true, SetKraj, lines);
}

TZevraSampleMunicipalities TZevraData::ParseSampMuni(std::string_view text, const std::string& path,
                                                     std::vector<TRecordLines>* lines) {
    TZevraSampleMunicipalities sample;
    for (auto& m :
         ParseRecords<TZevraSampleMunicipality>(text, path, kSampMuniKeys, true, SetSampleMunicipality, lines)) {
        sample.Add(std::move(m));
    }
    return sample;
}

TZevraObyvatelstvoWeights TZevraData::ParseOWeights(std::string_view text, const std::string& path,
                                                    TRecordLines* lines) {
    std::vector<TRecordLines> where;
    auto records = ParseRecords<TZevraObyvatelstvoWeights>(text, path, kOWeightsKeys, false, SetWeight, &where);
    if (lines != nullptr) *lines = where.front();
    return std::move(records.front());
}

std::vector<TZevraDecilDistribution> TZevraData::LoadDecilDists(std::vector<TRecordLines>* lines) const {
    return ParseDecilDists(ReferenceText("DecilDists"), DataFilePath("DecilDists"), lines);
}

std::vector<TZevraMunicipalityInfo> TZevraData::LoadMuniInfo(std::vector<TRecordLines>* lines) const {
    return ParseMuniInfo(ReferenceText("MuniInfo"), DataFilePath("MuniInfo"), lines);
}

std::vector<TZevraKraj> TZevraData::LoadRegions(std::vector<TRecordLines>* lines) const {
    return ParseRegions(ReferenceText("Regions"), DataFilePath("Regions"), lines);
}

TZevraSampleMunicipalities TZevraData::LoadSampMuni(std::vector<TRecordLines>* lines) const {
    return ParseSampMuni(ReferenceText("SampMuni"), DataFilePath("SampMuni"), lines);
}

TZevraObyvatelstvoWeights TZevraData::LoadOWeights(TRecordLines* lines) const {
    return ParseOWeights(ReferenceText("OWeights"), DataFilePath("OWeights"), lines);
}

TZevraInputData TZevraData::LoadInputData(const std::string& fileName) const {
    if (!PathExists(fileName)) throw EZevraError(MissingFileMessage(fileName));
    return ParseInputData(ReadFileBytes(fileName));
}

TZevraInputData TZevraData::ParseInputData(std::string_view bytes) {
    TZevraInputData input;
    std::string key, value;
    for (const std::string& line : SplitLines(DecodeFileText(bytes))) {
        if (ParseKeyValue(line, key, value)) SetInputField(input, AsciiLower(key), value);
    }
    return input;
}

void TZevraData::SaveInputData(const TZevraInputData& input, const std::string& fileName) const {
    SaveFile(fileName, InputDataFileBytes(input));
}

std::string TZevraData::InputDataFileBytes(const TZevraInputData& input) {
    std::string text = "# Vstupni data modelu ZEVRA\r\n\r\n";
    auto line = [&text](const char* key, const std::string& value) { text += std::string(key) + "=" + value + "\r\n"; };
    line("InputData", input.Obec);
    line("Kraj", FormatInt(input.Kraj));
    if (input.Kod > 0) line("Kod", FormatInt(input.Kod));
    for (const IntegerKey& k : kPopulationKeys) line(k.Key, FormatInt(input.*k.Field));
    line("NadmVyska", FormatReal23(input.NadmVyska));
    line("KatastrCelkem", FormatReal23(input.KatastrCelkem));
    for (const IntegerKey& k : kDistanceAndBusinessKeys) line(k.Key, FormatInt(input.*k.Field));
    line("Vodovod", VodovodFlag(input.Vodovod));
    std::string bytes = Utf8ToCp1250(text);
    // A rare name (no Czech one) whose code page 1250 bytes happen to read as
    // UTF-8 would come back as other letters; such a file is written in UTF-8
    // with its mark instead, so that it always reads back as written.
    const std::string written = Cp1250ToUtf8(bytes);
    if (DecodeFileText(bytes) != written) bytes = "\xEF\xBB\xBF" + written;
    return bytes;
}

}  // namespace zevra
