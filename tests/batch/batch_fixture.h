// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// A model over the small test data set, a batch that borrows it and helpers
// that build batch lines.
#pragma once

#include "batch/core/u_batchcore.h"
#include "model/u_model.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zevra::test {

// A valid row without warnings: region 2 ("Jihočeský"), 1000 inhabitants.
inline std::vector<std::string> BaseValues() {
    return {"Dub", "100004", "Jihočeský", "1000", "500", "50", "200", "600",
            "1200.5", "40", "15", "2.5", "100", "10", "50", "Ano"};
}

// A batch line: the base values with some columns (1-based) replaced.
inline std::string BatchLine(const std::map<int, std::string>& replace = {}) {
    std::vector<std::string> values = BaseValues();
    for (const auto& [column, value] : replace) values.at(static_cast<std::size_t>(column - 1)) = value;
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) line += (i ? ";" : "") + values[i];
    return line;
}

// Lines joined by CR LF, in code page 1250: a file as the program expects it.
inline std::string BatchFile(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return Utf8ToCp1250(text);
}

// `batch` run over the batch file `input` as the batch window runs it:
// loaded, checked (it must be valid) and evaluated.
inline void RunBatchFile(TZevraBatch& batch, const std::string& input) {
    batch.LoadInputFile(input);
    batch.ValidateInputRows();
    ASSERT_TRUE(batch.InputValid()) << input;
    batch.RunModelOnRows();
}

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDataSet(FDir.Path() / "data");
        FModel = std::make_unique<TZevraModel>((FDir.Path() / "data").string());
        FBatch = std::make_unique<TZevraBatch>(*FModel);
    }

    // Loads the lines; returns the problem lines ("Řádek N: message").
    std::vector<std::string> Load(const std::vector<std::string>& lines) {
        return LoadBytes(BatchFile(lines));
    }
    std::vector<std::string> LoadBytes(const std::string& bytes) {
        try {
            FBatch->LoadInputBytes(bytes);
        } catch (const ECompositeException& e) {
            return FormatProblems(e);
        }
        return {};
    }

    TMemTable& Input() { return FBatch->InputData(); }
    TMemTable& Output() { return FBatch->OutputData(); }
    std::string Text(std::size_t row, std::size_t field) { return Input().GetText(row, field); }
    int Int(std::size_t row, std::size_t field) { return Input().GetInt(row, field); }

    TempDir FDir;
    std::unique_ptr<TZevraModel> FModel;
    std::unique_ptr<TZevraBatch> FBatch;
};

}  // namespace zevra::test
