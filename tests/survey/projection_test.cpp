#include "survey/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/decimal.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

TEST(Ellipsoid, CodesChooseTheSetTrimmedAndCaseInsensitive) {
    EXPECT_EQ(&ZelTuoQiuCanShu(QStringLiteral("XA")), &xian1980());
    EXPECT_EQ(&ZelTuoQiuCanShu(QStringLiteral(" xa ")), &xian1980());
    EXPECT_EQ(&ZelTuoQiuCanShu(QStringLiteral("wgs")), &wgs84());
    EXPECT_EQ(&ZelTuoQiuCanShu(QStringLiteral("BJ")), &beijing1954());
    EXPECT_EQ(&ZelTuoQiuCanShu(QStringLiteral("北京")), &beijing1954());
    EXPECT_EQ(&ZelTuoQiuCanShu(QString()), &beijing1954());
    // Tabs are not trimmed: the code is then unknown.
    EXPECT_EQ(&ZelTuoQiuCanShu(QStringLiteral("\tXA")), &beijing1954());
}

TEST(SurveySettings, WindowTextsAndCommandLineCodes) {
    EXPECT_EQ(&ellipsoidOf(Datum::Xian1980), &xian1980());
    EXPECT_EQ(&ellipsoidOf(Datum::Wgs84), &wgs84());
    EXPECT_EQ(&ellipsoidOf(Datum::Beijing1954), &beijing1954());
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84}) {
        EXPECT_EQ(datumOfControlText(datumControlText(d)), d);
    }
    EXPECT_EQ(datumControlText(Datum::Beijing1954), QStringLiteral("北京"));
    EXPECT_EQ(datumOfControlText(QStringLiteral("其它")), Datum::Beijing1954);
    EXPECT_EQ(datumOfControlText(QStringLiteral("XA")), Datum::Beijing1954);  // a code, not a text
    EXPECT_EQ(datumOfCode(QStringLiteral("xa")), Datum::Xian1980);
    EXPECT_EQ(datumOfCode(QStringLiteral("Wgs")), Datum::Wgs84);
    EXPECT_EQ(datumOfCode(QStringLiteral("BJ")), Datum::Beijing1954);
    EXPECT_EQ(datumOfCode(QStringLiteral("西安")), std::nullopt);
    EXPECT_EQ(datumOfCode(QStringLiteral(" BJ")), std::nullopt);

    EXPECT_EQ(axisOrderOfCaption(QStringLiteral("X Y Z模式")), AxisOrder::XYZ);
    EXPECT_EQ(axisOrderOfCaption(QStringLiteral("Y X Z模式")), AxisOrder::YXZ);
    EXPECT_EQ(axisOrderOfCode(QStringLiteral("YXZ")), AxisOrder::YXZ);
    EXPECT_EQ(axisOrderOfCode(QStringLiteral("xyz")), AxisOrder::XYZ);
    EXPECT_EQ(axisOrderOfCode(QStringLiteral("zxy")), std::nullopt);

    EXPECT_EQ(zoneWidthOfCode(QStringLiteral("1.5")), ZoneWidth::OneAndHalf);
    EXPECT_EQ(zoneWidthOfCode(QStringLiteral("3")), ZoneWidth::Three);
    EXPECT_EQ(zoneWidthOfCode(QStringLiteral("6")), ZoneWidth::Six);
    EXPECT_EQ(zoneWidthOfCode(QStringLiteral("15")), std::nullopt);
}

TEST(Ellipsoid, ConstantsAreTheListedValues) {
    EXPECT_EQ(beijing1954().a, 6378245.116);
    EXPECT_EQ(beijing1954().arcA, 6367558.55507442);
    EXPECT_EQ(beijing1954().alpha4, 2.6383176967516E-06);
    EXPECT_EQ(xian1980().e2, 0.0066943849863148);
    EXPECT_EQ(xian1980().beta3, 7.447831E-09);
    EXPECT_EQ(wgs84().ep2, 0.00673949675658688);
    EXPECT_EQ(wgs84().a1e2, 6335439.32720276);
    for (const Ellipsoid* e : {&beijing1954(), &xian1980(), &wgs84()}) {
        // A is a * alpha0 to the digits listed.
        EXPECT_NEAR(e->arcA, e->a * e->alpha0, 1e-6);
    }
}

TEST(GridParameters, ZoneGridIsTheListedOne) {
    EXPECT_EQ(kZoneGrid.falseNorthing, 0);
    EXPECT_EQ(kZoneGrid.falseEasting, 500000);
    EXPECT_EQ(kZoneGrid.k0, 1);
}

