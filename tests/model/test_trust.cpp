// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Files and text the user can trust: encoding detection, saves that keep what
// they replace, inputs that are not files, checked reference data, messages
// and kilometres.
#include "model/u_DAO.h"
#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <csignal>
#include <map>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zevra {
namespace {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EZevraError& e) {
        return e.what();
    }
    return "(no error)";
}

// --- encoding ------------------------------------------------------------------

TEST(Encoding, CodePageNamesThatLookLikeUtf8AreReadAsCodePage1250) {
    for (const char* name : {"Chrášťany", "ÚŠOVICE", "LIBĚŠICE"}) {
        EXPECT_EQ(DecodeFileText(Utf8ToCp1250(std::string("Obec = ") + name)), std::string("Obec = ") + name);
    }
}

TEST(Encoding, EveryShippedMunicipalityNameSurvivesASaveAndARead) {
    const TZevraData data(ZEVRA_TEST_DATA_DIR);
    const auto infos = data.LoadMuniInfo();
    ASSERT_GT(infos.size(), 100u);
    int failures = 0;
    for (const TZevraMunicipalityInfo& info : infos) {
        TZevraInputData input;
        input.Obec = info.Obec;
        const TZevraInputData back = TZevraData::ParseInputData(TZevraData::InputDataFileBytes(input));
        if (back.Obec != info.Obec && ++failures < 10) ADD_FAILURE() << info.Obec << " -> " << back.Obec;
    }
    EXPECT_EQ(failures, 0);
}

TEST(Encoding, Utf8WithAStrayByteAndUtf16WithAMark) {
    EXPECT_EQ(DecodeFileText("Obec = Čáslav\r\nOkres = Kutná Hora"), "Obec = Čáslav\r\nOkres = Kutná Hora");
    // One pasted code page 1250 name does not garble the UTF-8 file.
    EXPECT_EQ(DecodeFileText("Obec = Čáslav, Říčany\r\nObec = \x8A" "umperk\r\n"),
              "Obec = Čáslav, Říčany\r\nObec = Šumperk\r\n");
    // Mostly stray bytes: code page 1250.
    EXPECT_EQ(DecodeFileText("\xC8\xE1slav \xE8\xE1" "Č"), "Čáslav čáÄŚ");
    const std::u16string text = u"Obec = Ěšť 😀\x001A" u"rest";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t u : text) {
        le += static_cast<char>(u & 0xFF), le += static_cast<char>(u >> 8);
        be += static_cast<char>(u >> 8), be += static_cast<char>(u & 0xFF);
    }
    EXPECT_EQ(DecodeFileText(le), "Obec = Ěšť 😀");
    EXPECT_EQ(DecodeFileText(be), "Obec = Ěšť 😀");
    EXPECT_EQ(DecodeFileText(std::string("\xFF\xFE" "A\x00\x00\xD8", 6)), "A\xEF\xBF\xBD");  // unpaired surrogate
}

// --- inputs that are not files ----------------------------------------------------

TEST(NotAFile, DirectoriesFifosAndDevicesAreRefusedAtOnce) {
    test::TempDir dir;
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir.Path().string()); }),
              "Zadaná cesta není soubor, ale adresář!\r\n[" + dir.Path().string() + "]");
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(fifo); }), "Zadaná cesta není soubor, ale roura (FIFO)!\r\n[" + fifo + "]");
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes("/dev/zero"); }), "Zadaná cesta není soubor, ale zařízení!\r\n[/dev/zero]");
    const TZevraData data(dir.Path().string());
    EXPECT_EQ(ErrorOf([&] { data.LoadInputData(fifo); }), "Zadaná cesta není soubor, ale roura (FIFO)!\r\n[" + fifo + "]");
    std::filesystem::create_directory(dir.Path() / "Regions.txt");
    EXPECT_EQ(ErrorOf([&] { data.LoadRegions(); }).rfind("Zadaná cesta není soubor, ale adresář!", 0), 0u);
}

// --- saves ---------------------------------------------------------------------------

TEST(Saves, ALinkIsFollowedAndPermissionsAndHardLinksAreKept) {
    test::TempDir dir;
    const std::string target = dir.File("target.txt"), link = dir.File("link.txt");
    test::WriteBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    std::filesystem::create_symlink("target.txt", link);
    SaveFile(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    const std::string second = dir.File("second.txt");
    std::filesystem::create_hard_link(target, second);
    SaveFile(second, "both");
    EXPECT_EQ(test::ReadBytes(target), "both");
    EXPECT_EQ(test::ReadBytes(second), "both");
    SaveFile(second, "b");  // shorter: the rest is cut off
    EXPECT_EQ(test::ReadBytes(target), "b");

    // A dangling link's target is created.
    std::filesystem::create_symlink("created.txt", dir.File("dangling"));
    SaveFile(dir.File("dangling"), "x");
    EXPECT_EQ(test::ReadBytes(dir.File("created.txt")), "x");
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 5);
}

