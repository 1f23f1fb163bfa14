#include "survey/distance_bearing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>

#include "tests/survey/angle_model.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

QString sampleList() {
    return QStringLiteral(
        "A001,4395879.562,40400348.322,23.441\r\n"
        " Z02,4394571.954,40397379.291,19.838\r\n"
        "  z3,4394926.422,40397410.355,19.851\r\n");
}

TEST(DistanceBearing, SampleListFromA001) {
    const BearingRun run =
        runDistanceBearing(sampleList(), QStringLiteral("A001"), PointListMode::Grid);
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.notices.isEmpty());
    EXPECT_EQ(run.origin, QStringLiteral("A001"));
    EXPECT_EQ(run.input, QStringLiteral("A001 ,4395879.562 ,40400348.322 ,23.441 ,\r\n"
                                        " Z02 ,4394571.954 ,40397379.291 ,19.838 ,\r\n"
                                        "  z3 ,4394926.422 ,40397410.355 ,19.851 ,\r\n"));
    EXPECT_EQ(run.output, QStringLiteral("A001 ,       0 ,         0 ,       0 ,        0\r\n"
                                         " Z02 ,3244.223 ,246.134999 ,3244.225 ,-0.034908\r\n"
                                         "  z3 ,3088.709 ,252.013294 ,3088.712 ,-0.035974\r\n"));
}

TEST(DistanceBearing, UnknownOriginMeasuresFromZero) {
    for (const QString& origin : {QStringLiteral("0"), QStringLiteral("a001"), QString()}) {
        const BearingRun run = runDistanceBearing(sampleList(), origin, PointListMode::Grid);
        EXPECT_EQ(run.origin, QStringLiteral("0"));
        const QStringList lines = run.output.split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 4);
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("A001 ,40638797.985 ,83.472469 ,")))
            << lines[0].toStdString();
    }
}

TEST(DistanceBearing, DirectionsFromTheOrigin) {
    struct Case {
        const char* point;
        const char* distance;
        const char* azimuth;
        const char* slope;
        const char* vertical;
    };
    const Case cases[] = {
        {"O,100,200,10", "0", "0", "0", "0"},
        {"N,110,200,10", "10", "0", "10", "0"},
        {"E,100,210,10", "10", "90", "10", "0"},
        {"S,90,200,10", "10", "180", "10", "0"},
        {"W,100,190,10", "10", "270", "10", "0"},
        {"U,100,200,15", "0", "0", "5", "90"},
        {"D,100,200,5", "0", "0", "5", "-90"},
        {"NE,103,204,10", "5", "53.074837", "5", "0"},
        {"SE,97,204,10", "5", "126.521163", "5", "0"},
        {"SW,97,196,10", "5", "233.074837", "5", "0"},
        {"NW,103,196,10", "5", "306.521163", "5", "0"},
        {"UP45,103,204,15", "5", "53.074837", "7.071", "45"},
        {"DN,100.001,200,-1E+3", "0.001", "0", "1010", "-89.595979"},
    };
    for (const Case& c : cases) {
        const QString text = QStringLiteral("O,100,200,10\r\n") + QString::fromUtf8(c.point);
        const BearingRun run = runDistanceBearing(text, QStringLiteral("O"), PointListMode::Grid);
        const QStringList lines = run.output.split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 3) << c.point;
        const QStringList cells = lines[1].split(u',');
        ASSERT_EQ(cells.size(), 5) << c.point;
        EXPECT_EQ(cells[1].trimmed(), QString::fromUtf8(c.distance)) << c.point;
        EXPECT_EQ(cells[2].trimmed(), QString::fromUtf8(c.azimuth)) << c.point;
        EXPECT_EQ(cells[3].trimmed(), QString::fromUtf8(c.slope)) << c.point;
        EXPECT_EQ(cells[4].trimmed(), QString::fromUtf8(c.vertical)) << c.point;
    }
}

