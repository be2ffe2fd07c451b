// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli batch: messages on stderr, exit statuses, and no output file
// unless everything succeeded.
#include "batch_fixture.h"
#include "test_workbook_xml.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>

namespace zevra::test {
namespace {

using CliResult = TCliRun;

class CliBatchTest : public ::testing::Test {
protected:
    void SetUp() override { WriteDataSet(FDir.Path() / "data"); }

    static CliResult Run(const std::string& dataDir, const std::vector<std::string>& args) {
        std::string command = "--data '" + dataDir + "' batch";
        for (const std::string& a : args) command += " '" + a + "'";
        return RunCli(command);
    }
    CliResult Run(const std::vector<std::string>& args) { return Run((FDir.Path() / "data").string(), args); }

    std::string Input(const std::vector<std::string>& lines) {
        const std::string file = FDir.File("obce.csv");
        WriteBytes(file, BatchFile(lines));
        return file;
    }

    TempDir FDir;
};

TEST_F(CliBatchTest, CleanRunWritesTheTableAndListsWarnings) {
    const std::string html = FDir.File("vysledky.html");
    const CliResult r = Run({Input({BatchLine(), BatchLine({{1, "Malá"}, {4, "400"}, {5, "300"}, {6, "10"}})}), html});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err,
              "(zjištěno 0 chyb a 1 varování)\n"
              "Malá:\n"
              "  POZOR: Počet obyvatel - Model je určen pro obce od 500 do 3000 obyvatel.\n");
    const std::string doc = Cp1250ToUtf8(ReadBytes(html));
    EXPECT_EQ(doc.rfind("<html>", 0), 0u);
    EXPECT_NE(doc.find("<tr><td>Dub</td>"), std::string::npos);
    EXPECT_NE(doc.find("<tr><td>Malá</td>"), std::string::npos);

    const CliResult clean = Run({Input({BatchLine()}), html});
    EXPECT_EQ(clean.Status, 0);
    EXPECT_EQ(clean.Err, "(bez chyb a varování)\n");
}

TEST_F(CliBatchTest, LineProblemsAndDataErrorsWriteNothing) {
    const std::string html = FDir.File("vysledky.html");
    WriteBytes(html, "old");
    const CliResult lines = Run({Input({"# x", BatchLine({{9, "1,5,0"}}), "", "Dub;1"}), html});
    EXPECT_EQ(lines.Status, 1);
    EXPECT_EQ(lines.Err,
              "Řádek 2: '1,5,0' není platné číslo pro pole 'KATASTR'\n"
              "Řádek 4: Chybný počet údajů na řádku (2 místo 16)!\n");

    const CliResult errors = Run({Input({BatchLine({{8, "50"}}), BatchLine(), BatchLine({{1, "Jiná"}, {3, "Středočeský"}})}),
                                  html});
    EXPECT_EQ(errors.Status, 1);
    EXPECT_EQ(errors.Err,
              "(zjištěno 1 chyb a 1 varování)\n"
              "Dub:\n"
              "  CHYBA: Nadmořská výška - Hodnota musí být v rozsahu <115.0, 1602.0>!\n"
              "Jiná:\n"
              "  POZOR: Kraj - Model není určen pro středočeský kraj z důvodu významného vlivu hl. m. Prahy.\n"
              "Vstupní data obsahují chyby!\n");
    EXPECT_EQ(ReadBytes(html), "old");
}

TEST_F(CliBatchTest, FailuresExitWithTwoAndKeepTheOldFile) {
    const std::string input = Input({BatchLine()});
    const CliResult missing = Run({FDir.File("chybi.csv"), FDir.File("a.html")});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("chybi.csv"), std::string::npos) << missing.Err;
    EXPECT_FALSE(std::filesystem::exists(FDir.File("a.html")));

    const CliResult noFolder = Run({input, FDir.File("chybi/a.html")});
    EXPECT_EQ(noFolder.Status, 2);
    EXPECT_FALSE(noFolder.Err.empty());

    // A missing decile distribution refuses every row during the run.
    WriteDataSet(FDir.Path() / "data2", {{"DecilDists", "DecilDist = dck\nValue1 = 1\nAsc = T\n"}});
    const std::string html = FDir.File("vysledky.html");
    WriteBytes(html, "old");
    const CliResult refused = Run((FDir.Path() / "data2").string(), {input, html});
    EXPECT_EQ(refused.Status, 2) << refused.Err;
    EXPECT_EQ(ReadBytes(html), "old");

    EXPECT_EQ(Run({input}).Status, 2);  // usage
}

// The input can never be overwritten: not through blanks or control
// characters at either end of a name, which the loader and the writers drop
// (the command line refuses such a name), nor under another spelling.
// {dir} stands for the test folder, which holds obce.csv.
struct TNamePair {
    const char* Input;
    const char* Output;
    const char* Err;  // the start of stderr
};