TEST(Saves, DevicesAreWrittenInPlaceAndAFailingWriteIsAnError) {
    EXPECT_NO_THROW(SaveFile("/dev/null", "nothing"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(ErrorOf([] { SaveFile("/dev/full", "x"); }), "Soubor nelze zapsat!\r\n[/dev/full]");
    test::TempDir dir;
    EXPECT_EQ(ErrorOf([&] { SaveFile(dir.Path().string(), "x"); }),
              "Zadaná cesta není soubor, ale adresář!\r\n[" + dir.Path().string() + "]");
}

TEST(Saves, AFileSizeLimitIsAWriteErrorAndASignalRemovesTheTemporaryFile) {
    test::TempDir dir;
    const std::string target = dir.File("big.txt");
    // Through a shell, so the limit applies to a fresh process.
    const std::string command = "ulimit -f 1; " + std::string(ZEVRA_CLI_PATH) + " --data '" ZEVRA_TEST_DATA_DIR
                                "' batch " ZEVRA_EXAMPLES_DIR "/obce.csv " + target + " 2>/dev/null";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw));
    if (WIFEXITED(raw)) {
        EXPECT_EQ(WEXITSTATUS(raw), 2);
    }
    EXPECT_FALSE(std::filesystem::exists(target));

    // A signal during a save: the temporary files go with the process, the
    // writer's beside the target and the private one of a library's output.
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1}) {
        const pid_t saver = ::fork();
        if (saver == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::setenv("TMPDIR", dir.Path().c_str(), 1);
            TSafeFileWriter writer(dir.File("out.txt"));
            writer.Write("partial");
            const TTempFile library(".xlsx");
            ::raise(sig);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(saver, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << sig;
        int entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
        EXPECT_EQ(entries, 0) << sig;
    }
}

// Every name the file system allows can be saved, also where "." + name +
// the random part of a temporary name would be too long; a multi-byte
// character at the cut is not split.
TEST(Saves, NamesUpToTheLongestAllowedAreSavedAndReplaced) {
    test::TempDir dir;
    std::string czech;
    while (czech.size() < 254) czech += "č";
    for (const std::string& name : {std::string(250, 'a'), std::string(255, 'b'), czech}) {
        const std::string path = dir.File(name);
        SaveFile(path, "first");
        SaveFile(path, "second");
        EXPECT_EQ(test::ReadBytes(path), "second") << name.size();
        int entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
        EXPECT_EQ(entries, 1) << name.size();
        std::filesystem::remove(path);
    }
}

TEST(Saves, SameFileSeesLinksAndInodes) {
    test::TempDir dir;
    test::WriteBytes(dir.File("a.csv"), "x");
    std::filesystem::create_symlink("a.csv", dir.File("l.csv"));
    EXPECT_TRUE(SameFile(dir.File("a.csv"), dir.File("l.csv")));
    EXPECT_TRUE(SameFile(dir.File("a.csv"), dir.File("./a.csv")));
    EXPECT_FALSE(SameFile(dir.File("a.csv"), dir.File("b.csv")));
}

// --- reference data ---------------------------------------------------------------

class ReferenceData : public ::testing::Test {
protected:
    std::string Refusal(const std::map<std::string, std::string>& replace) {
        test::WriteDataSet(dir.Path(), replace);
        return ErrorOf([&] { TZevraModel model(dir.Path().string()); });
    }
    std::string Path(const char* name) const { return dir.File(std::string(name) + ".txt"); }
    test::TempDir dir;
};

TEST_F(ReferenceData, DamagedFilesAreRefusedNamingTheFileAndTheRecord) {
    EXPECT_EQ(Refusal({}), "(no error)");
    EXPECT_EQ(Refusal({{"OWeights", "# nic\n"}}),
              "Chybná referenční data: součet vah musí být kladné konečné číslo!\r\n[" + Path("OWeights") + "]");
    EXPECT_EQ(Refusal({{"OWeights", "dck = 1e308\ndvo = 1e308\n"}}),
              "Chybná referenční data: součet vah musí být kladné konečné číslo!\r\n[" + Path("OWeights") + "]");
    EXPECT_EQ(Refusal({{"OWeights", "dck = 1\ndvo = -1\n"}}),
              "Chybná referenční data: váha 'dvo' musí být konečné nezáporné číslo!\r\n[" + Path("OWeights") + "]");
    // A missing weight line is a file cut short (a weight meant to be 0 is written as 0).
    EXPECT_EQ(Refusal({{"OWeights", "dck = 1\n"}}),
              "Chybná referenční data: váhy: chybí klíč 'dvo'!\r\n[" + Path("OWeights") + ", řádek 1]");
    EXPECT_EQ(Refusal({{"DecilDists", "DecilDist = dck\nValue1 = 1\nValue2 = 2\n"}}),
              "Chybná referenční data: rozdělení decilů 'dck' nemá všech devět hranic Value1 až Value9!\r\n[" +
                  Path("DecilDists") + "]");
    std::string decreasing = "DecilDist = dvo\n";
    for (int k = 1; k <= 9; ++k) decreasing += "Value" + std::to_string(k) + " = " + std::to_string(k == 5 ? 0 : k) + "\n";
    EXPECT_EQ(Refusal({{"DecilDists", decreasing}}),
              "Chybná referenční data: rozdělení decilů 'dvo': hranice Value5 je menší než předchozí!\r\n[" +
                  Path("DecilDists") + "]");
    EXPECT_EQ(Refusal({{"Regions", "Region = 1\nNazev = A\nRegion = 1\nNazev = B\n"}}),
              "Chybná referenční data: kraj číslo 1 je uveden dvakrát!\r\n[" + Path("Regions") + "]");
    EXPECT_EQ(Refusal({{"Regions", "Region = 2\n"}}),
              "Chybná referenční data: kraj číslo 2 nemá název!\r\n[" + Path("Regions") + "]");
    EXPECT_EQ(Refusal({{"SampMuni", "Obec = Dub\nObyvateleCelkem = 500\ndck = 11\n"}}).rfind(
                  "Chybná referenční data: obec 'Dub': decil 11 neleží v rozsahu 1 až 10!", 0),
              0u);
}

// --- messages and numbers -------------------------------------------------------------

TEST(Messages, AValueIsEchoedUpToFortyCharactersAndANulDoesNotCutIt) {
    const std::string longValue(100, '9');
    EXPECT_EQ(ErrorOf([&] { StrToInt(longValue + "x"); }),
              "'" + std::string(40, '9') + "…' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { StrToFloat(std::string("1\0" "2", 3)); }), "'1\\x002' is not a valid floating point value");
    EXPECT_EQ(ErrorOf([] { StrToFloat("ěščřžýáíéúůěščřžýáíéúůěščřžýáíéúůěščřžýáíéúů"); }),
              "'ěščřžýáíéúůěščřžýáíéúůěščřžýáíéúůěščřžýá…' is not a valid floating point value");
}

TEST(Kilometres, TheDecimalAsWrittenIsTruncatedToWholeMetres) {
    EXPECT_EQ(KmToMetres("1.005"), 1005);
    EXPECT_EQ(KmToMetres("999.9999995"), 999999);
    EXPECT_EQ(KmToMetres("4.35"), 4350);
    EXPECT_EQ(KmToMetres("0.0009"), 0);
    EXPECT_EQ(KmToMetres("-1.0005"), -1000);
    EXPECT_EQ(KmToMetres("1e3"), 1000000);
    EXPECT_EQ(KmToMetres("1e-3"), 1);
    EXPECT_EQ(KmToMetres("99999999"), 2147483647);
    EXPECT_EQ(KmToMetres("abc"), std::nullopt);
    EXPECT_EQ(KmToMetres(1.005), 1005);
    EXPECT_EQ(KmToMetres(999.9999995), 999999);
    EXPECT_EQ(KmToMetres(2.3), 2300);
    EXPECT_EQ(KmToMetres(-2.3), -2300);
    EXPECT_EQ(KmToMetres(4.3499999999), 4349);
    EXPECT_EQ(KmToMetres(4.3500000001), 4350);
}

TEST(Kilometres, TheStoredNumberGivesWhatItsDecimalGives) {
    // Decimals of up to seven places, many of them at or near whole metres,
    // read as numbers and converted both ways.
    test::TRandom random(12345);
    const auto next = [&random](std::uint64_t range) { return random.Below(range); };
    for (int i = 0; i < 200000; ++i) {
        const int places = static_cast<int>(next(8));
        std::string text = std::to_string(next(1000000));
        if (places > 0) {
            std::string fraction = std::to_string(next(10000000) + 10000000).substr(1, static_cast<std::size_t>(places));
            if (i % 3 == 0 && places > 3) fraction.replace(3, std::string::npos, std::string(places - 3, i % 2 ? '9' : '0'));
            text += "." + fraction;
        }
        if (i % 5 == 0) text.insert(0, "-");
        const double km = std::stod(text);
        ASSERT_EQ(KmToMetres(km), KmToMetres(FormatShortest(km)).value()) << text;
    }
}

TEST(LocaleSeparator, APointGroupsWithNothingAndOtherCharactersAreKept) {
    EXPECT_EQ(LocaleSeparatorToUtf8("."), "");
    EXPECT_EQ(LocaleSeparatorToUtf8(" "), " ");
    EXPECT_EQ(LocaleSeparatorToUtf8(""), "");
    EXPECT_EQ(Utf8ToCp1250("1\u202F234"), "1\xA0" "234");
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "cs_CZ.ISO-8859-2") != nullptr) {
        EXPECT_EQ(LocaleSeparatorToUtf8("\xA0"), "\u00A0");
    }
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
        UseLocaleThousandSeparator();
        EXPECT_EQ(ThousandSeparator(), "");
        EXPECT_EQ(FormatN(444650.5, 1), "444650.5");
    }
    std::setlocale(LC_ALL, previous.c_str());
    SetThousandSeparator(" ");
}

}  // namespace
}  // namespace zevra
