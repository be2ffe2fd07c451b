// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"
#include "model/u_DAO.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace zevra {
namespace {

TEST(Codec, EveryByteOfTheCodePageSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1250ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToCp1250(utf8), all);
}

TEST(Codec, CzechLettersAndUndefinedBytes) {
    EXPECT_EQ(Cp1250ToUtf8("\x8a\x9a\xe8\xf8\xec"), "Šščřě");
    EXPECT_EQ(Utf8ToCp1250("Žluťoučký kůň"), "\x8elu\x9dou\xe8k\xfd k\xf9\xf2");
    // The five bytes the code page leaves undefined travel as U+0081 ... U+0098.
    EXPECT_EQ(Cp1250ToUtf8("\x81\x98"), "\xc2\x81\xc2\x98");
}

TEST(Codec, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1250("a€b"), "a\x80" "b");
    EXPECT_EQ(Utf8ToCp1250("日本"), "??");
    EXPECT_EQ(Utf8ToCp1250("x\xff\xfey"), "x??y");  // malformed UTF-8
}

TEST(FileText, EncodingIsDetectedAndCtrlZEndsTheFile) {
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBFObec = Dub"), "Obec = Dub");
    EXPECT_EQ(DecodeFileText("Obec = Čáslav"), "Obec = Čáslav");          // valid UTF-8
    EXPECT_EQ(DecodeFileText("Obec = \xc8\xe1slav"), "Obec = Čáslav");    // code page 1250
    EXPECT_EQ(DecodeFileText("a = 1\r\n\x1a" "b = 2"), "a = 1\r\n");
    // The UTF-8 check looks only at the bytes before the Ctrl-Z.
    EXPECT_EQ(DecodeFileText("Č\x1a\xff"), "Č");
    // A mark followed by code page 1250 bytes still gives well-formed text.
    const std::string marked = DecodeFileText("\xEF\xBB\xBFObec = \xc8\xe1slav");
    EXPECT_TRUE(IsValidUtf8(marked));
    EXPECT_EQ(marked, "Obec = \uFFFD\uFFFDslav");
}

TEST(FileText, CrLfLoneCrAndLoneLfEachEndALine) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n\r"), (V{"", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Utf8Helpers, CountAndCutByCharacters) {
    EXPECT_EQ(Utf8Length("Čáslav"), 6u);
    EXPECT_EQ(Utf8Left("Čáslav", 2), "Čá");
    EXPECT_EQ(Utf8Left("ab", 5), "ab");
    EXPECT_EQ(AsciiUpper("lhota č"), "LHOTA č");
}

TEST(AtomicWrite, ReplacesTheTargetOnlyWhenComplete) {
    test::TempDir dir;
    const std::string target = dir.File("out.txt");
    test::WriteBytes(target, "old");
    SaveFile(target, "new content");
    EXPECT_EQ(test::ReadBytes(target), "new content");

    const std::string unreachable = dir.File("missing-folder/out.txt");
    EXPECT_THROW(SaveFile(unreachable, "x"), EZevraError);
    EXPECT_FALSE(FileExists(unreachable));
    // Nothing but the target is left in the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(Strings, BlankTrimAndMessageFormatting) {
    EXPECT_TRUE(IsBlank(std::string("\t \x01\r\n")));
    EXPECT_FALSE(IsBlank(" x "));
    EXPECT_EQ(Trim("\t x y \r"), "x y");
    EXPECT_TRUE(SameStr("Lhota", "Lhota"));
    EXPECT_FALSE(SameStr("Lhota", "lhota"));
    EXPECT_EQ(FormatMessage("Řádek %d: %s", {"3", "chyba"}), "Řádek 3: chyba");
}

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

// What every output writer is handed for the character at the start of the
// text: the code point, the bytes it spans, whether an output may carry it.
TEST(OutputText, EachCharacterDecodedWithItsLengthAndWhetherItIsWritable) {
    struct TCase {
        const char* Text;
        char32_t Char;
        unsigned Length;
        bool Writable;
    };
    const TCase cases[] = {
        {"a", U'a', 1, true},
        {"\t", U'\t', 1, true},
        {"\x01", 0x01, 1, false},
        {"\x7F", 0x7F, 1, false},
        {"\xC2\x85", 0x85, 2, false},        // C1 control
        {"\xC2\xA0", 0xA0, 2, true},         // no-break space
        {"\xEF\xBF\xBE", 0xFFFE, 3, false},  // no XML character
        {"\xEF\xBF\xBD", 0xFFFD, 3, true},   // U+FFFD of the input itself
        {"\xF0\x9F\x98\x80", 0x1F600, 4, true},
        // No valid sequence: one byte, not writable, whatever follows.
        {"\xED\xA0\x80", 0xFFFD, 1, false},  // surrogate
        {"\xC0\xAF", 0xFFFD, 1, false},       // overlong
        {"\xE2\x82", 0xFFFD, 1, false},       // cut short
        {"\xF4\x90\x80\x80", 0xFFFD, 1, false},  // beyond U+10FFFF
        {"\x80", 0xFFFD, 1, false},
    };
    for (const TCase& c : cases) {
        const TOutputChar got = NextOutputChar(c.Text, 0);
        EXPECT_EQ(got.Char, c.Char) << c.Text;
        EXPECT_EQ(got.Length, c.Length) << c.Text;
        EXPECT_EQ(got.Writable, c.Writable) << c.Text;
    }
    // Each byte that starts no valid sequence is replaced on its own.
    EXPECT_EQ(WritableText("a\xE2\x82x\xED\xA0\x80\t\xC2\x85\xEF\xBF\xBD"),
              "a\uFFFD\uFFFDx\uFFFD\uFFFD\uFFFD\t\uFFFD\uFFFD");
}

}  // namespace
}  // namespace zevra
