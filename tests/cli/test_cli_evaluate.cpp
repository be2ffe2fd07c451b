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
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
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
    const struct {
        int Inhabitants;
        int Region;
        std::string Data;
        std::string Input;  // "": the model's input, saved
        const char* Err;    // nullptr: any message
    } kCases[] = {
        {0, 2, DataDir(), "", "CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!\n"},
        {1000, 13, DataDir(), "", "Kraj s číslem 13 nebyl nalezen v seznamu krajů!\n"},
        {1000, 13, DataDir(), Dir.File("chybi.txt"), nullptr},
        {1000, 13, Dir.File("nikde"), "", nullptr},
    };
    for (const auto& c : kCases) {
        Model->Input().ObyvateleCelkem = c.Inhabitants;
        Model->Input().Kraj = c.Region;
        const std::string input = c.Input.empty() ? SaveInput() : c.Input;
        const TRun run = Run("--data '" + c.Data + "' evaluate '" + input + "'");
        EXPECT_EQ(run.Status, 2) << c.Data << " " << input;
        EXPECT_EQ(run.Out, "") << c.Data << " " << input;
        if (c.Err) {
            EXPECT_EQ(run.Err, c.Err);
        }
        EXPECT_FALSE(run.Err.empty()) << c.Data << " " << input;
    }
}

// One command line each: where options may stand and which a command takes,
// standard input, and what reaches the terminal. In the arguments {data} is
// the data folder, {in} the saved input, {fifo} a named FIFO, {ctl} an input
// whose name holds terminal controls, {c1} one whose region holds a C1
// control, {user} a user data folder that lacks four files.
struct TCommandLine {
    const char* Args;
    bool PipeInput;  // the saved input comes through a pipe on standard input
    int Status;
    const char* Err;  // a part of stderr ("" for none at all)
    const char* Out;  // a part of stdout
};

const TCommandLine kCommandLines[] = {
    // Options before the command, as the manual shows them.
    {"--data {data} --format json evaluate {in}", false, 0, "", "\"obyvatelstvo\": "},
    {"--format=text --draws 5 --data {data} evaluate {in}", false, 0, "", "\nObec: Velká Ves\n"},
    {"--draws 5 --data {data} sensitivity {in}", false, 0, "", "Náhodné varianty vah: 5,"},
    {"--data {data} -- evaluate -x.txt", false, 2, "[./-x.txt]", ""},
    // An option the command does not take is named.
    {"--data {data} validate {in} --draws 5", false, 2, "zevra-cli: validate nepřijímá volbu --draws", ""},
    {"--data {data} --format json sensitivity {in}", false, 2, "sensitivity nepřijímá volbu --format", ""},
    {"--spread 0.1 --data {data} batch {in} x.html", false, 2, "batch nepřijímá volbu --spread", ""},
    // Wrong command lines print the message and the usage.
    {"--data {data} evaluate", false, 2, "evaluate očekává jeden vstupní soubor\n", ""},
    {"--data {data} evaluate {in} --format", false, 2, "--format vyžaduje název formátu", ""},
    {"--data {data} evaluate {in} --format pdf", false, 2, "neznámý formát 'pdf'", ""},
    {"--data {data} evaluate {in} {in}", false, 2, "evaluate očekává jeden vstupní soubor a volbu --format", ""},
    {"--data {data} evaluate --verbose {in}", false, 2, "neznámá volba '--verbose'\n\nPoužití:", ""},
    {"--data {data} evaluate {in} --draws 0", false, 2, "--draws vyžaduje celé číslo od 1 do", ""},
    // "-" reads a pipe on standard input; a FIFO given by its name is refused.
    {"--data {data} evaluate -", true, 0, "", "Obec: [b]Velká Ves[/b]\n"},
    {"--data {data} sensitivity -", true, 0, "", "Obec: Velká Ves\n"},
    {"--data {data} evaluate {fifo}", false, 2, "Zadaná cesta není soubor, ale roura (FIFO)!\n", ""},
    // Terminal controls of the data are shown escaped, C1 as well.
    {"--data {data} sensitivity {ctl}", false, 0, "", "Obec: X\\x1B]0;PWNED\\x07\\x1B[2J\\u0090Y\n"},
    {"--data {data} validate {c1}", false, 2, "'1\\u009B31m' is not a valid integer value", ""},
    // An incomplete data folder of the user's is an error, also for --version.
    {"--version", false, 2, "zevra-cli: Uživatelská složka referenčních dat je neúplná", ""},
    {"evaluate {in}", false, 2, "zevra-cli: Uživatelská složka referenčních dat je neúplná", ""},
};

TEST_F(CliEvaluateTest, CommandLines) {
    const std::string input = SaveInput();
    Model->Input().Obec = "X\x1b]0;PWNED\x07\x1b[2J\xC2\x90Y";
    Model->SaveInput(Dir.File("ctl.txt"));
    test::WriteBytes(Dir.File("c1.txt"), "\xEF\xBB\xBFKraj=1\xC2\x9B" "31m\r\n");  // UTF-8
    ASSERT_EQ(::mkfifo(Dir.File("fifo").c_str(), 0600), 0);
    std::filesystem::create_directories(Dir.Path() / "xdg/zevra/data");
    test::WriteBytes(Dir.File("xdg/zevra/data/Regions.txt"), "");
    const std::map<std::string, std::string> names = {{"{data}", DataDir()}, {"{in}", input},
                                                      {"{fifo}", Dir.File("fifo")}, {"{ctl}", Dir.File("ctl.txt")},
                                                      {"{c1}", Dir.File("c1.txt")}};
    for (const TCommandLine& line : kCommandLines) {
        std::string args = line.Args;
        for (const auto& [name, value] : names)
            for (std::size_t at; (at = args.find(name)) != std::string::npos;)
                args.replace(at, name.size(), "'" + value + "'");
        const TRun run = test::RunCli(args, line.PipeInput ? std::optional(test::ReadBytes(input)) : std::nullopt,
                                      "XDG_DATA_HOME='" + Dir.File("xdg") + "'");
        EXPECT_EQ(run.Status, line.Status) << line.Args << "\n" << run.Err;
        if (*line.Err == '\0') EXPECT_EQ(run.Err, "") << line.Args;
        else EXPECT_NE(run.Err.find(line.Err), std::string::npos) << line.Args << "\n" << run.Err;
        EXPECT_NE(run.Out.find(line.Out), std::string::npos) << line.Args << "\n" << run.Out;
        EXPECT_EQ(run.Out.find('\x1b'), std::string::npos) << line.Args;
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
    EXPECT_GE(test::Occurrences(ordinary, " obyv., podobnost: "), 3u) << ordinary;
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
    EXPECT_EQ(test::Occurrences(partial, "[i]Obec "), 3u);
}

}  // namespace
}  // namespace zevra