// Geographic mode: latitude and longitude in packed degrees, the geodesic on the
// chosen ellipsoid; the expected figures are GeodSolve's (GeographicLib's own tool).
TEST(DistanceBearing, GeographicModeMeasuresGeodesics) {
    const BearingRun run = runDistanceBearing(QStringLiteral("1,2,3\r\n4,6,3\r\n"),
                                              QStringLiteral("2"), PointListMode::Geographic);
    EXPECT_EQ(run.origin, QStringLiteral("2"));
    // GeodSolve -i -e 6378245 1/298.3: 4 6 1 2 gives azimuth -126.61027715 (233°23'23.002")
    // and 554894.398007 m.
    EXPECT_EQ(run.output, QStringLiteral("1 ,554894.398 ,233.2323 ,554894.398 ,0\r\n"
                                         "2 ,         0 ,       0 ,         0 ,0\r\n"));

    struct Case {
        Datum datum;
        const char* list;
        const char* row2;
    };
    const Case cases[] = {
        // Due north along a meridian, 100 m higher: 110860.925566 m on WGS 84.
        {Datum::Wgs84, "30,114,10\r\n31,114,110\r\n", "2 ,110860.926 ,0 ,110860.971 ,0.030606"},
        // South-west across the equator, 0°30' to -0°30': azimuth -153.28026785.
        {Datum::Xian1980, "0.3,120,0\r\n-0.3,119.3,0\r\n",
         "2 ,123792.65 ,206.431104 ,123792.65 ,0"},
        // Nearly antipodal in longitude: azimuth 0.00019623035 degrees.
        {Datum::Cgcs2000, "45,0,0\r\n45,179.5959,0\r\n",
         "2 ,10034042.703 ,0.000071 ,10034042.703 ,0"},
    };
    for (const Case& c : cases) {
        const BearingRun r = runDistanceBearing(QString::fromUtf8(c.list), QStringLiteral("1"),
                                                BearingOptions{PointListMode::Geographic, c.datum});
        ASSERT_FALSE(r.failed) << c.list;
        EXPECT_EQ(r.output.split(QStringLiteral("\r\n"))[1].simplified(),
                  QString::fromUtf8(c.row2).simplified())
            << c.list;
    }
    // A latitude beyond the pole is a failure.
    const BearingRun pole = runDistanceBearing(QStringLiteral("91,0,0\r\n0,0,0\r\n"),
                                               QStringLiteral("1"), PointListMode::Geographic);
    EXPECT_TRUE(pole.failed);
}

TEST(DistanceBearing, BadInputFailsWithTheMessageOrGivesNothing) {
    // Squares beyond the Decimal range.
    const BearingRun huge = runDistanceBearing(QStringLiteral("A,1E+28,0,0\r\nB,-1E+28,5,0\r\n"),
                                               QStringLiteral("A"), PointListMode::Grid);
    EXPECT_TRUE(huge.failed);
    EXPECT_EQ(huge.output, QStringLiteral(" "));
    ASSERT_EQ(huge.notices.size(), 1);
    EXPECT_EQ(huge.notices[0].text, QStringLiteral("坐标数据存在错误，请修改后计算。"));
    // A double coordinate beyond the Decimal range.
    EXPECT_TRUE(
        runDistanceBearing(QStringLiteral("A,1E+30,0,0"), QStringLiteral("0"), PointListMode::Grid)
            .failed);

    const BearingRun empty =
        runDistanceBearing(QString(), QStringLiteral("0"), PointListMode::Grid);
    EXPECT_FALSE(empty.failed);
    EXPECT_TRUE(empty.output.isEmpty());

    // Text in every field reads as 0 (reported by the reader, not a failure).
    const BearingRun words = runDistanceBearing(QStringLiteral("abc,def,ghi,jkl,mno\r\n"),
                                                QStringLiteral("abc"), PointListMode::Grid);
    EXPECT_FALSE(words.failed);
    EXPECT_EQ(words.output, QStringLiteral("abc ,0 ,0 ,0 ,0\r\n"));
}

TEST(DistanceBearing, NoticesComeBackInTheOrderTheyArose) {
    // The reading's notices first (a removed character, a field that is no number),
    // then what the calculation meets (seconds above 60 in a packed latitude), then the
    // failure; whatever the calling thread's log holds plays no part and is left as it was.
    ScopedCalcLog caller;
    caller.log().report(QStringLiteral("earlier"));
    caller.log().limitTo(3);

    const BearingRun run = runDistanceBearing(QStringLiteral("30#,114,x\r\n30.0075,114,0\r\n"),
                                              QStringLiteral("1"), PointListMode::Geographic);
    EXPECT_FALSE(run.failed);
    ASSERT_EQ(run.notices.size(), 3);
    EXPECT_TRUE(run.notices[0].text.contains(QStringLiteral("#")))
        << run.notices[0].text.toStdString();
    EXPECT_TRUE(run.notices[1].text.contains(QStringLiteral("“x”")))
        << run.notices[1].text.toStdString();
    EXPECT_TRUE(
        run.notices[2].text.startsWith(QStringLiteral("30.0075 度分秒格式的角度数据--[秒]")))
        << run.notices[2].text.toStdString();

    const BearingRun failed = runDistanceBearing(QStringLiteral("A#,1E+28,0,0\r\nB,-1E+28,5,0\r\n"),
                                                 QStringLiteral("A"), PointListMode::Grid);
    EXPECT_TRUE(failed.failed);
    ASSERT_EQ(failed.notices.size(), 2);
    EXPECT_TRUE(failed.notices[0].text.contains(QStringLiteral("#")));
    EXPECT_EQ(failed.notices[1].text, bearingFailureMessage());

    EXPECT_EQ(&calcLog(), &caller.log());
    EXPECT_EQ(caller.log().errorCount, 1);
    EXPECT_EQ(caller.log().precisionLimit, 3);
    EXPECT_TRUE(caller.log().notices.isEmpty());
}

