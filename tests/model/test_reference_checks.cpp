// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged reference data are refused at load, naming the file, the key and
// the line; an incomplete user data folder is an error; the shipped
// demonstration data are recognised.
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_paths.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <map>

namespace zevra {
namespace {

namespace fs = std::filesystem;

const char* const kFiles[] = {"DecilDists", "MuniInfo", "Regions", "SampMuni", "OWeights"};

// The shipped data copied into a temporary folder.
class ShippedCopy : public ::testing::Test {
protected:
    ShippedCopy() {
        for (const char* name : kFiles) fs::copy_file(Shipped(name), Copy(name));
    }
    static std::string Shipped(const char* name) { return std::string(ZEVRA_TEST_DATA_DIR) + "/" + name + ".txt"; }
    std::string Copy(const char* name) const { return dir.File(std::string(name) + ".txt"); }

    std::string Refusal() const { return test::ErrorOf([&] { TZevraModel model(dir.Path().string()); }); }
    // The folder's files given in memory, but `file` as `damaged`: the same
    // parse and checks as for the folder's files, the same messages.
    std::string RefusalInMemory(std::string_view file = {}, const std::string& damaged = {}) const {
        TReferenceBytes bytes;
        for (std::size_t i = 0; i < kReferenceFileNames.size(); ++i)
            bytes[i] = file == kReferenceFileNames[i] ? damaged : test::ReadBytes(Copy(kReferenceFileNames[i]));
        return test::ErrorOf([&] { TZevraModel model(TZevraData(dir.Path().string(), std::move(bytes))); });
    }

