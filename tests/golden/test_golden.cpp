// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Golden files: every folder tests/data/<topic>/<case>/ holds an input and the
// exact bytes the program makes of it. One test per topic runs every case
// against the shipped reference data; a new case is a new folder.
//
// A case whose processing fails expects its message in expected-error.txt
// instead. With ZEVRA_UPDATE_GOLDEN=1 in the environment the expected files
// are (re)written from what the program makes now: review the diff before
// committing it.
#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchjson.h"
#include "model/u_model.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace zevra {
namespace {

namespace fs = std::filesystem;

struct TTopic {
    const char* Folder;
    const char* Input;     // the input file of every case
    const char* Expected;  // the expected output
    std::string (*Produce)(const std::string& inputPath);
};

TZevraModel& SharedModel() {
    static TZevraModel model(ZEVRA_TEST_DATA_DIR);
    return model;
}

std::vector<std::string> ReportEntries(const std::string& inputPath) {
    TZevraModel& model = SharedModel();
    model.LoadInput(inputPath);
    model.Evaluate();
    return ComposeReportEntries(*model.Output());
}

// Input data file -> load -> save: the bytes saved.
std::string InputFileRoundTrip(const std::string& inputPath) {
    const TZevraData data("/nonexistent");
    const TZevraInputData input = data.LoadInputData(inputPath);
    test::TempDir dir;
    data.SaveInputData(input, dir.File("saved.txt"));
    return test::ReadBytes(dir.File("saved.txt"));
}

// The report entries as zevra-cli evaluate prints them: one a line.
std::string ReportMarkup(const std::string& inputPath) {
    std::string text;
    for (const std::string& entry : ReportEntries(inputPath)) text += entry + '\n';
    return text;
}

std::string ReportRtf(const std::string& inputPath) { return RenderRtfDocument(ReportEntries(inputPath)); }

std::string ReportText(const std::string& inputPath) { return RenderPlainText(ReportEntries(inputPath)); }

// Batch file -> load, validate, run.
void RunBatchFile(TZevraBatch& batch, const std::string& inputPath) {
    batch.LoadInputFile(inputPath);
    batch.ValidateInputRows();
    if (!batch.InputValid()) throw EZevraError(batch.ErrorCountText());
    batch.RunModelOnRows();
}

// Batch file -> the HTML bytes.
std::string BatchHtml(const std::string& inputPath) {
    TZevraBatch batch(SharedModel());
    RunBatchFile(batch, inputPath);
    return batch.HtmlOutputBytes();
}

// Batch file -> the JSON, with "{data}" for the data folder, which differs
// from machine to machine.
std::string BatchJson(const std::string& inputPath) {
    TZevraBatch batch(SharedModel());
    RunBatchFile(batch, inputPath);
    std::string json = BatchJsonText(batch);
    const std::string folder = "\"slozka\":\"" + ReferenceFolderText(ZEVRA_TEST_DATA_DIR) + "\"";
    if (const std::size_t at = json.find(folder); at != std::string::npos)
        json.replace(at, folder.size(), "\"slozka\":\"{data}\"");
    return json;
}

// Faulty batch file -> the problems of its lines, then the verdict of the
// validation on the rows that loaded: the count and, for every marked row,
// its mark (-1 error, 1 warning), name and problem lines.
std::string BatchProblems(const std::string& inputPath) {
    TZevraBatch batch(SharedModel());
    std::string text = "Načtení:\n";
    try {
        batch.LoadInputFile(inputPath);
    } catch (const ECompositeException& problems) {
        for (const std::string& line : FormatProblems(problems)) text += line + '\n';
    }
    batch.ValidateInputRows();
    text += "Kontrola: " + batch.ErrorCountText() + '\n';
    const TMemTable& rows = batch.InputData();
    for (std::size_t row = 0; row < rows.RowCount(); ++row) {
        const int mark = rows.GetInt(row, ifERROR);
        if (mark == 0) continue;
        text += std::to_string(mark) + ' ' + rows.GetText(row, ifOBEC) + ":\n";
        for (const std::string& line : batch.ProblemLines(row)) text += "  " + line + '\n';
    }
    return text;
}

const TTopic kTopics[] = {
    {"input-roundtrip", "input.txt", "expected.txt", InputFileRoundTrip},
    {"report-markup", "input.txt", "expected.txt", ReportMarkup},
    {"report-rtf", "input.txt", "expected.rtf", ReportRtf},
    {"report-text", "input.txt", "expected.txt", ReportText},
    {"batch-html", "input.csv", "expected.html", BatchHtml},
    {"batch-json", "input.csv", "expected.json", BatchJson},
    {"batch-problems", "input.csv", "expected.txt", BatchProblems},
};

struct TCase {
    const TTopic* Topic;
    fs::path Folder;
};

// Shown by GoogleTest and ctest for the case.
void PrintTo(const TCase& c, std::ostream* os) { *os << c.Folder.string(); }

std::vector<TCase> CasesOf(const char* folder) {
    const TTopic* topic =
        &*std::find_if(std::begin(kTopics), std::end(kTopics), [&](const TTopic& t) { return t.Folder == std::string(folder); });
    std::vector<TCase> cases;
    const fs::path root = fs::path(ZEVRA_GOLDEN_DIR) / folder;
    if (fs::is_directory(root))
        for (const auto& entry : fs::directory_iterator(root))
            if (entry.is_directory()) cases.push_back({topic, entry.path()});
    std::sort(cases.begin(), cases.end(), [](const TCase& a, const TCase& b) { return a.Folder < b.Folder; });
    return cases;
}

// GoogleTest names allow letters, digits and "_" only.
std::string CaseName(const ::testing::TestParamInfo<TCase>& info) {
    std::string name = info.param.Folder.filename().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

bool Updating() {
    const char* value = std::getenv("ZEVRA_UPDATE_GOLDEN");
    return value != nullptr && std::string(value) == "1";
}

class Golden : public ::testing::TestWithParam<TCase> {};

TEST_P(Golden, OutputMatchesTheExpectedBytes) {
    const TCase& c = GetParam();
    const fs::path input = c.Folder / c.Topic->Input;
    ASSERT_TRUE(fs::exists(input)) << "missing " << input;
    std::string actual;
    fs::path expected = c.Folder / c.Topic->Expected;
    fs::path other = c.Folder / "expected-error.txt";
    try {
        actual = c.Topic->Produce(input.string());
    } catch (const std::exception& e) {
        actual = std::string(e.what()) + '\n';
        std::swap(expected, other);
    }
    if (Updating()) {
        test::WriteBytes(expected.string(), actual);
        fs::remove(other);
        return;
    }
    ASSERT_TRUE(fs::exists(expected)) << "missing " << expected << " (got:\n" << actual
                                      << ")\nrun with ZEVRA_UPDATE_GOLDEN=1 to write it";
    EXPECT_EQ(actual, test::ReadBytes(expected.string())) << "for " << c.Folder
                                                         << "; run with ZEVRA_UPDATE_GOLDEN=1 to accept";
}

INSTANTIATE_TEST_SUITE_P(InputFileRoundTrip, Golden, ::testing::ValuesIn(CasesOf("input-roundtrip")), CaseName);
INSTANTIATE_TEST_SUITE_P(ReportMarkup, Golden, ::testing::ValuesIn(CasesOf("report-markup")), CaseName);
INSTANTIATE_TEST_SUITE_P(ReportRtf, Golden, ::testing::ValuesIn(CasesOf("report-rtf")), CaseName);
INSTANTIATE_TEST_SUITE_P(ReportText, Golden, ::testing::ValuesIn(CasesOf("report-text")), CaseName);
INSTANTIATE_TEST_SUITE_P(BatchHtml, Golden, ::testing::ValuesIn(CasesOf("batch-html")), CaseName);
INSTANTIATE_TEST_SUITE_P(BatchJson, Golden, ::testing::ValuesIn(CasesOf("batch-json")), CaseName);
INSTANTIATE_TEST_SUITE_P(BatchProblems, Golden, ::testing::ValuesIn(CasesOf("batch-problems")), CaseName);

}  // namespace
}  // namespace zevra
