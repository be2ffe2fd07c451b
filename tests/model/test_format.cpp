// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <limits>
#include <clocale>
#include <optional>

namespace zevra {
namespace {

class NumberFormat : public ::testing::Test {
protected:
    void SetUp() override { SetThousandSeparator(","); }
    void TearDown() override { SetThousandSeparator(""); }
};

TEST_F(NumberFormat, GroupedFormatRoundsHalfAwayFromZeroAndGroupsInThrees) {
    const struct {
        double Value;
        int Decimals;
        const char* Expected;
    } kCases[] = {
        // Half away from zero, as people round.
        {0.25, 1, "0.3"}, {0.35, 1, "0.4"}, {2.45, 1, "2.5"}, {-2.45, 1, "-2.5"}, {512.26, 1, "512.3"},
        {9.96, 1, "10.0"}, {0.1 + 0.2, 1, "0.3"}, {-0.04, 1, "0.0"},
        // Digits grouped in threes with the separator.
        {1000, 1, "1,000.0"}, {1602, 1, "1,602.0"}, {99999.999, 3, "99,999.999"}, {1234567.5, 0, "1,234,568"},
        {999.96, 1, "1,000.0"},
    };
    for (const auto& c : kCases) EXPECT_EQ(FormatN(c.Value, c.Decimals), c.Expected) << c.Value;
    SetThousandSeparator("\u00a0");
    EXPECT_EQ(FormatN(1000, 1), "1\u00a0000.0");
    SetThousandSeparator("");
    EXPECT_EQ(FormatN(1000, 1), "1000.0");
}

TEST_F(NumberFormat, FixedFormatHasNoGrouping) {
    EXPECT_EQ(FormatFixed(1234.25, 1), "1234.3");
    EXPECT_EQ(FormatFixed(0.8, 1), "0.8");
    EXPECT_EQ(FormatFixed(0, 1), "0.0");
}

TEST(ShortestForm, NoTrailingZerosAndExponentOnlyAtTheExtremes) {
    const std::pair<double, const char*> kCases[] = {{600, "600"},        {523.25, "523.25"},   {0.1 + 0.2, "0.3"},
                                                     {-12.5, "-12.5"},    {0.00001, "0.00001"}, {1e15, "1E15"},
                                                     {0, "0"}};
    for (const auto& [value, text] : kCases) EXPECT_EQ(FormatShortest(value), text) << value;
}

TEST(RealForm, TwentyThreeCharactersRoundedToFifteenDigits) {
    const std::pair<double, const char*> kCases[] = {{350, " 3.50000000000000E+0002"},
                                                     {0, " 0.00000000000000E+0000"},
                                                     {-0.5, "-5.00000000000000E-0001"},
                                                     {1234.5678, " 1.23456780000000E+0003"},
                                                     {0.1 + 0.2, " 3.00000000000000E-0001"}};
    for (const auto& [value, text] : kCases) EXPECT_EQ(FormatReal23(value), text) << value;
    EXPECT_EQ(FormatReal23(123.456).size(), 23u);
}

TEST(Parsing, IntegersAreSignedDecimalsThatFitIn32Bits) {
    const std::pair<const char*, std::int32_t> kGood[] = {
        {"-1", -1}, {"+42", 42}, {"2147483647", 2147483647}, {"-2147483648", std::numeric_limits<std::int32_t>::min()}};
    for (const auto& [text, value] : kGood) EXPECT_EQ(StrToInt(text), value) << text;
    for (const char* bad : {"", "2147483648", "0x10", "1.0", "1e3", " 1", "12a", "-", "1 000"}) {
        std::int32_t v = 0;
        EXPECT_FALSE(TryParseInteger(bad, v)) << bad;
    }
    EXPECT_EQ(test::ErrorOf([] { StrToInt("12a"); }), "'12a' is not a valid integer value");
}

TEST(Parsing, ShortDecimalsReadAsTheNearestDouble) {
    // Decimals of up to fifteen digits, read as from_chars reads them.
    test::TRandom random(99);
    const auto next = [&random](std::uint64_t range) { return random.Below(range); };
    for (int i = 0; i < 200000; ++i) {
        std::string digits = std::to_string(next(1000000000000000ULL));
        digits.resize(1 + next(digits.size()));
        const std::size_t point = next(digits.size() + 1);
        const std::string text = (i % 4 == 0 ? "-" : "") + digits.substr(0, point) + "." + digits.substr(point);
        double expected = 0;
        std::from_chars(text.data() + (i % 4 == 0), text.data() + text.size(), expected);
        if (i % 4 == 0) expected = -expected;
        double parsed = 1;
        ASSERT_TRUE(TryParseNumber(text, parsed)) << text;
        ASSERT_EQ(std::memcmp(&parsed, &expected, sizeof parsed), 0) << text;
    }
}

TEST(Parsing, NumbersUseThePointAndAnOptionalExponent) {
    const std::pair<const char*, double> kGood[] = {{"12.5", 12.5},           {".5", 0.5},
                                                    {"5.", 5.0},              {"1e3", 1000.0},
                                                    {"-3.5E+0002", -350.0},   {"3.50000000000000E+0002", 350.0}};
    for (const auto& [text, value] : kGood) EXPECT_DOUBLE_EQ(StrToFloat(text), value) << text;
    for (const char* bad : {"", "12,5", "nan", "inf", "0x1p3", "1e", "1.2.3", ".", "e5", "1e999", "5 "}) {
        double v = 0;
        EXPECT_FALSE(TryParseNumber(bad, v)) << bad;
    }
    EXPECT_EQ(test::ErrorOf([] { StrToFloat("12,5"); }), "'12,5' is not a valid floating point value");
}

TEST(Conversion, DoubleToIntegerSaturates) {
    const std::pair<double, std::int32_t> kCases[] = {{1e12, std::numeric_limits<std::int32_t>::max()},
                                                      {-1e12, std::numeric_limits<std::int32_t>::min()},
                                                      {-2.9, -2},
                                                      {std::nan(""), 0}};
    for (const auto& [value, saturated] : kCases) EXPECT_EQ(SaturateToInt32(value), saturated) << value;
}

TEST(Messages, AValueIsEchoedUpToFortyCharactersAndANulDoesNotCutIt) {
    const std::string longValue(100, '9');
    EXPECT_EQ(test::ErrorOf([&] { StrToInt(longValue + "x"); }),
              "'" + std::string(40, '9') + "…' is not a valid integer value");
    EXPECT_EQ(test::ErrorOf([] { StrToFloat(std::string("1\0" "2", 3)); }), "'1\\x002' is not a valid floating point value");
    EXPECT_EQ(test::ErrorOf([] { StrToFloat("ěščřžýáíéúůěščřžýáíéúůěščřžýáíéúůěščřžýáíéúů"); }),
              "'ěščřžýáíéúůěščřžýáíéúůěščřžýáíéúůěščřžýá…' is not a valid floating point value");
}

TEST(Kilometres, TheDecimalAsWrittenIsTruncatedToWholeMetres) {
    const std::pair<const char*, std::optional<std::int32_t>> kTexts[] = {
        {"1.005", 1005}, {"999.9999995", 999999}, {"4.35", 4350},       {"0.0009", 0},       {"-1.0005", -1000},
        {"1e3", 1000000}, {"1e-3", 1},            {"99999999", 2147483647}, {"abc", std::nullopt}};
    for (const auto& [text, metres] : kTexts) EXPECT_EQ(KmToMetres(text), metres) << text;
    const std::pair<double, std::int32_t> kNumbers[] = {{1.005, 1005}, {999.9999995, 999999},  {2.3, 2300},
                                                        {-2.3, -2300}, {4.3499999999, 4349}, {4.3500000001, 4350}};
    for (const auto& [km, metres] : kNumbers) EXPECT_EQ(KmToMetres(km), metres) << km;
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