const TNamePair kNamePairs[] = {
    {"{dir}/obce.csv", "{dir}/obce.csv ", "Název souboru nesmí začínat ani končit mezerou"},
    {"{dir}/obce.csv", "{dir}/obce.csv\t", "Název souboru nesmí"},
    {"{dir}/obce.csv", "{dir}/obce.csv\r", "Název souboru nesmí"},
    {" {dir}/obce.csv", "{dir}/obce.csv", "Název souboru nesmí"},
    {"{dir}/obce.csv", "{dir}/vysledky.json ", "Název souboru nesmí"},
    {"{dir}/obce.csv", "{dir}/vysledky.xlsx\t", "Název souboru nesmí"},
    {"{dir}/obce.csv", "{dir}/./obce.csv", "Výstupní soubor je totožný se vstupním souborem"},
    {"{dir}/obce.csv", "{dir}/link.csv", "Výstupní soubor je totožný se vstupním souborem"},
};

TEST_F(CliBatchTest, TheInputIsNeverOverwritten) {
    const std::string input = Input({BatchLine()});
    const std::string original = ReadBytes(input);
    std::filesystem::create_symlink(input, FDir.File("link.csv"));
    for (const TNamePair& pair : kNamePairs) {
        std::vector<std::string> args = {pair.Input, pair.Output};
        for (std::string& arg : args) arg.replace(arg.find("{dir}"), 5, FDir.Path().string());
        const CliResult r = Run(args);
        EXPECT_EQ(r.Status, 2) << pair.Output;
        EXPECT_EQ(r.Err.rfind(pair.Err, 0), 0u) << pair.Output << "\n" << r.Err;
        EXPECT_TRUE(ReadBytes(input) == original) << pair.Output;
        EXPECT_FALSE(std::filesystem::exists(FDir.File("vysledky.json"))) << pair.Output;
        EXPECT_FALSE(std::filesystem::exists(FDir.File("vysledky.xlsx"))) << pair.Output;
        WriteBytes(input, original);
        std::filesystem::remove(FDir.File("vysledky.json"));
        std::filesystem::remove(FDir.File("vysledky.xlsx"));
    }
}

TEST_F(CliBatchTest, StandardInputMayBeAPipe) {
    const std::string file = BatchFile({BatchLine()});
    const CliResult piped = RunCli("--data '" + (FDir.Path() / "data").string() + "' batch - -", file);
    EXPECT_EQ(piped.Status, 0) << piped.Err;
    EXPECT_EQ(HtmlRows(piped.Out).size(), 1u);
    EXPECT_EQ(piped.Out.find("<tr><td>Dub</td>") != std::string::npos, true);
    // A FIFO named as the input is still refused: it may never be written to.
    ASSERT_EQ(::mkfifo(FDir.File("fifo").c_str(), 0600), 0);
    const CliResult fifo = Run({FDir.File("fifo"), "-"});
    EXPECT_EQ(fifo.Status, 2);
    EXPECT_EQ(fifo.Err, "Zadaná cesta není soubor, ale roura (FIFO)!\n[" + FDir.File("fifo") + "]\n");
}

// --format names the output format whatever the name's extension; without
// it the extension chooses, and standard output gets the HTML table. A
// result on standard output has the bytes of the same format's file.
struct TFormatCase {
    const char* Output;  // "-" standard output
    const char* Format;  // "" no --format
    int Status;
    const char* Start;   // of the output (status 0) or of stderr
};

const TFormatCase kFormatCases[] = {
    {"-", "json", 0, "{\n  \"verzeFormatu\": 2,"},
    {"-", "", 0, "<html>"},
    {"-", "xlsx", 0, "PK"},
    {"-", "html", 0, "<html>"},
    {"v.html", "json", 0, "{"},
    {"v.JSON", "", 0, "{"},
    {"v.json", "xlsx", 0, "PK"},
    {"v.txt", "", 0, "<html>"},
    {"v.json", "xml", 2, "zevra-cli: neznámý formát 'xml' (html, xlsx nebo json)"},
    {"v.json", "JSON", 2, "zevra-cli: neznámý formát 'JSON'"},
};

