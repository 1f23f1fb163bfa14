#include "survey/plane_attitude.h"

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
        "  z3,4394926.422,40397410.355,19.851\r\n"
        "G4,0,2,5\r\n"
        "G5,2,0,5\r\n"
        "G6,0,0,3\r\n");
}

const QString kRemarks = QStringLiteral(
    "备注：角度为 90.59 59 99格式，走向取 0-180 。\r\n"
    "    可信度接近 0 表示---三点近似为一条直线。\r\n"
    "    可信度接近 100 表示---三点近似成正三角形。");

TEST(PlaneAttitude, SampleListFromG4GivesTheWholeReport) {
    const AttitudeRun run = runPlaneAttitude(sampleList(), QStringLiteral("G4"));
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.notices.isEmpty());
    EXPECT_EQ(run.start, QStringLiteral("G4"));
    EXPECT_TRUE(
        run.input.startsWith(QStringLiteral("A001 ,4395879.562 ,40400348.322 ,23.441 ,\r\n")));
    EXPECT_EQ(run.output, QStringLiteral("    用序号为  G4  G5  G6  的三点确定面体 。\r\n\r\n"
                                         "面体方程式为 a*X + b*Y + c*Z + d = 0 。\r\n"
                                         "    四个参数分别为: \r\n"
                                         "    a = -1\r\n"
                                         "    b = -1\r\n"
                                         "    c = 1\r\n"
                                         "    d = -3\r\n\r\n"
                                         "面体产状为倾斜状态 --- ////////。\r\n"
                                         "    走向为 135 度\r\n"
                                         "    倾向为 225 度\r\n"
                                         "    倾角为 54.44082 度。\r\n\r\n"
                                         "三点间距离顺次分别为：\r\n"
                                         "    2.82843  2.82843  2.82843  \r\n"
                                         "    成果的可信度为： 100  ( 区间 0 - 100 )。\r\n\r\n") +
                              kRemarks);
}

struct Plane {
    bool ok;
    PlaneAttitude p;
    Notices notices;
};

Plane plane(double x1, double y1, double z1, double x2, double y2, double z2, double x3, double y3,
            double z3) {
    Plane r{};
    auto n = [](double v) { return Num::ofText(QString::number(v, 'g', 17)); };
    r.ok = ZelMianTiChanZhuang(n(x1), n(y1), n(z1), n(x2), n(y2), n(z2), n(x3), n(y3), n(z3), r.p);
    r.notices = r.p.notices;
    return r;
}