    test::TempDir dir;
};

// One damaged variant of a shipped file: the first (or, for a cut, the last)
// occurrence of `from` is replaced by `to`; a cut drops it and all after it.
enum class Edit { Replace, Cut };
struct TDamage {
    const char* File;
    Edit How;
    const char* From;
    const char* To;
    const char* What;  // the refusal after "Chybná referenční data: "
    int Line;          // the line named with the file; 0: the file alone
};

const TDamage kDamages[] = {
    // Numbers outside what sound data hold.
    {"OWeights", Edit::Replace, "dck=10\r\n", "dck=1e308\r\n", "váha dck = 1E308 neleží v rozsahu 0 až 100", 5},
    {"OWeights", Edit::Replace, "dvo=10\r\n", "dvo=1e300\r\n", "váha dvo = 1E300 neleží v rozsahu 0 až 100", 6},
    {"OWeights", Edit::Replace, "rps=20\r\n", "rps=4e-320\r\n",
     "váha rps = 3.99995546873073E-320 je nepatrně malé (podnormální) číslo", 11},
    {"OWeights", Edit::Replace, "dck=10\r\n", "dck=20\r\n", "součet vah 110 neleží v rozsahu 99 až 101", 0},
    {"DecilDists", Edit::Replace, "Value9=72\r\n", "Value9=1e300\r\n",
     "rozdělení decilů 'dck': Value9 = 1E300 neleží v rozsahu 0 až 999", 14},
    {"DecilDists", Edit::Replace, "Value9=79.5\r\n", "Value9=150\r\n",
     "rozdělení decilů 'vea': Value9 = 150 neleží v rozsahu 0 až 100", 74},
    {"DecilDists", Edit::Replace, "Value1=-95\r\n", "Value1=-2000\r\n",
     "rozdělení decilů 'nvr': Value1 = -2000 neleží v rozsahu -1487 až 1487", 42},
    {"DecilDists", Edit::Replace, "DecilDist=rps\r\n", "DecilDist=rsp\r\n", "rozdělení decilů 'rsp': neznámý indikátor",
     76},
    {"Regions", Edit::Replace, "NadmVyska=548\r\n", "NadmVyska=1e308\r\n",
     "kraj číslo 2: NadmVyska = 1E308 neleží v rozsahu 115 až 1602", 14},
    {"Regions", Edit::Replace, "NadmVyska=548\r\n", "NadmVyska=0.5\r\n",
     "kraj číslo 2: NadmVyska = 0.5 neleží v rozsahu 115 až 1602", 14},
    {"SampMuni", Edit::Replace, "Obyvatelstvo=620\r\n", "Obyvatelstvo=5000\r\n",
     "obec 'Bítovany nad Vltavou': Obyvatelstvo = 5000 neleží v rozsahu 0 až 1000", 16},
    {"MuniInfo", Edit::Replace, "Kod=500096\r\n", "Kod=-1\r\n", "obec 'Blatnice': Kod = -1 neleží v rozsahu 1 až 999999",
     5},
    // Files cut short at a line end, keys missing.
    {"OWeights", Edit::Cut, "nvr=20\r\n", "", "váhy: chybí klíč 'nvr'", 7},
    {"OWeights", Edit::Cut, "rps=20\r\n", "", "váhy: chybí klíč 'rps'", 10},
    {"SampMuni", Edit::Cut, "Obyvatelstvo=490\r\n", "", "obec 'Zdounky': chybí klíč 'Obyvatelstvo'", 5030},
    {"Regions", Edit::Replace, "NadmVyska=548\r\n", "", "kraj číslo 2: chybí klíč 'NadmVyska'", 10},
    {"MuniInfo", Edit::Replace, "Kod=500096\r\n", "", "obec 'Blatnice': chybí klíč 'Kod'", 4},
    // Keys and blocks given twice.
    {"OWeights", Edit::Replace, "rps=20\r\n", "rps=20\r\ndck=30\r\n",
     "klíč 'dck' je v záznamu uveden podruhé (poprvé na řádku 5)", 12},
    {"OWeights", Edit::Replace, "rps=20\r\n", "rps=20\r\n\r\nOWeights=2\r\n",
     "klíč 'OWeights' je v záznamu uveden podruhé (poprvé na řádku 4)", 13},
    {"DecilDists", Edit::Replace, "Asc=T\r\n", "Asc=T\r\nAsc=F\r\n",
     "klíč 'Asc' je v záznamu uveden podruhé (poprvé na řádku 5)", 6},
    {"DecilDists", Edit::Replace, "DecilDist=rps\r\n", "DecilDist=DCK\r\n",
     "blok DecilDist indikátoru 'DCK' je uveden podruhé (poprvé na řádku 4)", 76},
    {"Regions", Edit::Replace, "RokDo=2999\r\n", "RokDo=2999\r\nNazev=Jiný\r\n",
     "klíč 'Nazev' je v záznamu uveden podruhé (poprvé na řádku 5)", 8},
    {"MuniInfo", Edit::Replace, "Kod=500117\r\n", "Kod=500096\r\n",
     "obec 'Bítovany nad Vltavou': kód 500096 je uveden podruhé (poprvé na řádku 5)", 9},
    {"SampMuni", Edit::Replace, "Kod=500259\r\n", "Kod=500117\r\n",
     "obec 'Dobrá nad Vltavou': kód 500117 je uveden podruhé (poprvé na řádku 7)", 21},
};

TEST_F(ShippedCopy, DamagedReferenceFilesAreRefusedNamingTheFileTheKeyAndTheLine) {
    ASSERT_EQ(Refusal(), "(no error)");
    ASSERT_EQ(RefusalInMemory(), "(no error)");
    for (const TDamage& d : kDamages) {
        const std::string original = test::ReadBytes(Copy(d.File));
        std::string damaged = original;
        const std::string from = d.From;
        const std::size_t at = d.How == Edit::Cut ? damaged.rfind(from) : damaged.find(from);
        ASSERT_NE(at, std::string::npos) << d.File << ": " << from;
        if (d.How == Edit::Cut) damaged.erase(at);
        else damaged.replace(at, from.size(), Utf8ToCp1250(d.To));
        test::WriteBytes(Copy(d.File), damaged);
        const std::string where = d.Line == 0 ? "" : ", řádek " + std::to_string(d.Line);
        const std::string refusal = Refusal();
        EXPECT_EQ(refusal, std::string("Chybná referenční data: ") + d.What + "!\r\n[" + Copy(d.File) + where + "]")
            << d.File << ": " << from << " -> " << d.To;
        test::WriteBytes(Copy(d.File), original);
        EXPECT_EQ(RefusalInMemory(d.File, damaged), refusal) << d.File << ": " << from << " -> " << d.To;
    }
}

TEST_F(ShippedCopy, DemonstrationDataAreToldByTheFirstLineOfAnyFile) {
    // A model tells it once, of the data it read, from a folder or from memory.
    const auto models = [&] {
        TReferenceBytes bytes;
        for (std::size_t i = 0; i < kReferenceFileNames.size(); ++i)
            bytes[i] = test::ReadBytes(Copy(kReferenceFileNames[i]));
        const TZevraModel inMemory(TZevraData(dir.Path().string(), std::move(bytes)));
        const TZevraModel read(dir.Path().string());
        EXPECT_EQ(inMemory.DemonstrationData(), read.DemonstrationData());
        return read.DemonstrationData();
    };
    EXPECT_TRUE(IsDemonstrationData(ZEVRA_TEST_DATA_DIR));
    EXPECT_TRUE(IsDemonstrationData(dir.Path().string()));
    EXPECT_TRUE(models());
    // An office's data: no file says it is demonstration data.
    for (const char* name : kFiles) {
        std::string bytes = test::ReadBytes(Copy(name));
        bytes.replace(0, bytes.find('\r'), "# Referencni data uradu");
        test::WriteBytes(Copy(name), bytes);
    }
    EXPECT_FALSE(IsDemonstrationData(dir.Path().string()));
    EXPECT_FALSE(models());
    // One demonstration file among real ones is enough; a UTF-8 mark before it too.
    test::WriteBytes(Copy("Regions"), "\xEF\xBB\xBF" + test::ReadBytes(Shipped("Regions")));
    EXPECT_TRUE(IsDemonstrationData(dir.Path().string()));
    EXPECT_TRUE(models());
    test::TempDir empty;
    EXPECT_FALSE(IsDemonstrationData(empty.Path().string()));
}

// XDG_DATA_HOME pointed at a temporary folder for one test.
class UserDataFolder : public ::testing::Test {
protected:
    UserDataFolder() {
        if (const char* old = std::getenv("XDG_DATA_HOME")) FOld = old;
        ::setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
        fs::create_directories(Folder());
    }
    ~UserDataFolder() override {
        if (FOld) ::setenv("XDG_DATA_HOME", FOld->c_str(), 1);
        else ::unsetenv("XDG_DATA_HOME");
    }
    fs::path Folder() const { return home.Path() / "zevra" / "data"; }
    void Put(const char* name) const {
        fs::copy_file(std::string(ZEVRA_TEST_DATA_DIR) + "/" + name, Folder() / name, fs::copy_options::overwrite_existing);
    }
    static std::string Located() {
        try {
            return LocateDataDir();
        } catch (const EZevraError& e) {
            return e.what();
        }
    }

