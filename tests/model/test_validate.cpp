// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_format.h"
#include "model/u_model.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST_F(Validation, AValidInputPassesAndRegionOneOnlyWarns) {
    Check();
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(warnings.empty());
    model.Input().Kraj = 1;
    Check();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(warnings, (Lines{"POZOR: Kraj - Model není určen pro středočeský kraj z důvodu významného vlivu "
                               "hl. m. Prahy."}));
}

TEST_F(Validation, PopulationChecksFormOneChain) {
    const std::string warning = "POZOR: Počet obyvatel - Model je určen pro obce od 500 do 3000 obyvatel.";
    for (int ok : {500, 3000}) {
        model.Input().ObyvateleCelkem = ok;
        Check();
        EXPECT_TRUE(warnings.empty()) << ok;
    }
    for (int small : {499, 3001}) {
        model.Input().ObyvateleCelkem = small;
        model.Input().ObyvateleEA = 0, model.Input().ObyvateleNezamestnani = 0, model.Input().ObyvateleVyjizdejici = 0;
        Check();
        EXPECT_EQ(warnings, Lines{warning}) << small;
    }
    model.Input().ObyvateleCelkem = 0;
    Check();
    EXPECT_EQ(errors, Lines{"CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!"});
    EXPECT_TRUE(warnings.empty());
    model.Input().ObyvateleCelkem = 10000000;
    Check();
    EXPECT_EQ(errors, Lines{"CHYBA: Počet obyvatel - Zadaná hodnota musí být menší rovna 9999999!"});
    EXPECT_TRUE(warnings.empty());
}

TEST_F(Validation, PopulationFiguresMustFitTogether) {
    model.Input().ObyvateleEA = 1000;  // = population: valid
    model.Input().ObyvateleVyjizdejici = 950;  // = EA - unemployed: valid
    Check();
    EXPECT_TRUE(errors.empty());

    model.Input().ObyvateleEA = 1001;
    model.Input().ObyvateleVyjizdejici = 0;
    Check();
    EXPECT_EQ(errors, Lines{"CHYBA: Ekonomicky aktivní - Hodnota nemůže být vyšší než počet obyvatel!"});

    model.Input() = ValidInput();
    model.Input().ObyvateleVyjizdejici = 451;
    Check();
    EXPECT_EQ(errors, Lines{"CHYBA: Vyjíždějící za prací - Hodnota v součtu s nezaměstnanými nemůže být vyšší "
                            "než počet ekon. aktivních obyvatel!"});

    // One field can collect two errors.
    model.Input() = ValidInput();
    model.Input().ObyvateleEA = 10;
    model.Input().ObyvateleNezamestnani = 1001;
    model.Input().ObyvateleVyjizdejici = 0;
    Check();
    EXPECT_EQ(errors, (Lines{"CHYBA: Nezaměstnaní - Hodnota nemůže být vyšší než počet obyvatel!",
                             "CHYBA: Nezaměstnaní - Hodnota nemůže být vyšší než počet ekonomicky aktivních "
                             "obyvatel!",
                             "CHYBA: Vyjíždějící za prací - Hodnota v součtu s nezaměstnanými nemůže být vyšší "
                             "než počet ekon. aktivních obyvatel!"}));
}

TEST_F(Validation, ExtremeValuesAreComparedWithoutOverflow) {
    model.Input().ObyvateleEA = -2147483647 - 1;
    model.Input().ObyvateleNezamestnani = 2147483647;
    model.Input().ObyvateleVyjizdejici = 2147483647;
    Check();
    const Lines expected = {
        "CHYBA: Ekonomicky aktivní - Zadaná hodnota musí být vetší rovna 0!",
        "CHYBA: Nezaměstnaní - Zadaná hodnota musí být menší rovna 9999999!",
        "CHYBA: Nezaměstnaní - Hodnota nemůže být vyšší než počet obyvatel!",
        "CHYBA: Nezaměstnaní - Hodnota nemůže být vyšší než počet ekonomicky aktivních obyvatel!",
        "CHYBA: Vyjíždějící za prací - Zadaná hodnota musí být menší rovna 9999999!",
        "CHYBA: Vyjíždějící za prací - Hodnota v součtu s nezaměstnanými nemůže být vyšší než počet ekon. "
        "aktivních obyvatel!",
    };
    EXPECT_EQ(errors, expected);
}

TEST_F(Validation, FloatingPointLimitsThemselvesPass) {
    for (double ok : {115.0, 1602.0}) {
        model.Input().NadmVyska = ok;
        Check();
        EXPECT_TRUE(errors.empty()) << ok;
    }
    for (double bad : {114.9, 1602.1, std::nan("")}) {
        model.Input().NadmVyska = bad;
        Check();
        EXPECT_EQ(errors, Lines{"CHYBA: Nadmořská výška - Hodnota musí být v rozsahu <115.0, 1,602.0>!"}) << bad;
    }
    model.Input().NadmVyska = 450;
    for (double ok : {1.0, 99999.999}) {
        model.Input().KatastrCelkem = ok;
        Check();
        EXPECT_TRUE(errors.empty()) << ok;
    }
    model.Input().KatastrCelkem = 0.999;
    Check();
    EXPECT_EQ(errors, Lines{"CHYBA: Katastr celkem - Zadaná hodnota musí být vetší rovna 1.000!"});
    model.Input().KatastrCelkem = 100000;
    Check();
    EXPECT_EQ(errors, Lines{"CHYBA: Katastr celkem - Zadaná hodnota musí být menší rovna 99,999.999!"});
}

TEST_F(Validation, DistancesBusinessesAndEmployerHaveTheirRanges) {
    TZevraInputData& in = model.Input();
    in.KrMestoMin = 1000;
    in.OkrMestoKm = -1;
    in.Silnice1TrM = 1000000;
    in.PodnikateleCelkem2006 = 5;
    in.PodnikateleRolnici2006 = 6;
    in.DominantniZamestnavatel = 100000;
    Check();
    EXPECT_EQ(errors, (Lines{
                          "CHYBA: Dojížďkový čas do krajského města - Zadaná hodnota musí být menší rovna 999!",
                          "CHYBA: Dojížďková vzdálenost do okresního města - Zadaná hodnota musí být vetší rovna 0!",
                          "CHYBA: Vzdálenost od silnice 1. třídy - Zadaná hodnota musí být menší rovna 999999!",
                          "CHYBA: Počet rolníků 2006 - Rolníků nemůže být více, než podnikatelských subjektů celkem!",
                          "CHYBA: Počet zaměstnanců nej. zaměstnavatele - Zadaná hodnota musí být menší rovna 99999!",
                      }));
}

TEST_F(Validation, WithoutListsTheFirstErrorRaisesAndWarningsAreDropped) {
    model.NewInput();
    model.Input().Kraj = 1;
    Lines only;
    model.Validate(&only, nullptr);
    EXPECT_EQ(only.size(), 5u);
    try {
        model.Validate(nullptr, &warnings);
        FAIL();
    } catch (const EZevraError& e) {
        EXPECT_STREQ(e.what(), "CHYBA: Název obce - Hodnota musí být vyplněna");
    }
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