TEST(PlaneAttitude, PlanesOfEveryKind) {
    struct Case {
        const char* what;
        double p[9];
        const char* a;
        const char* b;
        const char* c;
        const char* d;
        const char* strike;
        const char* dipDirection;
        const char* dip;
        const char* sides;
        const char* reliability;
    };
    const Case cases[] = {
        {"vertical",
         {0, 0, 0, 1, 1, 0, 0, 0, 1},
         "1",
         "-1",
         "0",
         "0",
         "45",
         "135",
         "90",
         "1.41421 1.73205 1",
         "39.384544"},
        {"horizontal",
         {0, 0, 5, 1, 0, 5, 0, 1, 5},
         "0",
         "0",
         "1",
         "-5",
         "0",
         "0",
         "0",
         "1 1.41421 1",
         "41.421712"},
        {"plane Y = 0",
         {0, 0, 0, 1, 0, 0, 0, 0, 1},
         "0",
         "1",
         "0",
         "0",
         "0",
         "90",
         "90",
         "1 1.41421 1",
         "41.421712"},
        {"plane X = 0",
         {0, 0, 0, 0, 1, 0, 0, 0, 1},
         "1",
         "0",
         "0",
         "0",
         "90",
         "0",
         "90",
         "1 1.41421 1",
         "41.421712"},
        {"dipping west",
         {0, 0, 0, 1, 0, 0, 0, 1, 1},
         "0",
         "-1",
         "1",
         "0",
         "0",
         "270",
         "45",
         "1 1.73205 1.41421",
         "39.384544"},
        {"dipping north",
         {0, 0, 0, 0, 1, 0, 1, 0, -2},
         "2",
         "0",
         "1",
         "0",
         "90",
         "0",
         "63.260582",
         "1 2.44949 2.23607",
         "32.111991"},
        {"dipping north-west",
         {0, 0, 10, 10, 0, 5, 0, 10, 15},
         "0.5",
         "-0.5",
         "1",
         "-10",
         "45",
         "315",
         "35.15518",
         "11.18034 17.32051 11.18034",
         "29.099432"},
        {"vertical, strike beyond 90",
         {0, 0, 0, 1, -2, 0, 0, 0, 3},
         "1",
         "0.5",
         "0",
         "0",
         "116.335418",
         "26.335418",
         "90",
         "2.23607 3.74166 3",
         "39.939759"},
    };
    for (const Case& c : cases) {
        const Plane r =
            plane(c.p[0], c.p[1], c.p[2], c.p[3], c.p[4], c.p[5], c.p[6], c.p[7], c.p[8]);
        ASSERT_TRUE(r.ok) << c.what;
        EXPECT_TRUE(r.notices.isEmpty()) << c.what;
        EXPECT_EQ(r.p.a.text(), QString::fromUtf8(c.a)) << c.what;
        EXPECT_EQ(r.p.b.text(), QString::fromUtf8(c.b)) << c.what;
        EXPECT_EQ(r.p.c.text(), QString::fromUtf8(c.c)) << c.what;
        EXPECT_EQ(r.p.d.text(), QString::fromUtf8(c.d)) << c.what;
        EXPECT_EQ(r.p.strike.text(), QString::fromUtf8(c.strike)) << c.what;
        EXPECT_EQ(r.p.dipDirection.text(), QString::fromUtf8(c.dipDirection)) << c.what;
        EXPECT_EQ(r.p.dip.text(), QString::fromUtf8(c.dip)) << c.what;
        EXPECT_EQ(r.p.l12.text() + u' ' + r.p.l23.text() + u' ' + r.p.l13.text(),
                  QString::fromUtf8(c.sides))
            << c.what;
        EXPECT_EQ(r.p.reliability.text(), QString::fromUtf8(c.reliability)) << c.what;
    }
}