    test::TempDir home;
    std::optional<std::string> FOld;
};

TEST_F(UserDataFolder, SomeButNotAllFilesAreAnErrorNamingTheMissingOnes) {
    // None of the files: the folder is passed over.
    EXPECT_NE(Located(), Folder().string());
    Put("Regions.txt");
    Put("OWeights.txt");
    EXPECT_EQ(Located(), "Uživatelská složka referenčních dat je neúplná, chybí soubory: DecilDists.txt, "
                         "MuniInfo.txt, SampMuni.txt!\r\n[" + Folder().string() + "]");
    for (const char* name : {"DecilDists.txt", "MuniInfo.txt", "SampMuni.txt"}) Put(name);
    EXPECT_EQ(Located(), Folder().string());
}

class ReferenceData : public ::testing::Test {
protected:
    std::string Refusal(const std::map<std::string, std::string>& replace) {
        test::WriteDataSet(dir.Path(), replace);
        return test::ErrorOf([&] { TZevraModel model(dir.Path().string()); });
    }
    std::string Path(const char* name) const { return dir.File(std::string(name) + ".txt"); }
    test::TempDir dir;
};

TEST_F(ReferenceData, DamagedFilesAreRefusedNamingTheFileAndTheRecord) {
    EXPECT_EQ(Refusal({}), "(no error)");
    std::string decreasing = "DecilDist = dvo\n";
    for (int k = 1; k <= 9; ++k) decreasing += "Value" + std::to_string(k) + " = " + std::to_string(k == 5 ? 0 : k) + "\n";
    const struct {
        const char* File;
        std::string Text;
        const char* What;   // after "Chybná referenční data: "
        const char* Where;  // after the file's path
    } kCases[] = {
        {"OWeights", "# nic\n", "součet vah musí být kladné konečné číslo", ""},
        {"OWeights", "dck = 1e308\ndvo = 1e308\n", "součet vah musí být kladné konečné číslo", ""},
        {"OWeights", "dck = 1\ndvo = -1\n", "váha 'dvo' musí být konečné nezáporné číslo", ""},
        // A missing weight line is a file cut short (a weight meant to be 0 is written as 0).
        {"OWeights", "dck = 1\n", "váhy: chybí klíč 'dvo'", ", řádek 1"},
        {"DecilDists", "DecilDist = dck\nValue1 = 1\nValue2 = 2\n",
         "rozdělení decilů 'dck' nemá všech devět hranic Value1 až Value9", ""},
        {"DecilDists", decreasing, "rozdělení decilů 'dvo': hranice Value5 je menší než předchozí", ""},
        {"Regions", "Region = 1\nNazev = A\nRegion = 1\nNazev = B\n", "kraj číslo 1 je uveden dvakrát", ""},
        {"Regions", "Region = 2\n", "kraj číslo 2 nemá název", ""},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Refusal({{c.File, c.Text}}),
                  "Chybná referenční data: " + std::string(c.What) + "!\r\n[" + Path(c.File) + c.Where + "]")
            << c.File << ": " << c.Text;
    EXPECT_EQ(Refusal({{"SampMuni", "Obec = Dub\nObyvateleCelkem = 500\ndck = 11\n"}}).rfind(
                  "Chybná referenční data: obec 'Dub': decil 11 neleží v rozsahu 1 až 10!", 0),
              0u);
}

}  // namespace
}  // namespace zevra
