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

TEST(CliValidate, TheShippedExampleIsValid) {
    const CliRun run = RunCli("validate " ZEVRA_EXAMPLES_DIR "/obec.txt");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
}

TEST(CliValidate, AnEmptyFileGivesTheSixErrorsOfAFreshInput) {
    test::TempDir dir;
    test::WriteBytes(dir.File("empty.txt"), "");
    const CliRun run = RunCli("validate " + dir.File("empty.txt"));
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out,
              "CHYBA: Název obce - Hodnota musí být vyplněna\n"
              "CHYBA: Kraj - Hodnota musí být vyplněna\n"
              "CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!\n"
              "CHYBA: Nadmořská výška - Hodnota musí být v rozsahu <115.0, 1602.0>!\n"
              "CHYBA: Katastr celkem - Zadaná hodnota musí být vetší rovna 1.000!\n"
              "CHYBA: Dálkový vodovod - Hodnota musí být vyplněna\n");
}

TEST(CliValidate, WarningsFollowErrorsAndDoNotFail) {
    test::TempDir dir;
    test::WriteBytes(dir.File("w.txt"), test::ToCp1250Crlf(
        "InputData=Dub\nKraj=1\nObyvateleCelkem=400\nNadmVyska=400\nKatastrCelkem=500\nVodovod=T\n"));
    const CliRun run = RunCli("validate " + dir.File("w.txt"));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out,
              "POZOR: Kraj - Model není určen pro středočeský kraj z důvodu významného vlivu hl. m. Prahy.\n"
              "POZOR: Počet obyvatel - Model je určen pro obce od 500 do 3000 obyvatel.\n");
}

TEST(CliValidate, FailuresGoToStandardErrorWithStatusTwo) {
    const CliRun missing = RunCli("validate /nonexistent/obec.txt");
    EXPECT_EQ(missing.Status, 2);
    EXPECT_EQ(missing.Out, "");
    // On the terminal the message's line break is LF.
    EXPECT_EQ(missing.Err, "Soubor potřebý pro běh programu nebyl nalezen!\n[/nonexistent/obec.txt]\n");

    test::TempDir dir;
    test::WriteBytes(dir.File("bad.txt"), "NadmVyska=350,5\r\n");
    const CliRun bad = RunCli("validate " + dir.File("bad.txt"));
    EXPECT_EQ(bad.Status, 2);
    EXPECT_EQ(bad.Err, "'350,5' is not a valid floating point value\n");

    const CliRun usage = RunCli("validate");
    EXPECT_EQ(usage.Status, 2);
    EXPECT_NE(usage.Err.find("zevra-cli"), std::string::npos);
    const CliRun noData = RunCli("--data /nonexistent validate " ZEVRA_EXAMPLES_DIR "/obec.txt");
    EXPECT_EQ(noData.Status, 2);
    EXPECT_NE(noData.Err.find("DecilDists.txt"), std::string::npos);
}

TEST(CliValidate, ControlCharactersAreEscapedAndAFailedStdoutIsAFailure) {
    test::TempDir dir;
    test::WriteBytes(dir.File("esc.txt"), "Kraj=1\x1b[31m\x07x\r\n");
    const CliRun esc = RunCli("validate " + dir.File("esc.txt"));
    EXPECT_EQ(esc.Status, 2);
    EXPECT_EQ(esc.Err, "'1\\x1B[31m\\x07x' is not a valid integer value\n");

    // validate with a full stdout: exit 2 and a message, not "data errors".
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
