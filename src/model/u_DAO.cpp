// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_DAO.h"

#include "model/u_format.h"
#include "model/u_indicators.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <optional>
#include <string_view>

namespace zevra {
namespace {

// Index 0..6 of a lower-case indicator code, or -1.
int DecilCodeIndex(std::string_view key) {
    for (std::size_t i = 0; i < kIndicatorCodes.size(); ++i) {
        if (key == kIndicatorCodes[i]) return static_cast<int>(i);
    }
    return -1;
}

// Reads a record file: a line with the start key completes the record being
// built and begins a new one; other keys set fields of the record being built
// and are skipped before the first start key. `set` returns nothing and
// converts the value for the keys it knows (keys are lower case).
// A conversion error inside a reference data file names the file and the
// line, so the user can find the damaged value.
[[noreturn]] void RethrowWithLine(const std::exception& e, const std::string& path, std::size_t index) {
    throw EZevraError(std::string(e.what()) + "\r\n[" + path + ", řádek " + FormatInt(static_cast<long long>(index + 1)) +
                      "]");
}

template <class Record, class Setter>
std::vector<Record> LoadRecords(const std::string& path, const std::string& startKey, Setter set) {
    std::vector<Record> records;
    std::optional<Record> current;
    std::string key, value;
    const std::string text = TZevraData::ReadRequiredText(path);
    TLineCursor lines(text);
    for (std::size_t i = 0; !lines.AtEnd(); ++i) {
        if (!TZevraData::ParseKeyValue(lines.Next(), key, value)) continue;
        LowerAsciiInPlace(key);
        if (key == startKey) {
            if (current) records.push_back(std::move(*current));
            current.emplace();
        } else if (!current) {
            continue;
        }
        try {
            set(*current, key, value);
        } catch (const EZevraError& e) {
            RethrowWithLine(e, path, i);
        }
    }
    if (current) records.push_back(std::move(*current));
    return records;
}

void SetDecilDistribution(TZevraDecilDistribution& r, std::string_view key, const std::string& value) {
    if (key == "decildist") {
        r.Indikator = value;
    } else if (key == "asc") {
        r.Asc = value == "T";
    } else if (key.size() == 6 && key.starts_with("value") && key[5] >= '1' && key[5] <= '9') {
        r.Values[static_cast<std::size_t>(key[5] - '1')] = StrToFloat(value);
        r.ValuesRead |= 1u << (key[5] - '1');
    }
}

void SetMunicipalityInfo(TZevraMunicipalityInfo& r, std::string_view key, const std::string& value) {
    if (key == "obec") r.Obec = value;
    else if (key == "kod") r.Kod = StrToInt(value);
    else if (key == "okres") r.Okres = value;
}

void SetKraj(TZevraKraj& r, std::string_view key, const std::string& value) {
    if (key == "region") r.Region = StrToInt(value);
    else if (key == "nazev") r.Nazev = value;
    else if (key == "rokod") r.RokOd = StrToInt(value);
    else if (key == "rokdo") r.RokDo = StrToInt(value);
    else if (key == "nadmvyska") r.NadmVyska = StrToFloat(value);
}

void SetSampleMunicipality(TZevraSampleMunicipality& r, std::string_view key, const std::string& value) {
    std::int32_t* const decils[] = {&r.DecilDck, &r.DecilDvo, &r.DecilVs1, &r.DecilNvr,
                                    &r.DecilVkt, &r.DecilVea, &r.DecilRps};
    if (key == "obec") r.Obec = value;
    else if (key == "okres") r.Okres = value;
    else if (key == "kraj") r.KrajNazev = value;
    else if (key == "kod") r.Kod = StrToInt(value);
    else if (key == "obyvatelecelkem") r.ObyvateleCelkem = StrToInt(value);
    else if (key == "obyvatelstvo") r.Obyvatelstvo = StrToInt(value);
    else if (const int i = DecilCodeIndex(key); i >= 0) *decils[i] = StrToInt(value);
}

void SetWeight(TZevraObyvatelstvoWeights& r, std::string_view key, const std::string& value) {
    double* const weights[] = {&r.Dck, &r.Dvo, &r.Vs1, &r.Nvr, &r.Vkt, &r.Vea, &r.Rps};
    if (key == "oweights") r.Id = StrToInt(value);
    else if (const int i = DecilCodeIndex(key); i >= 0) *weights[i] = StrToFloat(value);
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
    return "Soubor potřebý pro běh programu nebyl nalezen!\r\n[" + path + "]";
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

std::vector<TZevraDecilDistribution> TZevraData::LoadDecilDists() const {
    return LoadRecords<TZevraDecilDistribution>(DataFilePath("DecilDists"), "decildist", SetDecilDistribution);
}

std::vector<TZevraMunicipalityInfo> TZevraData::LoadMuniInfo() const {
    return LoadRecords<TZevraMunicipalityInfo>(DataFilePath("MuniInfo"), "obec", SetMunicipalityInfo);
}

std::vector<TZevraKraj> TZevraData::LoadRegions() const {
    return LoadRecords<TZevraKraj>(DataFilePath("Regions"), "region", SetKraj);
}

TZevraSampleMunicipalities TZevraData::LoadSampMuni() const {
    TZevraSampleMunicipalities sample;
    for (auto& m : LoadRecords<TZevraSampleMunicipality>(DataFilePath("SampMuni"), "obec", SetSampleMunicipality)) {
        sample.Add(std::move(m));
    }
    return sample;
}

TZevraObyvatelstvoWeights TZevraData::LoadOWeights() const {
    TZevraObyvatelstvoWeights weights;
    std::string key, value;
    const std::string path = DataFilePath("OWeights");
    const std::string text = ReadRequiredText(path);
    TLineCursor lines(text);
    for (std::size_t i = 0; !lines.AtEnd(); ++i) {
        if (!ParseKeyValue(lines.Next(), key, value)) continue;
        try {
            LowerAsciiInPlace(key);
            SetWeight(weights, key, value);
        } catch (const EZevraError& e) {
            RethrowWithLine(e, path, i);
        }
    }
    return weights;
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
