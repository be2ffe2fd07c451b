// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli validate, run as a user runs it.
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace zevra {
namespace {

using CliRun = test::TCliRun;

CliRun RunCli(const std::string& args) { return test::RunCli("--data '" ZEVRA_TEST_DATA_DIR "' " + args); }

// One command line each; {file} is a file that holds `File`.
struct TValidateCase {
    const char* Args;
    const char* File;  // nullptr: no file
    int Status;
    const char* Out;      // nullptr: not compared
    const char* Err;      // nullptr: not compared
    const char* ErrPart;  // a part of stderr; nullptr: none asked for
};

const TValidateCase kCases[] = {
    {"validate " ZEVRA_EXAMPLES_DIR "/obec.txt", nullptr, 0, "", nullptr, nullptr},
    // An empty file gives the six errors of a fresh input.
    {"validate {file}", "", 1,
     "CHYBA: Název obce - Hodnota musí být vyplněna\n"
     "CHYBA: Kraj - Hodnota musí být vyplněna\n"
     "CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!\n"
     "CHYBA: Nadmořská výška - Hodnota musí být v rozsahu <115.0, 1602.0>!\n"
     "CHYBA: Katastr celkem - Zadaná hodnota musí být vetší rovna 1.000!\n"
     "CHYBA: Dálkový vodovod - Hodnota musí být vyplněna\n",
     nullptr, nullptr},
    // Warnings follow errors and do not fail.
    {"validate {file}",
     "InputData=Dub\r\nKraj=1\r\nObyvateleCelkem=400\r\nNadmVyska=400\r\nKatastrCelkem=500\r\nVodovod=T\r\n", 0,
     "POZOR: Kraj - Model není určen pro středočeský kraj z důvodu významného vlivu hl. m. Prahy.\n"
     "POZOR: Počet obyvatel - Model je určen pro obce od 500 do 3000 obyvatel.\n",
     nullptr, nullptr},
    // Failures go to standard error with status 2; on the terminal the
    // message's line break is LF.
    {"validate /nonexistent/obec.txt", nullptr, 2, "",
     "Soubor potřebý pro běh programu nebyl nalezen!\n[/nonexistent/obec.txt]\n", nullptr},
    {"validate {file}", "NadmVyska=350,5\r\n", 2, nullptr, "'350,5' is not a valid floating point value\n",
     nullptr},
    {"validate", nullptr, 2, nullptr, nullptr, "zevra-cli"},
    {"--data /nonexistent validate " ZEVRA_EXAMPLES_DIR "/obec.txt", nullptr, 2, nullptr, nullptr,
     "DecilDists.txt"},
    // Control characters are escaped.
    {"validate {file}", "Kraj=1\x1b[31m\x07x\r\n", 2, nullptr, "'1\\x1B[31m\\x07x' is not a valid integer value\n",
     nullptr},
};

TEST(CliValidate, AnswersOnStandardOutputAndFailuresOnStandardError) {
    test::TempDir dir;
    for (const TValidateCase& c : kCases) {
        std::string args = c.Args;
        if (const auto at = args.find("{file}"); at != std::string::npos) args.replace(at, 6, dir.File("obec.txt"));
        if (c.File) test::WriteBytes(dir.File("obec.txt"), c.File);
        const CliRun run = RunCli(args);
        const std::string name = std::string(c.Args) + (c.File ? std::string(" with ") + c.File : "");
        EXPECT_EQ(run.Status, c.Status) << name << "\n" << run.Err;
        if (c.Out) {
            EXPECT_EQ(run.Out, c.Out) << name;
        }
        if (c.Err) {
            EXPECT_EQ(run.Err, c.Err) << name;
        }
        if (c.ErrPart) {
            EXPECT_NE(run.Err.find(c.ErrPart), std::string::npos) << name << "\n" << run.Err;
        }
    }
}

TEST(CliValidate, AFailedStdoutIsAFailure) {
    // validate with a full stdout: exit 2 and a message, not "data errors".
    test::TempDir dir;
    const std::string command = "LC_ALL=C " + std::string(ZEVRA_CLI_PATH) + " --data '" ZEVRA_TEST_DATA_DIR
                                "' validate " + dir.File("empty.txt") + " >/dev/full 2>" + dir.File("err");
    test::WriteBytes(dir.File("empty.txt"), "");
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_EQ(test::ReadBytes(dir.File("err")), "Chyba při zápisu na standardní výstup!\n");
}

}  // namespace
}  // namespace zevra