TEST_F(CliBatchTest, TheFormatOptionChoosesTheOutput) {
    const std::string input = Input({BatchLine(), BatchLine({{1, "Malá"}})});
    const std::string data = "--data '" + (FDir.Path() / "data").string() + "' batch '" + input + "' ";
    for (const TFormatCase& c : kFormatCases) {
        const bool toStdout = std::string(c.Output) == "-";
        const std::string file = FDir.File(c.Output);
        const std::string format = *c.Format ? std::string(" --format ") + c.Format : "";
        const CliResult r = RunCli(data + (toStdout ? "-" : "'" + file + "'") + format);
        EXPECT_EQ(r.Status, c.Status) << c.Output << format << "\n" << r.Err;
        if (c.Status != 0) {
            EXPECT_EQ(r.Err.rfind(c.Start, 0), 0u) << c.Output << format << "\n" << r.Err;
            EXPECT_FALSE(std::filesystem::exists(file)) << c.Output << format;
            continue;
        }
        const std::string written = toStdout ? r.Out : ReadBytes(file);
        EXPECT_EQ(written.rfind(c.Start, 0), 0u) << c.Output << format;
        if (toStdout && (std::string(c.Format) == "json" || std::string(c.Format) == "xlsx")) {
            const std::string same = FDir.File(std::string("same.") + c.Format);
            ASSERT_EQ(RunCli(data + "'" + same + "'").Status, 0);
            EXPECT_EQ(r.Out, ReadBytes(same)) << format;
            // Streamed, the workbook is still a whole package.
            if (std::string(c.Format) == "xlsx") {
                EXPECT_NE(ZipPartOf(r.Out, "xl/worksheets/sheet1.xml").find("Malá"), std::string::npos);
            }
        }
        if (!toStdout) std::filesystem::remove(file);
    }
}

TEST_F(CliBatchTest, ShippedExamples) {
    const std::string examples = ZEVRA_EXAMPLES_DIR;
    if (!std::filesystem::exists(examples + "/obce.csv") || !std::filesystem::exists(examples + "/obce-chybne.csv"))
        GTEST_SKIP() << "examples not present";
    const std::string html = FDir.File("obce.html");
    const CliResult good = Run(ZEVRA_TEST_DATA_DIR, {examples + "/obce.csv", html});
    EXPECT_EQ(good.Status, 0) << good.Err;
    EXPECT_EQ(good.Err.find("CHYBA"), std::string::npos);
    EXPECT_NE(good.Err.find("POZOR"), std::string::npos);  // a few warnings
    const std::string doc = Cp1250ToUtf8(ReadBytes(html));
    EXPECT_GE(Occurrences(doc, "<tr><td>"), 25u);
    if (std::system("command -v tidy >/dev/null 2>&1") == 0) {
        const int status = std::system(("tidy -errors -q -raw '" + html + "' >/dev/null 2>&1").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) < 2);
    }

    const CliResult bad = Run(ZEVRA_TEST_DATA_DIR, {examples + "/obce-chybne.csv", FDir.File("chybne.html")});
    EXPECT_EQ(bad.Status, 1);
    EXPECT_GE(Occurrences(bad.Err, "Řádek "), 2u) << bad.Err;
    EXPECT_FALSE(std::filesystem::exists(FDir.File("chybne.html")));
}

TEST(CliBatch, TheOutputMayNotBeTheInput) {
    const auto RunCli = [](const std::string& args) { return test::RunCli("--data '" ZEVRA_TEST_DATA_DIR "' " + args); };
    test::TempDir dir;
    const std::string input = dir.File("obce.csv");
    test::WriteBytes(input, test::ReadBytes(ZEVRA_EXAMPLES_DIR "/obce.csv"));
    const CliResult run = RunCli("batch " + input + " " + dir.File("./obce.csv"));
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Err.rfind("Výstupní soubor je totožný se vstupním souborem", 0), 0u) << run.Err;
    EXPECT_EQ(test::ReadBytes(input), test::ReadBytes(ZEVRA_EXAMPLES_DIR "/obce.csv"));
    // A device is written in place: the table streams to stdout.
    const CliResult streamed = RunCli("batch " + input + " /dev/stdout");
    EXPECT_EQ(streamed.Status, 0) << streamed.Err;
    EXPECT_EQ(streamed.Out.rfind("<html", 0) == 0 || streamed.Out.find("<table") != std::string::npos, true);
    const CliResult full = RunCli("batch " + input + " /dev/full");
    EXPECT_EQ(full.Status, 2);
    EXPECT_TRUE(full.Err.ends_with("Soubor nelze zapsat!\n[/dev/full]\n")) << full.Err;
    // A standard output that cannot take the bytes fails as such, in every format.
    for (const char* format : {"html", "json", "xlsx"}) {
        const std::string err = dir.File("err");
        const int raw = std::system(("LC_ALL=C '" ZEVRA_CLI_PATH "' --data '" ZEVRA_TEST_DATA_DIR "' batch " + input +
                                     " - --format " + format + " >/dev/full 2>'" + err + "' </dev/null").c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 2) << format;
        EXPECT_TRUE(test::ReadBytes(err).ends_with("Chyba při zápisu na standardní výstup!\n")) << format << test::ReadBytes(err);
    }
}

}  // namespace
}  // namespace zevra::test
