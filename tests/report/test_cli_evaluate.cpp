// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli evaluate: the report in its three forms, refusals and usage.
#include "model/u_model.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace zevra {
namespace {

using TRun = test::TCliRun;

class CliEvaluateTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteDataSet(DataDir());
        Model = std::make_unique<TZevraModel>(DataDir());
        TZevraInputData& in = Model->Input();
        test::SetMiddleInput(in);
        in.Vodovod = TTriBool::tbFalse;
        in.KatastrCelkem = 95;
    }

    std::string DataDir() const { return (Dir.Path() / "data").string(); }

    std::string SaveInput() {
        const std::string path = Dir.File("vstup.txt");
        Model->SaveInput(path);
        return path;
    }

    static TRun Run(const std::string& args) { return test::RunCli(args); }

    std::vector<std::string> ExpectedEntries() {
        Model->Evaluate();
        return ComposeReportEntries(*Model->Output());
    }

    test::TempDir Dir;
    std::unique_ptr<TZevraModel> Model;
};

TEST_F(CliEvaluateTest, PrintsTheReportAsMarkupTextOrRtf) {
    const std::string input = SaveInput();
    const auto entries = ExpectedEntries();
    std::string markup;
    for (const auto& entry : entries) markup += entry + "\n";

    const std::string data = "--data '" + DataDir() + "' ";
    const TRun byDefault = Run(data + "evaluate '" + input + "'");
    EXPECT_EQ(byDefault.Status, 0) << byDefault.Err;
    EXPECT_EQ(byDefault.Err, "");
    EXPECT_EQ(byDefault.Out, markup);
    EXPECT_NE(byDefault.Out.find("Obec: [b]Velká Ves[/b]\n"), std::string::npos);

    EXPECT_EQ(Run(data + "evaluate --format markup '" + input + "'").Out, markup);
    const TRun text = Run(data + "evaluate '" + input + "' --format text");
    EXPECT_EQ(text.Status, 0);
    // One line end throughout on the terminal: LF.
    std::string lf = RenderPlainText(entries);
    for (auto pos = lf.find("\r\n"); pos != std::string::npos; pos = lf.find("\r\n", pos)) lf.erase(pos, 1);
    EXPECT_EQ(text.Out, lf);
    EXPECT_NE(text.Out.find("\nObec: Velká Ves\n"), std::string::npos);
    const TRun rtf = Run(data + "evaluate '" + input + "' --format=rtf");
    EXPECT_EQ(rtf.Status, 0);
    EXPECT_EQ(rtf.Out, RenderRtfDocument(entries));
}

TEST_F(CliEvaluateTest, RefusedEvaluationGoesToStderrWithStatusTwo) {
    const std::string data = "--data '" + DataDir() + "' ";
    Model->Input().ObyvateleCelkem = 0;
    TRun run = Run(data + "evaluate '" + SaveInput() + "'");
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!\n");

    Model->Input().ObyvateleCelkem = 1000;
    Model->Input().Kraj = 13;
    run = Run(data + "evaluate '" + SaveInput() + "'");
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Kraj s číslem 13 nebyl nalezen v seznamu krajů!\n");

    run = Run(data + "evaluate '" + Dir.File("chybi.txt") + "'");
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_FALSE(run.Err.empty());

    run = Run("--data '" + Dir.File("nikde") + "' evaluate '" + SaveInput() + "'");
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_FALSE(run.Err.empty());
}

TEST_F(CliEvaluateTest, WrongCommandLinesPrintTheUsage) {
    const std::string input = "'" + SaveInput() + "'";
    for (const std::string& args : std::vector<std::string>{"evaluate", "evaluate " + input + " --format", "evaluate " + input + " --format pdf",
                                   "evaluate " + input + " " + input, "evaluate --verbose " + input}) {
        const TRun run = Run("--data '" + DataDir() + "' " + args);
        EXPECT_EQ(run.Status, 2) << args;
        EXPECT_EQ(run.Out, "") << args;
        EXPECT_NE(run.Err.find("evaluate VSTUP.txt"), std::string::npos) << args;
    }
}

// The shipped examples against the shipped data.
TEST(CliEvaluateExamples, ShippedExamplesGiveCompleteReports) {
    const std::filesystem::path examples = ZEVRA_EXAMPLES_DIR;
    if (!std::filesystem::exists(examples / "obec.txt") ||
        !std::filesystem::exists(examples / "znevyhodnena-obec.txt"))
        GTEST_SKIP() << "no shipped examples";
    test::TempDir dir;
    const auto run = [&](const std::string& file) {
        const std::string command = std::string("LC_ALL=C '") + ZEVRA_CLI_PATH + "' --data '" + ZEVRA_TEST_DATA_DIR +
                                    "' evaluate '" + (examples / file).string() + "' >'" + dir.File("out") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << file;
        return test::ReadBytes(dir.File("out"));
    };

    const std::string ordinary = run("obec.txt");
    int similar = 0;
    for (auto at = ordinary.find(" obyv., podobnost: "); at != std::string::npos;
         at = ordinary.find(" obyv., podobnost: ", at + 1))
        ++similar;
    EXPECT_GE(similar, 3) << ordinary;
    EXPECT_EQ(ordinary.find("Dílčí zhodnocení"), std::string::npos);

    const std::string poor = run("znevyhodnena-obec.txt");
    const auto assessment = poor.find("[b]Slovní zhodnocení:[/b]\n\n");
    const auto header = poor.find("\r\n\r\n---------------------------------------------------------\r\n\r\n"
                                  "[b]Dílčí zhodnocení:[/b]\r\n\r\n[i]");
    const auto water = poor.find("\n\n[b][i]Obec může mít potenciální problémy s dostatečným zásobováním pitnou "
                                 "vodou. Této oblasti je třeba věnovat zvláštní pozornost[/i][/b]\n\n"
                                 "---------------------------------------------------------\n");
    const auto decils = poor.find("[b]Hodnoty jednotlivých indikátorů");
    ASSERT_NE(assessment, std::string::npos);
    ASSERT_NE(header, std::string::npos);
    ASSERT_NE(water, std::string::npos);
    EXPECT_LT(assessment, header);
    EXPECT_LT(header, water);
    EXPECT_LT(water, decils);
    // Three partial texts, separated by empty lines inside the one entry.
    const std::string partial = poor.substr(header, water - header);
    EXPECT_EQ(std::count(partial.begin(), partial.end(), '\n'), 3 * 2 + 2 * 2);
    int texts = 0;
    for (auto at = partial.find("[i]Obec "); at != std::string::npos; at = partial.find("[i]Obec ", at + 1)) ++texts;
    EXPECT_EQ(texts, 3);
}

}  // namespace
}  // namespace zevra
