// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TZevraData: reads the five reference data files and reads and writes the
// input data file of one municipality. It keeps no state but the folder of the
// data files; every read returns a new collection owned by the caller.
#pragma once

#include "model/u_MunicipalityInfo.h"
#include "model/u_ObyvatelstvoWeights.h"
#include "model/u_SampleMunicipalities.h"
#include "model/u_decildist.h"
#include "model/u_indicators.h"
#include "model/u_inputdata.h"
#include "model/u_kraj.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

// The keys of each reference file in the case they are written in; a
// record's lines (TRecordLines::Keys) are indexed by these lists.
inline constexpr std::array<const char*, 11> kDecilDistKeys = {
    "DecilDist", "Asc", "Value1", "Value2", "Value3", "Value4", "Value5", "Value6", "Value7", "Value8", "Value9"};
inline constexpr std::array<const char*, 3> kMuniInfoKeys = {"Obec", "Kod", "Okres"};
inline constexpr std::array<const char*, 5> kRegionKeys = {"Region", "Nazev", "RokOd", "RokDo", "NadmVyska"};
// A sample municipality: five keys, the deciles under the indicator codes,
// then "Obyvatelstvo".
constexpr std::size_t kSampMuniDecilKey = 5;
constexpr std::size_t kSampMuniObyvatelstvoKey = kSampMuniDecilKey + kIndicatorCount;
inline constexpr std::array<const char*, kSampMuniObyvatelstvoKey + 1> kSampMuniKeys = [] {
    std::array<const char*, kSampMuniObyvatelstvoKey + 1> keys = {"Obec", "Okres", "Kraj", "Kod", "ObyvateleCelkem"};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) keys[kSampMuniDecilKey + k] = kIndicatorCodes[k];
    keys[kSampMuniObyvatelstvoKey] = "Obyvatelstvo";
    return keys;
}();
// The weights: the start key, then the weights under the indicator codes.
inline constexpr std::array<const char*, 1 + kIndicatorCount> kOWeightsKeys = [] {
    std::array<const char*, 1 + kIndicatorCount> keys = {"OWeights"};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) keys[1 + k] = kIndicatorCodes[k];
    return keys;
}();

// The five reference files by base name (the file is the name + ".txt"), in
// the order the model reads them.
inline constexpr std::array<const char*, 5> kReferenceFileNames = {"DecilDists", "MuniInfo", "Regions", "SampMuni",
                                                                    "OWeights"};
// The raw bytes of the five reference files, in kReferenceFileNames order.
using TReferenceBytes = std::array<std::string, kReferenceFileNames.size()>;

// Where one record of a reference file was read, so that a check of the
// loaded data can name the line of a damaged value: Keys[i] is the line
// (from 1) of the file's key i, 0 when the record has no such line. Start is
// the line of the record's start key; for the weights file, which has none,
// the last line that holds a key.
struct TRecordLines {
    std::uint32_t Start = 0;
    std::array<std::uint32_t, 16> Keys{};
};

class TZevraData {
public:
    explicit TZevraData(std::string dataDir) : FDataDir(std::move(dataDir)) {}
    // Reference data held in memory: each read takes its file's bytes from
    // `bytes` instead of the folder, decoded and parsed as the file would be.
    // `dataDir` still names the files in messages.
    TZevraData(std::string dataDir, TReferenceBytes bytes)
        : FDataDir(std::move(dataDir)), FBytes(std::make_shared<const TReferenceBytes>(std::move(bytes))) {}

    const std::string& DataDir() const { return FDataDir; }
    // Whether the reference data are the shipped demonstration data
    // (IsDemonstrationData of the folder, or of the bytes in memory).
    bool HoldsDemonstrationData() const;

    // Each read fails with EZevraError: the missing-file message, a conversion
    // error naming the value, the file and the line, a key given twice in one
    // record (a file edited by hand or joined from two would otherwise keep
    // whichever came last), or an input/output error. `lines`, when given,
    // receives where each record's keys stand, one entry per record.
    std::vector<TZevraDecilDistribution> LoadDecilDists(std::vector<TRecordLines>* lines = nullptr) const;
    std::vector<TZevraMunicipalityInfo> LoadMuniInfo(std::vector<TRecordLines>* lines = nullptr) const;
    std::vector<TZevraKraj> LoadRegions(std::vector<TRecordLines>* lines = nullptr) const;
    TZevraSampleMunicipalities LoadSampMuni(std::vector<TRecordLines>* lines = nullptr) const;
    TZevraObyvatelstvoWeights LoadOWeights(TRecordLines* lines = nullptr) const;

    // The same reads from a file's decoded text; `path` names the file in
    // messages. The reads above are these on the text of their file.
    static std::vector<TZevraDecilDistribution> ParseDecilDists(std::string_view text, const std::string& path,
                                                                std::vector<TRecordLines>* lines = nullptr);
    static std::vector<TZevraMunicipalityInfo> ParseMuniInfo(std::string_view text, const std::string& path,
                                                             std::vector<TRecordLines>* lines = nullptr);
    static std::vector<TZevraKraj> ParseRegions(std::string_view text, const std::string& path,
                                                std::vector<TRecordLines>* lines = nullptr);
    static TZevraSampleMunicipalities ParseSampMuni(std::string_view text, const std::string& path,
                                                    std::vector<TRecordLines>* lines = nullptr);
    static TZevraObyvatelstvoWeights ParseOWeights(std::string_view text, const std::string& path,
                                                   TRecordLines* lines = nullptr);

    TZevraInputData LoadInputData(const std::string& fileName) const;
    void SaveInputData(const TZevraInputData& input, const std::string& fileName) const;
    // The two halves of the input data file without the file: the record of
    // a file's raw bytes, and the bytes (code page 1250) a save writes.
    static TZevraInputData ParseInputData(std::string_view bytes);
    static std::string InputDataFileBytes(const TZevraInputData& input);

    // The full path of a data file: the data folder, then `baseName` + ".txt".
    std::string DataFilePath(std::string_view baseName) const;

    // True for an assignment line: key before the first "=", value after it,
    // both trimmed of characters 0 to 32. False for a blank line, a comment
    // (first character "#") or a line without "=".
    static bool ParseKeyValue(std::string_view line, std::string& key, std::string& value);

    // "Soubor potřebý pro běh programu nebyl nalezen!\r\n[%s]"
    static std::string MissingFileMessage(const std::string& path);

    // The decoded text of a file that must exist (missing-file message
    // otherwise).
    static std::string ReadRequiredText(const std::string& path);

private:
    // The decoded text of the reference file `baseName`: from memory, or
    // read from the folder (missing-file message when it is not there).
    std::string ReferenceText(std::string_view baseName) const;

    std::string FDataDir;
    // Shared by the copies: a model and its copies read the same bytes.
    std::shared_ptr<const TReferenceBytes> FBytes;
};

}  // namespace zevra