TEST(SheRuXiaoShu, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
    struct Case {
        double value;
        int places;
        double expected;
    };
    const Case cases[] = {
        {20.083, 0, 20},      {20.52, 0, 21},
        {-12.345, 2, -12.35}, {19.9996, 3, 20},
        {2.5, 0, 3},          {-2.5, 0, -3},
        {-0.5, 0, -1},        {2.675, 2, 2.68},
        {1.005, 2, 1.01},     {0.125, 2, 0.13},
        {-0.0001, 2, 0},      {7, 3, 7},
        {1.5, 3, 1.5},        {9.9999, 3, 10},
        {0.4999, 0, 0},       {123.456789, 17, 123.456789},
        {1e-30, 8, 1e-30},    {39.4125536, 8, 39.4125536},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZelSheRuXiaoShu(c.value, c.places), c.expected) << c.value << " to " << c.places;
    }
}

TEST(SheRuXiaoShu, PlacesOutsideZeroToSeventeenAndHugeValuesPassUnchanged) {
    EXPECT_EQ(ZelSheRuXiaoShu(1.23456, 18), 1.23456);
    EXPECT_EQ(ZelSheRuXiaoShu(1.23456, -1), 1.23456);
    EXPECT_EQ(ZelSheRuXiaoShu(179769313486233.5, 0), 179769313486233.5);
    EXPECT_EQ(ZelSheRuXiaoShu(-1e300, 2), -1e300);
    EXPECT_TRUE(std::isnan(ZelSheRuXiaoShu(std::nan(""), 2)));
    // Below the guard the value is rounded; its 15-digit text decides, so a 16th
    // digit is gone before rounding.
    EXPECT_EQ(ZelSheRuXiaoShu(179769313486.5, 0), 179769313487.0);
    EXPECT_EQ(ZelSheRuXiaoShu(179769313486231.5, 0), 179769313486231.5);
}

TEST(DecimalText, MatchesTheEngineDecimalOfADouble) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> exp(-30, 14);
    for (int i = 0; i < 20000; ++i) {
        const double v = mant(rng) * std::pow(10.0, exp(rng));
        EXPECT_EQ(decimalText(v), Decimal::fromDouble(v).toString()) << v;
    }
    EXPECT_EQ(decimalText(39.4125536), QStringLiteral("39.4125536"));
    EXPECT_EQ(decimalText(117), QStringLiteral("117"));
    EXPECT_EQ(decimalText(-0.3), QStringLiteral("-0.3"));
    EXPECT_EQ(decimalText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(decimalText(39.69042666666667), QStringLiteral("39.6904266666667"));
    EXPECT_EQ(decimalText(1e20), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(decimalText(-1.5e30), QStringLiteral("-1.5E+30"));
}

TEST(AngleForms, PackedToDecimalDegrees) {
    EXPECT_NEAR(ZelDuFenMiaoZhuanBaiFenDu(39.4125536), 39 + (41 + 25.536 / 60) / 60, 1e-13);
    EXPECT_NEAR(ZelDuFenMiaoZhuanBaiFenDu(117.5), 117 + 50.0 / 60, 1e-13);
    EXPECT_NEAR(ZelDuFenMiaoZhuanBaiFenDu(39.4041), 39 + (40 + 41.0 / 60) / 60, 1e-13);
    EXPECT_EQ(ZelDuFenMiaoZhuanBaiFenDu(-0.3), -0.5);
    EXPECT_EQ(ZelDuFenMiaoZhuanBaiFenDu(117), 117);
    EXPECT_EQ(ZelDuFenMiaoZhuanBaiFenDu(-45), -45);
    // Seconds above 60 read as 60; minutes and seconds together stop at 60 minutes.
    EXPECT_NEAR(ZelDuFenMiaoZhuanBaiFenDu(10.0075), 10 + 1.0 / 60, 1e-13);
    EXPECT_EQ(ZelDuFenMiaoZhuanBaiFenDu(10.9999), 11);
    EXPECT_EQ(ZelDuFenMiaoZhuanBaiFenDu(-10.9999), -11);
    EXPECT_EQ(ZelDuFenMiaoZhuanBaiFenDu(2e14 + 0.5), 2e14 + 0.5);
}

TEST(AngleForms, DecimalDegreesToPacked) {
    EXPECT_NEAR(ZelBaiFenDuZhuanDuFenMiao(39.69042666666667), 39.4125536, 1e-12);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(0.5), 0.3);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(-0.5), -0.3);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(117.8333333333333), 117.5);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(-117.8333333333333), -117.5);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(30), 30);
    // Seconds that round to 60.00 carry into the minutes and on into the degrees.
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(10.99999999), 11);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(-10.99999999), -11);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(10.49999999), 10.3);
    // Single-digit seconds get their leading zero: 1 minute 5 seconds.
    EXPECT_NEAR(ZelBaiFenDuZhuanDuFenMiao(10 + 65.0 / 3600), 10.0105, 1e-12);
    EXPECT_EQ(ZelBaiFenDuZhuanDuFenMiao(-3e14 - 0.25), -3e14 - 0.25);
}

