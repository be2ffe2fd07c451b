// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The input form's one table: every input value has exactly one field, and a
// typed text is read or refused alike by the wizard and the browser page.
#include "model/u_inputfields.h"
#include "model/u_limits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace zevra {
namespace {

TEST(InputFormFields, EveryInputValueHasOneFieldAndEveryKeyIsUnique) {
    std::set<std::string> keys;
    std::vector<std::int32_t TZevraInputData::*> ints;
    std::vector<double TZevraInputData::*> floats;
    for (std::size_t i = 0; i < kFormFieldCount; ++i) {
        const TFormField& f = kFormFields[i];
        EXPECT_TRUE(keys.insert(f.Key).second) << f.Key;
        EXPECT_EQ(FindFormField(f.Key), &f);
        EXPECT_GE(f.Page, 1);
        EXPECT_LE(f.Page, kFormPageCount);
        EXPECT_EQ(f.Kind == TFormFieldKind::fkNumber, (f.IntMember != nullptr) != (f.FloatMember != nullptr)) << f.Key;
        if (f.IntMember) {
            EXPECT_EQ(std::count(ints.begin(), ints.end(), f.IntMember), 0) << f.Key;
            ints.push_back(f.IntMember);
            EXPECT_EQ(f.Whole(), !f.InKilometres()) << f.Key;
        }
        if (f.FloatMember) {
            EXPECT_EQ(std::count(floats.begin(), floats.end(), f.FloatMember), 0) << f.Key;
            floats.push_back(f.FloatMember);
        }
    }
    // Name, region and water main are handled by the form; the eleven other
    // integers and the two doubles of the record by their fields.
    EXPECT_EQ(ints.size(), 11u);
    EXPECT_EQ(floats.size(), 2u);
    EXPECT_EQ(FindFormField("Obec"), nullptr);
}

TEST(InputFormFields, ValidatingTypedTextAsTheWizardsNumberFieldDoes) {
    const TFormField& whole = *FindFormField("ObyvateleCelkem");
    const TFormField& road = *FindFormField("Silnice1TrKm");
    const struct {
        const TFormField& Field;
        const char* Text;
        const char* Error;  // "" accepted
        double Value;
    } cases[] = {
        {whole, "", "", 0},
        {whole, " 1593 ", "", 1593},
        {whole, "1 593", "", 1593},
        {whole, "1\u00A0593", "", 1593},
        {whole, "1\u202F593", "", 1593},
        {whole, "1593,0", "Zadejte celé číslo, bez desetinné čárky.", 0},
        {whole, "12.", "Zadejte celé číslo, bez desetinné čárky.", 0},
        {whole, "-5", "Zadejte číslo (číslice, nejvýše jedna desetinná čárka).", 0},
        {whole, "1e3", "Zadejte číslo (číslice, nejvýše jedna desetinná čárka).", 0},
        {whole, "abc", "Zadejte číslo (číslice, nejvýše jedna desetinná čárka).", 0},
        {road, "4,7", "", 4.7},
        {road, ".5", "", 0.5},
        {road, "1.005", "", 1.005},
        {road, "1.0005", "Zadejte nejvýše 3 desetinná místa.", 0},
        {road, "1,2,3", "Zadejte číslo (číslice, nejvýše jedna desetinná čárka).", 0},
        {road, ",", "Zadejte číslo (číslice, nejvýše jedna desetinná čárka).", 0},
        {*FindFormField("NadmVyska"), "412,25", "Zadejte nejvýše 1 desetinné místo.", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormFieldError(c.Field, c.Text), c.Error) << c.Text;
        const auto value = FormFieldValue(c.Field, c.Text);
        EXPECT_EQ(value.has_value(), std::string(c.Error).empty()) << c.Text;
        if (value) {
            EXPECT_EQ(*value, c.Value) << c.Text;
        }
    }
    EXPECT_EQ(FormFieldErrorLine(road, "x"), "CHYBA: Nejbližší možnost napojění na silnici 1. tř. nebo vyšší [km] - x");
    EXPECT_EQ(FormFieldName(*FindFormField("PodnikateleCelkem2006")), "Počet podnikatelských subjektů celkem");
}

TEST(InputFormFields, CheckPageLinesSummariseErrorsThenWarnings) {
    EXPECT_EQ(ValidationPageLines({}, {}),
              std::vector<std::string>{"Vstupní data prošla kontrolou bez chyb nebo varování."});
    EXPECT_EQ(ValidationPageLines({"CHYBA: a"}, {"POZOR: b", "POZOR: c"}),
              (std::vector<std::string>{"Ve vstupních datech bylo nalezeno 1 chyb! Model nelze vyhodnotit.", "CHYBA: a",
                                        "",
                                        "Ve vstupních datech bylo nalezeno 2 upozornění. Model lze vyhodnotit, ale "
                                        "výsledky mohou být zkreslené.",
                                        "POZOR: b", "POZOR: c", ""}));
}

}  // namespace
}  // namespace zevra
