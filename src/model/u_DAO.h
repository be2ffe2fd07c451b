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
#include "model/u_inputdata.h"
#include "model/u_kraj.h"

#include <string>
#include <string_view>
#include <vector>

namespace zevra {

class TZevraData {
public:
    explicit TZevraData(std::string dataDir) : FDataDir(std::move(dataDir)) {}

    const std::string& DataDir() const { return FDataDir; }

    // Each read fails with EZevraError: the missing-file message, a conversion
    // error naming the value, the file and the line, or an input/output error.
    std::vector<TZevraDecilDistribution> LoadDecilDists() const;
    std::vector<TZevraMunicipalityInfo> LoadMuniInfo() const;
    std::vector<TZevraKraj> LoadRegions() const;
    TZevraSampleMunicipalities LoadSampMuni() const;
    TZevraObyvatelstvoWeights LoadOWeights() const;

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
    std::string FDataDir;
};

}  // namespace zevra