TEST(AngleForms, PackedRoundTripThroughDecimalDegrees) {
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<int> deg(-179, 179);
    std::uniform_int_distribution<int> min(0, 59);
    std::uniform_int_distribution<int> sec(0, 599999);  // seconds with 4 decimals
    for (int i = 0; i < 5000; ++i) {
        const int d = deg(rng);
        const double mag = std::abs(d) + min(rng) / 100.0 + sec(rng) / 1e8;
        const double packed = d < 0 ? -mag : mag;
        const double back =
            ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(ZelDuFenMiaoZhuanBaiFenDu(packed)), 8);
        EXPECT_NEAR(ZelDuFenMiaoGuiZheng(back), packed, 1e-9) << packed;
    }
}

TEST(AngleForms, NormalisingCarriesSixtySecondsAndMinutes) {
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(10.0060), 10.01);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(10.5960), 11);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(10.6), 11);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(-0.5960), -1);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(-0.0060), -0.01);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(39.412553601234), 39.412553601234);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(39.59605), 40.00005);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(117), 117);
    EXPECT_EQ(ZelDuFenMiaoGuiZheng(-2e14 - 0.75), -2e14 - 0.75);
}

TEST(AngleForms, RadiansAndTheirGuard) {
    EXPECT_NEAR(ZelDuFenMiaoZhuanHuDu(39.4125536), 0.6927286268546913, 1e-15);
    EXPECT_NEAR(ZelBaiFenDuZhuanHuDu(180), M_PI, 1e-15);
    EXPECT_EQ(ZelBaiFenDuZhuanHuDu(-90), -M_PI / 2);
    EXPECT_EQ(ZelDuFenMiaoZhuanHuDu(2e14), 0);
    EXPECT_EQ(ZelBaiFenDuZhuanHuDu(-2e14), 0);
    EXPECT_NEAR(radiansToDegrees(M_PI), 180, 1e-13);
}

TEST(ProjectionCores, InverseUndoesForwardAcrossTheZone) {
    for (const Ellipsoid* e : {&beijing1954(), &xian1980(), &wgs84()}) {
        for (double bDeg = -80; bDeg <= 80; bDeg += 10) {
            for (double lDeg = -3; lDeg <= 3; lDeg += 0.5) {
                const double b = bDeg * M_PI / 180;
                const double l = lDeg * M_PI / 180;
                const GridXY g = ZelTouYingZhengSuan(b, l, *e);
                const LatDiff r = ZelTouYingFanSuan(std::fabs(g.x), g.y, *e);
                // Within a millimetre on the ground.
                EXPECT_NEAR(r.b, std::fabs(b), 2e-10) << bDeg << " " << lDeg;
                EXPECT_NEAR(r.l, l, 2e-10) << bDeg << " " << lDeg;
            }
        }
    }
}

TEST(ProjectionCores, CentralMeridianAndEquator) {
    const GridXY onMeridian = ZelTouYingZhengSuan(0.7, 0, xian1980());
    EXPECT_EQ(onMeridian.y, 0);
    const GridXY onEquator = ZelTouYingZhengSuan(0, 0.02, xian1980());
    EXPECT_EQ(onEquator.x, 0);
    EXPECT_NEAR(onEquator.y, 6378140 * 0.02, 20);
    const LatDiff back = ZelTouYingFanSuan(0, 0, beijing1954());
    EXPECT_EQ(back.b, 0);
    EXPECT_EQ(back.l, 0);
    // Quarter meridian: 10001965.7 m on Krasovsky's ellipsoid.
    EXPECT_NEAR(ZelTouYingZhengSuan(M_PI / 2, 0, beijing1954()).x, 10002137.5, 1.0);
}

}  // namespace
}  // namespace hc
