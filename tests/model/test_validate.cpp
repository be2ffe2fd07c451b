// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_format.h"
#include "model/u_model.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace zevra {
namespace {

using Lines = std::vector<std::string>;

class Validation : public ::testing::Test {
protected:
    Validation() : model((test::WriteDataSet(dir.Path()), dir.Path().string())) {
        SetThousandSeparator(",");
        model.Input() = ValidInput();
    }
    ~Validation() override { SetThousandSeparator(""); }

    static TZevraInputData ValidInput() {
        TZevraInputData in;
        in.Obec = "Dub";
        in.Kraj = 2;
        in.ObyvateleCelkem = 1000;
        in.ObyvateleEA = 500;
        in.ObyvateleNezamestnani = 50;
        in.ObyvateleVyjizdejici = 300;
        in.NadmVyska = 450;
        in.KatastrCelkem = 800;
        in.KrMestoMin = 30;
        in.OkrMestoKm = 10;
        in.Silnice1TrM = 2000;
        in.PodnikateleCelkem2006 = 100;
        in.PodnikateleRolnici2006 = 10;
        in.DominantniZamestnavatel = 20;
        in.Vodovod = TTriBool::tbTrue;
        return in;
    }

    void Check() { model.Validate(&errors, &warnings); }

    test::TempDir dir;
    TZevraModel model;
    Lines errors, warnings;
};

TEST_F(Validation, AFreshInputGivesSixErrorsInOrderAndNoWarning) {
    model.NewInput();
    Check();
    EXPECT_EQ(errors, (Lines{
                          "CHYBA: Název obce - Hodnota musí být vyplněna",
                          "CHYBA: Kraj - Hodnota musí být vyplněna",
                          "CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!",
                          "CHYBA: Nadmořská výška - Hodnota musí být v rozsahu <115.0, 1,602.0>!",
                          "CHYBA: Katastr celkem - Zadaná hodnota musí být vetší rovna 1.000!",
                          "CHYBA: Dálkový vodovod - Hodnota musí být vyplněna",
                      }));
    EXPECT_TRUE(warnings.empty());
}

// The limits' messages follow the thousands separator in use, also after
// a validation with another one (they are composed once per separator).
TEST_F(Validation, LimitMessagesFollowTheThousandsSeparator) {
    model.Input().NadmVyska = 2000;
    for (const char* separator : {"", "\u00a0", ","}) {
        SetThousandSeparator(separator);
        Check();
        EXPECT_EQ(errors, Lines{"CHYBA: Nadmořská výška - Hodnota musí být v rozsahu <115.0, 1" + std::string(separator) +
                                "602.0>!"})
            << separator;
    }
}

// Limits themselves pass; values beyond them, and figures that do not fit
// together, give their messages in order, also at the extremes of the type.
TEST_F(Validation, RangesAndRelationsGiveTheirMessagesInOrder) {
    using In = TZevraInputData;
    const std::string popWarning = "POZOR: Počet obyvatel - Model je určen pro obce od 500 do 3000 obyvatel.";
    const std::string altitude = "CHYBA: Nadmořská výška - Hodnota musí být v rozsahu <115.0, 1,602.0>!";
    const std::string unemployed = "CHYBA: Nezaměstnaní - Hodnota nemůže být vyšší než počet obyvatel!";
    const std::string unemployedEA =
        "CHYBA: Nezaměstnaní - Hodnota nemůže být vyšší než počet ekonomicky aktivních obyvatel!";
    const std::string commuters = "CHYBA: Vyjíždějící za prací - Hodnota v součtu s nezaměstnanými nemůže být "
                                  "vyšší než počet ekon. aktivních obyvatel!";
    const auto population = [](int n) {
        return [n](In& in) {
            in.ObyvateleCelkem = n;
            in.ObyvateleEA = in.ObyvateleNezamestnani = in.ObyvateleVyjizdejici = 0;
        };
    };
    const auto altitudeOf = [](double m) { return [m](In& in) { in.NadmVyska = m; }; };
    const auto cadastre = [](double ha) { return [ha](In& in) { in.KatastrCelkem = ha; }; };
    const struct {
        const char* Case;
        std::function<void(In&)> Change;
        Lines Errors;
        Lines Warnings;
    } kCases[] = {
        {"valid", [](In&) {}, {}, {}},
        {"region 1", [](In& in) { in.Kraj = 1; }, {},
         {"POZOR: Kraj - Model není určen pro středočeský kraj z důvodu významného vlivu hl. m. Prahy."}},
        // The population checks form one chain.
        {"500 inhabitants", [](In& in) { in.ObyvateleCelkem = 500; }, {}, {}},
        {"3000 inhabitants", [](In& in) { in.ObyvateleCelkem = 3000; }, {}, {}},
        {"499 inhabitants", population(499), {}, {popWarning}},
        {"3001 inhabitants", population(3001), {}, {popWarning}},
        {"no inhabitants", population(0),
         {"CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!"}, {}},
        {"10000000 inhabitants", population(10000000),
         {"CHYBA: Počet obyvatel - Zadaná hodnota musí být menší rovna 9999999!"}, {}},
        // The population figures must fit together.
        {"EA = population, commuters = EA - unemployed",
         [](In& in) { in.ObyvateleEA = 1000, in.ObyvateleVyjizdejici = 950; }, {}, {}},
        {"EA above population", [](In& in) { in.ObyvateleEA = 1001, in.ObyvateleVyjizdejici = 0; },
         {"CHYBA: Ekonomicky aktivní - Hodnota nemůže být vyšší než počet obyvatel!"}, {}},
        {"commuters above EA - unemployed", [](In& in) { in.ObyvateleVyjizdejici = 451; }, {commuters}, {}},
        {"one field, two errors",  // one field can collect two errors
         [](In& in) { in.ObyvateleEA = 10, in.ObyvateleNezamestnani = 1001, in.ObyvateleVyjizdejici = 0; },
         {unemployed, unemployedEA, commuters}, {}},
        {"extremes compared without overflow",
         [](In& in) {
             in.ObyvateleEA = -2147483647 - 1;
             in.ObyvateleNezamestnani = in.ObyvateleVyjizdejici = 2147483647;
         },
         {"CHYBA: Ekonomicky aktivní - Zadaná hodnota musí být vetší rovna 0!",
          "CHYBA: Nezaměstnaní - Zadaná hodnota musí být menší rovna 9999999!", unemployed, unemployedEA,
          "CHYBA: Vyjíždějící za prací - Zadaná hodnota musí být menší rovna 9999999!", commuters},
         {}},
        // Floating-point limits themselves pass.
        {"altitude 115", altitudeOf(115.0), {}, {}},
        {"altitude 1602", altitudeOf(1602.0), {}, {}},
        {"altitude 114.9", altitudeOf(114.9), {altitude}, {}},
        {"altitude 1602.1", altitudeOf(1602.1), {altitude}, {}},
        {"altitude NaN", altitudeOf(std::nan("")), {altitude}, {}},
        {"cadastre 1", cadastre(1.0), {}, {}},
        {"cadastre 99999.999", cadastre(99999.999), {}, {}},
        {"cadastre 0.999", cadastre(0.999), {"CHYBA: Katastr celkem - Zadaná hodnota musí být vetší rovna 1.000!"}, {}},
        {"cadastre 100000", cadastre(100000),
         {"CHYBA: Katastr celkem - Zadaná hodnota musí být menší rovna 99,999.999!"}, {}},
        // Distances, businesses and the employer have their ranges.
        {"distances, businesses, employer",
         [](In& in) {
             in.KrMestoMin = 1000;
             in.OkrMestoKm = -1;
             in.Silnice1TrM = 1000000;
             in.PodnikateleCelkem2006 = 5;
             in.PodnikateleRolnici2006 = 6;
             in.DominantniZamestnavatel = 100000;
         },
         {"CHYBA: Dojížďkový čas do krajského města - Zadaná hodnota musí být menší rovna 999!",
          "CHYBA: Dojížďková vzdálenost do okresního města - Zadaná hodnota musí být vetší rovna 0!",
          "CHYBA: Vzdálenost od silnice 1. třídy - Zadaná hodnota musí být menší rovna 999999!",
          "CHYBA: Počet rolníků 2006 - Rolníků nemůže být více, než podnikatelských subjektů celkem!",
          "CHYBA: Počet zaměstnanců nej. zaměstnavatele - Zadaná hodnota musí být menší rovna 99999!"},
         {}},
    };
    for (const auto& c : kCases) {
        model.Input() = ValidInput();
        c.Change(model.Input());
        Check();
        EXPECT_EQ(errors, c.Errors) << c.Case;
        EXPECT_EQ(warnings, c.Warnings) << c.Case;
    }
}

TEST_F(Validation, WithoutListsTheFirstErrorRaisesAndWarningsAreDropped) {
    model.NewInput();
    model.Input().Kraj = 1;
    Lines only;
    model.Validate(&only, nullptr);
    EXPECT_EQ(only.size(), 5u);
    EXPECT_EQ(test::ErrorOf([&] { model.Validate(nullptr, &warnings); }), "CHYBA: Název obce - Hodnota musí být vyplněna");
    model.Input() = ValidInput();
    model.Input().Kraj = 1;
    EXPECT_NO_THROW(model.Validate(nullptr, nullptr));
}

TEST_F(Validation, MunicipalitiesAreFoundFoldingOnlyAsciiLetters) {
    auto found = model.FindMunicipalities("LHOTA");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->Kod, 100001);
    EXPECT_EQ(found[1]->Kod, 100002);
    EXPECT_EQ(model.FindMunicipalities("ČáSLAV").size(), 1u);  // ASCII letters folded
    EXPECT_EQ(model.FindMunicipalities("čáslav").size(), 0u);  // accented letters are not
    EXPECT_EQ(model.FindMunicipalities("Lhot").size(), 0u);
    ASSERT_NE(model.FindKraj(2), nullptr);
    EXPECT_EQ(model.FindKraj(2)->Nazev, "Jihočeský");
    EXPECT_EQ(model.FindKraj(-1), nullptr);
}

}  // namespace
}  // namespace zevra
