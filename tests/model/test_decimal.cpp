// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The decimal conversions that stand in for the floating-point to_chars and
// from_chars (the WebAssembly build's library has neither): here, where the
// standard ones exist, they must agree with them to the byte, under any
// process locale (the locale stage reruns this under Czech and German ones).
#include "model/u_decimal.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zevra {
namespace {

std::string StdShortest(double value) {
    char buffer[64];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, res.ptr);
}

// The values that matter most: typed decimals (kilometres, hectares) and
// their neighbours, powers of two (uneven rounding intervals), the extremes,
// and random bit patterns.
std::vector<double> Samples() {
    std::vector<double> values = {0.1, 0.2, 0.3, 1.005, 4.7, 999.9999995, 444.65, 1e15, 1e16, 123456789012345678.0,
                                  5e-324, 2.2250738585072014e-308, std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::min(), 1e-5, 1e-7, 1.5e20, 0.5, 100, 1e21, 1e22};
    for (int e = -1074; e <= 1023; e += 7) values.push_back(std::ldexp(1.0, e));
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 5000; ++i) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) values.push_back(value);
        values.push_back(static_cast<double>(random() % 100000000) / 1000.0);
        values.push_back(std::nextafter(static_cast<double>(random() % 1000000) / 1000.0, 0.0));
    }
    const std::size_t count = values.size();
    for (std::size_t i = 0; i < count; ++i) values.push_back(-values[i]);
    return values;
}

// The process locale of the environment (the locale stage sets LC_ALL to a
// Czech or German one, whose printf writes a decimal comma).
class NumberFormatDecimal : public ::testing::Test {
protected:
    void SetUp() override {
        FPrevious = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "");
    }
    void TearDown() override { std::setlocale(LC_ALL, FPrevious.c_str()); }

private:
    std::string FPrevious;
};

TEST_F(NumberFormatDecimal, ShortestIsTheStandardLibrarysTextToTheByte) {
    for (const double value : Samples()) {
        ASSERT_EQ(ShortestDecimal(value), StdShortest(value)) << value;
        ASSERT_EQ(PortableShortestDecimal(value), StdShortest(value)) << value;
    }
    EXPECT_EQ(ShortestDecimal(0.0), "0");
    EXPECT_EQ(ShortestDecimal(std::numeric_limits<double>::infinity()), "inf");
}

TEST_F(NumberFormatDecimal, RoundedDigitsAreTheScientificForm) {
    for (const double value : Samples()) {
        char buffer[64];
        const auto res = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
        const std::string text(buffer, res.ptr);
        const TDecimalDigits d = RoundedDecimal(value, 15);
        std::string digits;
        for (const char c : text.substr(0, text.find('e'))) {
            if (c >= '0' && c <= '9') digits += c;
        }
        ASSERT_EQ(d.Digits, digits) << text;
        ASSERT_EQ(d.Exponent, std::stoi(text.substr(text.find('e') + 1))) << text;
        ASSERT_EQ(d.Negative, text.front() == '-') << text;
    }
}

TEST_F(NumberFormatDecimal, ParsingReadsWhatTheStandardLibraryReads) {
    std::vector<std::string> texts = {"1e-400", "1e-310", "4.9e-324", "2e-324", "1e400", "1.7976931348623157e308",
                                      "1.7976931348623159e308", "0e999999", "123456789012345678", "0.1", ".5",
                                      "5.", "1E3", "1e+3", "+1", "1e", "1.2.3", "", ".", "nan", "inf", "0x10", "1,5"};
    for (const double value : Samples()) {
        texts.push_back(StdShortest(value));
        char buffer[64];
        const auto res = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 20);
        texts.emplace_back(buffer, res.ptr);
    }
    for (const std::string& text : texts) {
        double expected = -7, actual = -7;
        const auto res = std::from_chars(text.data(), text.data() + text.size(), expected, std::chars_format::general);
        // The same shapes as the number parser hands over (no inf or nan).
        const bool standard = res.ec == std::errc() && res.ptr == text.data() + text.size() &&
                              text.find_first_of("in") == std::string::npos;
        ASSERT_EQ(ParseDecimal(text, actual), standard) << text;
        if (standard) {
            ASSERT_EQ(actual, expected) << text;
        }
    }
}

}  // namespace
}  // namespace zevra
