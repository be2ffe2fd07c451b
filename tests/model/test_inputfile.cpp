// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_model.h"
#include "model/u_DAO.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <sys/stat.h>

namespace zevra {
namespace {

class InputFile : public ::testing::Test {
protected:
    InputFile() : data(dir.Path().string()) {}
    std::string Save(const TZevraInputData& input) {
        data.SaveInputData(input, dir.File("obec.txt"));
        return test::ReadBytes(dir.File("obec.txt"));
    }
    TZevraInputData LoadText(const std::string& utf8) {
        test::WriteBytes(dir.File("in.txt"), test::ToCp1250Crlf(utf8));
        return data.LoadInputData(dir.File("in.txt"));
    }

    test::TempDir dir;
    TZevraData data;
};

// The exact form of a fresh input is the golden case
// tests/data/input-roundtrip/empty-file.

TEST_F(InputFile, SavedAndLoadedBackGivesTheSameRecord) {
    TZevraInputData input;
    input.Obec = "Žďár nad Sázavou";
    input.Kraj = 9;
    input.Kod = 595209;
    input.NadmVyska = 572.5;
    input.KatastrCelkem = 1234.567;
    input.ObyvateleCelkem = 2100;
    input.Silnice1TrM = 1500;
    input.Vodovod = TTriBool::tbFalse;
    const std::string bytes = Save(input);
    EXPECT_NE(bytes.find("InputData=\x8e\xef\xe1r nad S\xe1zavou\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Kod=595209\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("NadmVyska= 5.72500000000000E+0002\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Vodovod=F\r\n"), std::string::npos);
    EXPECT_EQ(data.LoadInputData(dir.File("obec.txt")), input);

    input.Kod = -5;  // a code of 0 or less is not written and comes back as 0
    Save(input);
    EXPECT_EQ(data.LoadInputData(dir.File("obec.txt")).Kod, 0);
}

TEST_F(InputFile, LoadingIsLenientAboutKeysAndStrictAboutValues) {
    TZevraInputData expected;
    expected.Kraj = 5;
    for (const char* text : {"Kraj=5\n", "  kraj  =  5  \n", "Kraj=1\nKraj=5\nUnknown=x\n# Kraj=7\n"})
        EXPECT_EQ(LoadText(text), expected) << text;
    const std::pair<const char*, TTriBool> kWater[] = {{"Vodovod=T\n", TTriBool::tbTrue},
                                                       {"Vodovod=F\n", TTriBool::tbFalse},
                                                       {"Vodovod=t\n", TTriBool::tbUnknown},
                                                       {"Vodovod=\n", TTriBool::tbUnknown},
                                                       {"Vodovod=Ano\n", TTriBool::tbUnknown}};
    for (const auto& [text, water] : kWater) EXPECT_EQ(LoadText(text).Vodovod, water) << text;
    EXPECT_EQ(LoadText("Kod=0\n").Kod, 0);
    EXPECT_DOUBLE_EQ(LoadText("NadmVyska=350.5\n").NadmVyska, 350.5);
    for (const char* bad : {"NadmVyska=350,5\n", "ObyvateleCelkem=\n", "Kod=99999999999\n"})
        EXPECT_THROW(LoadText(bad), EZevraError) << bad;
}

TEST_F(InputFile, AFileWithUnixLineEndsIsReadLineByLine) {
    test::WriteBytes(dir.File("lf.txt"), "# Vstupni data modelu ZEVRA\n\nInputData=Dub\nKraj=2\n");
    const TZevraInputData input = data.LoadInputData(dir.File("lf.txt"));
    EXPECT_EQ(input.Obec, "Dub");
    EXPECT_EQ(input.Kraj, 2);
}

TEST_F(InputFile, TheModelKeepsItsInputWhenALoadFailsAndItsFileWhenASaveFails) {
    test::WriteDataSet(dir.Path() / "data");
    TZevraModel model((dir.Path() / "data").string());
    model.Input().Obec = "Dub";
    const std::string missing = dir.File("missing.txt");
    EXPECT_EQ(test::ErrorOf([&] { model.LoadInput(missing); }),
              "Soubor potřebý pro běh programu nebyl nalezen!\r\n[" + missing + "]");
    test::WriteBytes(dir.File("bad.txt"), "InputData=Bor\nKraj=x\n");
    EXPECT_THROW(model.LoadInput(dir.File("bad.txt")), EZevraError);
    EXPECT_EQ(model.Input().Obec, "Dub");

    test::WriteBytes(dir.File("keep.txt"), "old");
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) {  // root writes anywhere
        EXPECT_THROW(model.SaveInput(dir.File("keep.txt")), EZevraError);
        EXPECT_EQ(test::ReadBytes(dir.File("keep.txt")), "old");
    }
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    EXPECT_THROW(model.SaveInput(dir.File("no-such-folder/obec.txt")), EZevraError);
    EXPECT_EQ(test::ReadBytes(dir.File("keep.txt")), "old");
}

TEST(NotAFile, DirectoriesFifosAndDevicesAreRefusedAtOnce) {
    test::TempDir dir;
    EXPECT_EQ(test::ErrorOf([&] { ReadFileBytes(dir.Path().string()); }),
              "Zadaná cesta není soubor, ale adresář!\r\n[" + dir.Path().string() + "]");
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(test::ErrorOf([&] { ReadFileBytes(fifo); }), "Zadaná cesta není soubor, ale roura (FIFO)!\r\n[" + fifo + "]");
    EXPECT_EQ(test::ErrorOf([&] { ReadFileBytes("/dev/zero"); }), "Zadaná cesta není soubor, ale zařízení!\r\n[/dev/zero]");
    const TZevraData data(dir.Path().string());
    EXPECT_EQ(test::ErrorOf([&] { data.LoadInputData(fifo); }), "Zadaná cesta není soubor, ale roura (FIFO)!\r\n[" + fifo + "]");
    std::filesystem::create_directory(dir.Path() / "Regions.txt");
    EXPECT_EQ(test::ErrorOf([&] { data.LoadRegions(); }).rfind("Zadaná cesta není soubor, ale adresář!", 0), 0u);
}

}  // namespace
}  // namespace zevra

// A name whose code page 1250 bytes form valid UTF-8 ("Ë™" is CB 99, the
// UTF-8 of "˙") is saved so that it reads back unchanged.
TEST(InputFileEncoding, ANameThatLooksLikeUtf8InCp1250ReadsBackUnchanged) {
    for (const std::string name : {"O\xC3\x8B\xE2\x84\xA2", "Chrášťany", "ÚŠOVICE"}) {
        zevra::TZevraInputData input;
        input.Obec = name;
        const std::string bytes = zevra::TZevraData::InputDataFileBytes(input);
        EXPECT_EQ(zevra::TZevraData::ParseInputData(bytes).Obec, name) << name;
    }
}