TEST(DistanceBearing, OnePointAndManyPoints) {
    const BearingRun one =
        runDistanceBearing(QStringLiteral("P,3,4,0"), QStringLiteral("0"), PointListMode::Grid);
    EXPECT_EQ(one.output, QStringLiteral("P ,5 ,53.074837 ,5 ,0\r\n"));

    QString many;
    for (int i = 0; i < 100000; ++i) many += QStringLiteral("P%1,%2,%3,1\r\n").arg(i).arg(i).arg(i);
    const BearingRun run = runDistanceBearing(many, QStringLiteral("P0"), PointListMode::Grid);
    EXPECT_FALSE(run.failed);
    const QStringList lines = run.output.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 100001);
    EXPECT_EQ(lines[99999], QStringLiteral("P99999 ,141419.942 ,45 ,141419.942 ,0"));
}

TEST(DistanceBearing, NameChoicesListEveryRow) {
    const PointNameChoices c =
        pointNameChoices(QStringLiteral("A,1,2\r\n\r\n测B,3,4\r\n"), PointListMode::Grid);
    EXPECT_EQ(c.entries, (QStringList{QStringLiteral("0"), QStringLiteral("A"), QString(),
                                      QStringLiteral("B")}));
    EXPECT_EQ(c.notices.size(), 1);
}

// Azimuths and vertical angles against atan2 on doubles, distances against hypot,
// for points in every quadrant at survey scales.
TEST(DistanceBearing, AgreesWithAtan2OnRandomPoints) {
    std::mt19937_64 rng(20240611);
    // Coordinates in millimetres: small integers (axes and ties), a site, a grid.
    const long long ranges[] = {3000, 5000000, 4000000000LL};
    int checked = 0, undecidable = 0, differsFromDirect = 0;
    for (int i = 0; i < 30000; ++i) {
        const long long range = ranges[i % 3];
        std::uniform_int_distribution<long long> coord(-range, range);
        long long mm[6];
        for (long long& v : mm) v = coord(rng);
        if (range == 3000) {
            for (long long& v : mm) v = v / 1000 * 1000;
        }
        auto dec = [](long long v) { return Decimal::fromParts(v < 0 ? -v : v, 3, v < 0); };
        const PointBearing b =
            bearingFrom(dec(mm[0]), dec(mm[1]), dec(mm[2]), dec(mm[3]), dec(mm[4]), dec(mm[5]));

        const double dx = static_cast<double>(mm[3] - mm[0]) / 1000;
        const double dy = static_cast<double>(mm[4] - mm[1]) / 1000;
        const double dz = static_cast<double>(mm[5] - mm[2]) / 1000;
        double azimuth = std::atan2(dy, dx) * 180 / M_PI;
        if (azimuth < 0) azimuth += 360;
        const double hd = std::hypot(dx, dy);
        const double vertical = hd == 0 ? (dz > 0   ? 90
                                           : dz < 0 ? -90
                                                    : 0)
                                        : std::atan2(dz, hd) * 180 / M_PI;

        bool tieA = false, tieV = false;
        const long long az = test::packedMicros(b.azimuth.toDecimal());
        const long long va = test::packedMicros(b.verticalAngle.toDecimal());
        const long long modelAz = test::packedFromDegrees(azimuth, tieA, 360);
        const long long modelVa = test::packedFromDegrees(vertical, tieV);
        if (tieA || tieV) {
            ++undecidable;
        } else {
            EXPECT_EQ(az, modelAz) << dx << " " << dy;
            EXPECT_EQ(va, modelVa) << dz << " " << hd;
        }
        // Every shown angle is a proper packed angle: azimuths below 360, minutes and
        // seconds below 60.
        EXPECT_LT(az, 360000000);
        EXPECT_LT(az % 10000, 6000);
        EXPECT_LT(az / 10000 % 100, 60);
        EXPECT_LT(std::llabs(va) % 10000, 6000);
        EXPECT_LT(std::llabs(va) / 10000 % 100, 60);
        // Whatever the rounding, within 0.5E-6 degree and half a hundredth second.
        EXPECT_NEAR(std::remainder(test::degreesOfPacked(az) - azimuth, 360.0), 0, 1.9e-6)
            << dx << " " << dy;
        EXPECT_NEAR(test::degreesOfPacked(va), vertical, 1.9e-6) << dz << " " << hd;
        if (az != test::packedDirect(azimuth) || va != test::packedDirect(vertical))
            ++differsFromDirect;

        auto millis = [](const Num& v) {
            return (v.toDecimal() * Decimal(1000)).truncated().toString().toLongLong();
        };
        const double slope = std::hypot(hd, dz);
        if (std::abs(hd * 1000 - std::floor(hd * 1000) - 0.5) > 1e-6) {
            EXPECT_EQ(millis(b.horizontalDistance), std::llround(hd * 1000)) << hd;
        }
        if (std::abs(slope * 1000 - std::floor(slope * 1000) - 0.5) > 1e-6) {
            EXPECT_EQ(millis(b.slopeDistance), std::llround(slope * 1000)) << slope;
        }
        ++checked;
    }
    std::cout << checked << " points, " << undecidable << " undecidable near a tie, "
              << differsFromDirect
              << " differ from packing the exact angle straight to 0.01 seconds\n";
    EXPECT_LT(undecidable, 30);
}

}  // namespace
}  // namespace hc