TEST(PlaneAttitude, ReportNamesTheKindOfPlane) {
    const QString header =
        attitudeHeader(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
    struct Case {
        double p[9];
        const char* line;
    };
    const Case cases[] = {
        {{0, 0, 5, 1, 0, 5, 0, 1, 5}, "面体产状为水平 --- 走向0度、倾向0度、倾角0度。\r\n\r\n"},
        {{0, 0, 0, 1, 1, 0, 0, 0, 1},
         "面体产状为垂直 --- 倾角为90度。\r\n    走向为 45 度\r\n    倾向为 135 度\r\n"
         "    倾角为 90 度。\r\n\r\n"},
        // A slope of 1E-8 gives a dip that rounds to 0.
        {{0, 0, 0, 1000, 0, 0.00001, 0, 1000, 0},
         "面体产状:\r\n    走向为 90 度\r\n    倾向为 180 度\r\n    倾角为 0 度。\r\n\r\n"},
    };
    for (const Case& c : cases) {
        const Plane r =
            plane(c.p[0], c.p[1], c.p[2], c.p[3], c.p[4], c.p[5], c.p[6], c.p[7], c.p[8]);
        ASSERT_TRUE(r.ok);
        const QString report = attitudeReport(header, r.p);
        EXPECT_TRUE(report.contains(QString::fromUtf8(c.line))) << report.toStdString();
        EXPECT_TRUE(report.endsWith(kRemarks));
    }
}

TEST(PlaneAttitude, DegeneratePointsAreRefused) {
    struct Case {
        double p[9];
        QString message;
    };
    const Case cases[] = {
        {{1, 2, 3, 1, 2, 3, 1, 2, 3}, identicalPointsMessage()},
        {{1, 2, 3, 1, 2, 3, 4, 5, 6}, twoIdenticalPointsMessage()},
        {{1, 2, 3, 4, 5, 6, 4, 5, 6}, twoIdenticalPointsMessage()},
        {{1, 2, 3, 4, 5, 6, 1, 2, 3}, twoIdenticalPointsMessage()},
        {{0, 0, 0, 1, 1, 1, 2, 2, 2}, collinearPointsMessage()},
        {{0, 0, 0, 0, 0, 1, 0, 0, 5}, collinearPointsMessage()},
        // Equal after rounding to 5 decimals.
        {{1.000001, 0, 0, 1.000004, 0, 0, 0, 1, 0}, twoIdenticalPointsMessage()},
    };
    for (const Case& c : cases) {
        const Plane r =
            plane(c.p[0], c.p[1], c.p[2], c.p[3], c.p[4], c.p[5], c.p[6], c.p[7], c.p[8]);
        EXPECT_FALSE(r.ok);
        ASSERT_EQ(r.notices.size(), 1);
        EXPECT_EQ(r.notices[0].text, c.message);
        for (const Num* v : {&r.p.a, &r.p.b, &r.p.c, &r.p.d}) EXPECT_EQ(v->text(), u"0");
    }
    // Differing only in the sixth decimal still makes a plane when it rounds apart.
    EXPECT_TRUE(plane(1.000001, 0, 0, 1.000006, 0, 0, 0, 1, 0).ok);
}

TEST(PlaneAttitude, ImpreciseConstantIsAWarningOnly) {
    const Plane r = plane(0, 0, 0, 3000000000, 0, 1000000000, 0, 1, 0);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_EQ(r.notices[0].text, imprecisePlaneMessage());
    EXPECT_EQ(r.p.a.text(), QStringLiteral("-0.33333333333333"));
}

TEST(PlaneAttitude, ThreePointsGoRoundTheList) {
    const QString list = QStringLiteral("R1,0,0,0\r\nR2,1,0,0\r\nR3,0,1,0\r\nR4,1,1,1\r\n");
    struct Case {
        const char* start;
        const char* names;
    };
    const Case cases[] = {
        {"R1", "  R1  R2  R3  "}, {"R3", "  R3  R4  R1  "}, {"R4", "  R4  R1  R2  "},
        {"0", "  0  R1  R2  "},   {"r1", "  0  R1  R2  "},  {"", "  0  R1  R2  "},
    };
    for (const Case& c : cases) {
        const AttitudeRun run = runPlaneAttitude(list, QString::fromUtf8(c.start));
        EXPECT_TRUE(run.output.startsWith(QStringLiteral("    用序号为") +
                                          QString::fromUtf8(c.names) +
                                          QStringLiteral("的三点确定面体 。")))
            << c.start << run.output.toStdString();
        EXPECT_EQ(run.start, c.start == QLatin1String("R1") || c.start == QLatin1String("R3") ||
                                     c.start == QLatin1String("R4")
                                 ? QString::fromUtf8(c.start)
                                 : QStringLiteral("0"));
    }
}

TEST(PlaneAttitude, FailuresGiveTheFailureText) {
    const QString failure = QStringLiteral("提供的坐标数据存在错误，请仔细修改后再计算。");
    const AttitudeRun few =
        runPlaneAttitude(QStringLiteral("A,1,2,3\r\nB,4,5,6\r\n"), QStringLiteral("A"));
    EXPECT_TRUE(few.failed);
    EXPECT_EQ(few.output, failure);
    ASSERT_EQ(few.notices.size(), 1);
    EXPECT_EQ(few.notices[0].text, QStringLiteral("点数少于3个，无法完成计算。"));
    EXPECT_EQ(runPlaneAttitude(QString(), QStringLiteral("0")).output, failure);

    const QString header =
        attitudeHeader(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"));
    const AttitudeRun same =
        runPlaneAttitude(QStringLiteral("A,1,1,1\r\nB,1,1,1\r\nC,1,1,1"), QStringLiteral("A"));
    EXPECT_TRUE(same.failed);
    EXPECT_EQ(same.output, header + failure);
    ASSERT_EQ(same.notices.size(), 1);
    EXPECT_EQ(same.notices[0].text, identicalPointsMessage());

    const QString huge[] = {
        QStringLiteral("A,1E+28,1,0\r\nB,0,1E+28,0\r\nC,0,0,1E+28\r\n"),
        QStringLiteral("A,1E+30,1,0\r\nB,0,1,0\r\nC,0,0,1\r\n"),
        QStringLiteral("A,10000000000000,1,0\r\nB,0,20000000000000,0\r\nC,0,0,1\r\n"),
    };
    for (const QString& text : huge) {
        const AttitudeRun run = runPlaneAttitude(text, QStringLiteral("A"));
        EXPECT_TRUE(run.failed) << text.toStdString();
        EXPECT_EQ(run.output, header + failure) << text.toStdString();
    }

    // Text in every field reads as 0: three points at the origin.
    const AttitudeRun words =
        runPlaneAttitude(QStringLiteral("a,b,c,d\r\ne,f,g,h\r\ni,j,k,l\r\n"), QStringLiteral("a"));
    EXPECT_TRUE(words.failed);
    ASSERT_EQ(words.notices.size(), 2);
    EXPECT_EQ(
        words.notices[0].text,
        QStringLiteral("有 9 个数据不是数值，已按 0 计算：第 1 行第 2 列“b”，第 1 行第 3 列“c”，"
                       "第 1 行第 4 列“d”，第 2 行第 2 列“f”，第 2 行第 3 列“g”……。"));
    EXPECT_EQ(words.notices[1].text, identicalPointsMessage());
}

// Strike, dip direction and dip against the normal of the plane from a cross
// product, for random triangles in every quadrant.
TEST(PlaneAttitude, AgreesWithTheCrossProductNormalOnRandomTriangles) {
    std::mt19937_64 rng(7771);
    const long long ranges[] = {3000, 5000000, 60000};
    const long long offsets[] = {0, 0, 4000000000LL};
    int checked = 0, degenerate = 0, undecidable = 0, differsFromDirect = 0;
    for (int i = 0; i < 12000; ++i) {
        const long long range = ranges[i % 3];
        std::uniform_int_distribution<long long> coord(-range, range);
        long long mm[9];
        for (int k = 0; k < 9; ++k) {
            mm[k] = coord(rng);
            if (range == 3000) mm[k] = mm[k] / 1000 * 1000;
            if (k % 3 != 2) mm[k] += offsets[i % 3];
        }
        Num v[9];
        for (int k = 0; k < 9; ++k)
            v[k] = Num::ofDecimal(Decimal::fromParts(std::llabs(mm[k]), 3, mm[k] < 0));
        PlaneAttitude p;
        bool ok = false;
        ASSERT_NO_THROW(
            ok = ZelMianTiChanZhuang(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], p));

        const long long ux = mm[3] - mm[0], uy = mm[4] - mm[1], uz = mm[5] - mm[2];
        const long long wx = mm[6] - mm[0], wy = mm[7] - mm[1], wz = mm[8] - mm[2];
        const long long nx = uy * wz - uz * wy, ny = uz * wx - ux * wz, nz = ux * wy - uy * wx;
        if (nx == 0 && ny == 0 && nz == 0) {
            EXPECT_FALSE(ok);
            ++degenerate;
            continue;
        }
        ASSERT_TRUE(ok);

        const long long strike = test::packedMicros(p.strike.toDecimal());
        const long long dipDirection = test::packedMicros(p.dipDirection.toDecimal());
        const long long dip = test::packedMicros(p.dip.toDecimal());

        // The geometry: steepest descent along (a, b) = (nx, ny) / nz, strike across it.
        double exactDip = 90, exactDirection = 0, exactStrike = 0;
        const double a = static_cast<double>(nx) / static_cast<double>(nz ? nz : 1);
        const double b = static_cast<double>(ny) / static_cast<double>(nz ? nz : 1);
        if (nz != 0) {
            exactDip = std::atan(std::hypot(a, b)) * 180 / M_PI;
            exactDirection = (a == 0 && b == 0) ? 0 : std::atan2(b, a) * 180 / M_PI;
            if (exactDirection < 0) exactDirection += 360;
            exactStrike = (a == 0 && b == 0) ? 0 : std::fmod(exactDirection + 90, 180);
        } else {
            exactStrike =
                std::atan2(static_cast<double>(-nx), static_cast<double>(ny)) * 180 / M_PI;
            exactStrike = std::fmod(exactStrike + 360, 180);
        }
        auto near = [](double got, double want, double period) {
            double d = std::fmod(std::abs(got - want), period);
            return std::min(d, period - d) <= 1.95e-6;
        };
        EXPECT_TRUE(near(test::degreesOfPacked(dip), exactDip, 1000)) << dip << " " << exactDip;
        EXPECT_TRUE(near(test::degreesOfPacked(strike), exactStrike, 180))
            << strike << " " << exactStrike;
        if (nz != 0 && (nx != 0 || ny != 0)) {
            EXPECT_TRUE(near(test::degreesOfPacked(dipDirection), exactDirection, 360))
                << dipDirection << " " << exactDirection;
        }

        // The digits, with the described rounding: radians to 9 places, degrees to 6.
        bool tie = false;
        long long modelStrike = 0, modelDirection = 0, modelDip = 90000000;
        if (nz == 0) {
            if (nx == 0) {
                modelDirection = 90000000;
            } else if (ny == 0) {
                modelStrike = 90000000;
            } else {
                modelStrike = test::microDegreesOfRadians(
                    std::atan(static_cast<double>(-nx) / static_cast<double>(ny)), tie);
                if (modelStrike < 0) modelStrike += 180000000;
                modelDirection =
                    modelStrike > 90000000 ? modelStrike - 90000000 : modelStrike + 90000000;
            }
        } else if (nx == 0 && ny == 0) {
            modelDip = 0;
        } else {
            // a and b are rounded to 14 places before use.
            double error = 1e-15;
            if (a != 0) error += 1e-14 / std::abs(a);
            if (b != 0) error += 1e-14 / std::abs(b);
            bool tieDip = false;
            modelDip = test::microDegreesOfRadians(std::atan(std::hypot(a, b)), tieDip, error);
            const long long s =
                test::microDegreesOfRadians(std::atan2(std::abs(a), std::abs(b)), tie, error);
            tie = tie || tieDip;
            if (a == 0) {
                modelDirection = b > 0 ? 90000000 : 270000000;
            } else if (b == 0) {
                modelStrike = 90000000;
                modelDirection = a > 0 ? 0 : 180000000;
            } else if (a > 0 && b > 0) {
                modelStrike = 180000000 - s;
                modelDirection = modelStrike - 90000000;
            } else if (a > 0) {
                modelStrike = s;
                modelDirection = s + 270000000;
            } else if (b > 0) {
                modelStrike = s;
                modelDirection = s + 90000000;
            } else {
                modelStrike = 180000000 - s;
                modelDirection = modelStrike + 90000000;
            }
        }
        if (tie) {
            ++undecidable;
        } else {
            EXPECT_EQ(strike, test::packedFromMicroDegrees(modelStrike, 180)) << a << " " << b;
            EXPECT_EQ(dipDirection, test::packedFromMicroDegrees(modelDirection, 360))
                << a << " " << b;
            EXPECT_EQ(dip, test::packedFromMicroDegrees(modelDip)) << a << " " << b;
        }
        if (dip != test::packedDirect(exactDip) || strike != test::packedDirect(exactStrike))
            ++differsFromDirect;
        ++checked;
    }
    std::cout << checked << " planes, " << degenerate << " degenerate, " << undecidable
              << " undecidable near a tie, " << differsFromDirect
              << " differ from packing the exact angle straight to 0.01 seconds\n";
    EXPECT_GT(checked, 10000);
    EXPECT_LT(undecidable, checked / 100);
}

}  // namespace
}  // namespace hc
