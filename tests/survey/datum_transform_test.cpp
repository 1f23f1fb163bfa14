#include "survey/datum_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "survey/projection.h"
#include "survey/zones.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

double distance(const Xyz& a, const Xyz& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// Metres between two latitude/longitude pairs (degrees) on a sphere of the Earth's size:
// ample for differences of millimetres.
double groundDistance(double lat1, double lon1, double lat2, double lon2) {
    const double k = 6378137 * 3.14159265358979323846 / 180;
    const double dn = (lat1 - lat2) * k;
    const double de = (lon1 - lon2) * k * std::cos(lat1 * 3.14159265358979323846 / 180);
    return std::hypot(dn, de);
}

HelmertParameters sevenParameters(Rotation rotation) {
    HelmertParameters p;
    p.tx = -15.4;
    p.ty = 120.2;
    p.tz = 60.1;
    p.rx = 1.2;
    p.ry = -0.8;
    p.rz = 2.5;
    p.scalePpm = 3.1;
    p.rotation = rotation;
    return p;
}

TEST(Helmert, InverseUndoesForwardWhereNegatedParametersDoNot) {
    // Large rotations make the difference between the inverse map and the similarity with
    // negated parameters plain: the latter is off by terms of second order.
    for (Rotation rotation : {Rotation::PositionVector, Rotation::CoordinateFrame}) {
        HelmertParameters p = sevenParameters(rotation);
        p.rx = 40;
        p.ry = -35;
        p.rz = 60;
        p.scalePpm = 25;
        const Helmert h(p);
        HelmertParameters negated = p;
        for (double* v : {&negated.tx, &negated.ty, &negated.tz, &negated.rx, &negated.ry,
                          &negated.rz, &negated.scalePpm})
            *v = -*v;
        const Helmert hn(negated);
        const Xyz x = geocentricOf(Datum::Wgs84, 31.2, 121.5, 12);
        const Xyz y = h.forward(x);
        EXPECT_GT(distance(y, x), 50);
        EXPECT_LT(distance(h.inverse(y), x), 1e-8);
        EXPECT_GT(distance(hn.forward(y), x), 1e-3);
    }
}

TEST(Helmert, ConventionsDifferBySignOfRotations) {
    const HelmertParameters pv = sevenParameters(Rotation::PositionVector);
    HelmertParameters cf = pv;
    cf.rotation = Rotation::CoordinateFrame;
    HelmertParameters cfNegated = cf;
    cfNegated.rx = -cf.rx;
    cfNegated.ry = -cf.ry;
    cfNegated.rz = -cf.rz;
    const Xyz x = geocentricOf(Datum::Cgcs2000, 45.7, 126.6, 150);
    EXPECT_LT(distance(Helmert(pv).forward(x), Helmert(cfNegated).forward(x)), 1e-9);
    // 2.5" about Z moves a point this far from the axis by about 60 m of arc... here
    // doubled, since the two conventions turn opposite ways.
    EXPECT_GT(distance(Helmert(pv).forward(x), Helmert(cf).forward(x)), 50);
}

TEST(Helmert, ShiftOnlyAndScaleOnly) {
    const Xyz x{-2148744.0, 4426641.0, 4044656.0};
    HelmertParameters shift;
    shift.tx = 1;
    shift.ty = -2;
    shift.tz = 3;
    const Xyz s = Helmert(shift).forward(x);
    EXPECT_DOUBLE_EQ(s.x, x.x + 1);
    EXPECT_DOUBLE_EQ(s.y, x.y - 2);
    EXPECT_DOUBLE_EQ(s.z, x.z + 3);
    HelmertParameters scale;
    scale.scalePpm = 10;
    const Xyz m = Helmert(scale).forward(x);
    EXPECT_NEAR(m.x, x.x * (1 + 1e-5), 1e-8);
    EXPECT_NEAR(m.z, x.z * (1 + 1e-5), 1e-8);
}

TEST(Helmert, RotationAboutZTurnsLongitude) {
    // A position-vector rotation of +1" about Z moves a point east by 1".
    HelmertParameters p;
    p.rz = 1;
    const Xyz x = geocentricOf(Datum::Wgs84, 30, 110, 0);
    double lat = 0, lon = 0, h = 0;
    geodeticOf(Datum::Wgs84, Helmert(p).forward(x), lat, lon, h);
    EXPECT_NEAR((lon - 110) * 3600, 1, 1e-9);
    // The small-angle matrix is not quite a rotation: it lengthens the radius by a part in
    // 4e11, which moves the latitude by some 1e-10 degrees.
    EXPECT_NEAR(lat, 30, 1e-9);
}

TEST(Geocentric, KnownPointsAndRoundTrip) {
    // On the equator at longitude 0 X is the semi-major axis of each ellipsoid.
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000}) {
        const Xyz e = geocentricOf(d, 0, 0, 0);
        EXPECT_DOUBLE_EQ(e.x, ellipsoidShape(d).a);
        const Xyz pole = geocentricOf(d, 90, 0, 0);
        EXPECT_NEAR(pole.z, ellipsoidShape(d).a * (1 - ellipsoidShape(d).f), 1e-6);
        double lat = 0, lon = 0, h = 0;
        geodeticOf(d, geocentricOf(d, 39.9, 116.4, 43.5), lat, lon, h);
        EXPECT_NEAR(lat, 39.9, 1e-12);
        EXPECT_NEAR(lon, 116.4, 1e-12);
        EXPECT_NEAR(h, 43.5, 1e-8);
    }
}

TEST(NorthEastUp, UnitVectorsOfThePlace) {
    // At latitude 0, longitude 90: east is -X, north is +Z, up is +Y.
    const Xyz n = northEastUp({0, 0, 1}, 0, 90);
    EXPECT_NEAR(n.x, 1, 1e-15);
    const Xyz e = northEastUp({-1, 0, 0}, 0, 90);
    EXPECT_NEAR(e.y, 1, 1e-15);
    const Xyz u = northEastUp({0, 1, 0}, 0, 90);
    EXPECT_NEAR(u.z, 1, 1e-15);
    EXPECT_NEAR(u.x, 0, 1e-15);
    EXPECT_NEAR(u.y, 0, 1e-15);
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(ParameterLine, ReadsBackBitForBit) {
    DatumParameters seven;
    seven.model = DatumModel::SevenCF;
    seven.helmert = sevenParameters(Rotation::CoordinateFrame);
    seven.helmert.tx = 0.1 + 0.2;  // no short decimal text
    seven.helmert.rz = -1.0 / 3;
    DatumParameters three;
    three.model = DatumModel::Three;
    three.helmert.tx = -24.47;
    three.helmert.ty = 130.89;
    three.helmert.tz = 81.56;
    DatumParameters four;
    four.model = DatumModel::Four;
    four.plane.dx = -123.456789012345;
    four.plane.dy = 98.7654321;
    four.plane.rotation = 1.0 / 7;
    four.plane.scalePpm = -2.5e-3;
    four.plane.height.surface = HeightSurface::Quadratic;
    four.plane.height.x0 = 3400123.4567;
    four.plane.height.y0 = 39512345.678;
    for (int i = 0; i < 6; ++i) four.plane.height.c[i] = (i + 1) * 1e-3 / 3;
    for (const DatumParameters& p : {seven, three, four}) {
        const QString text = parametersText(p);
        QString error;
        const std::optional<DatumParameters> back = parseParameters(text, &error);
        ASSERT_TRUE(back) << error.toStdString();
        EXPECT_EQ(back->model, p.model) << text.toStdString();
        EXPECT_EQ(parametersText(*back), text);
        EXPECT_TRUE(sameBits(back->helmert.tx, p.helmert.tx)) << text.toStdString();
        EXPECT_TRUE(sameBits(back->helmert.rz, p.helmert.rz)) << text.toStdString();
        EXPECT_TRUE(sameBits(back->plane.rotation, p.plane.rotation)) << text.toStdString();
        EXPECT_TRUE(sameBits(back->plane.height.c[5], p.plane.height.c[5])) << text.toStdString();
        EXPECT_EQ(back->plane.height.surface, p.plane.height.surface);
        EXPECT_EQ(back->helmert.rotation, p.helmert.rotation);
    }
}

TEST(ParameterLine, ReadsLooseWritingAndRefusesBadLines) {
    const auto p = parseParameters(QStringLiteral(" 7CF, TX=1.5；ty＝-2  RZ=0.25 "));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->model, DatumModel::SevenCF);
    EXPECT_EQ(p->helmert.rotation, Rotation::CoordinateFrame);
    EXPECT_EQ(p->helmert.tx, 1.5);
    EXPECT_EQ(p->helmert.ty, -2);
    EXPECT_EQ(p->helmert.tz, 0);
    EXPECT_EQ(p->helmert.rz, 0.25);
    const struct {
        const char16_t* text;
        const char16_t* reason;
    } bad[] = {
        {u"", u"没有参数"},          {u"5 tx=1", u"模型代号"}, {u"7 tx=abc", u"不是数"},
        {u"7 tx=1e999", u"不是数"},  {u"7 tx", u"名称=数值"},  {u"3 rx=1", u"没有参数 rx"},
        {u"4 tx=1", u"没有参数 tx"}, {u"4 h=cubic", u"plane"},
    };
    for (const auto& c : bad) {
        QString error;
        EXPECT_FALSE(parseParameters(QString::fromUtf16(c.text), &error))
            << QString::fromUtf16(c.text).toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf16(c.reason))) << error.toStdString();
    }
}

TEST(PlaneSimilarity, InverseUndoesForwardWithHeightSurface) {
    PlaneParameters p;
    p.dx = -352.1;
    p.dy = 87.4;
    p.rotation = -12.5;
    p.scalePpm = 18;
    p.height.surface = HeightSurface::Quadratic;
    p.height.x0 = 3400000;
    p.height.y0 = 39500000;
    const double c[6] = {-12.3, 0.01, -0.02, 1e-4, -2e-4, 3e-4};
    std::copy(c, c + 6, p.height.c);
    const PlaneSimilarity s(p);
    double x = 3412345.678, y = 39487654.321, h = 123.4;
    s.forward(x, y, h);
    EXPECT_GT(std::hypot(x - 3412345.678, y - 39487654.321), 300);
    s.inverse(x, y, h);
    EXPECT_NEAR(x, 3412345.678, 1e-8);
    EXPECT_NEAR(y, 39487654.321, 1e-8);
    EXPECT_NEAR(h, 123.4, 1e-9);
}

TEST(GridChain, RoundTripOfTheProjectionAcrossChina) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> lat(18, 53), lon(73.6, 134.9);
    double worst = 0;
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Cgcs2000}) {
        for (ZoneWidth z : {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
            for (int i = 0; i < 2000; ++i) {
                const double b = lat(rng), l = lon(rng);
                double x = 0, y = 0, b2 = 0, l2 = 0, meridian = 0;
                ASSERT_EQ(geographicToGrid(d, z, b, l, std::nullopt, x, y), PointFault::None);
                ASSERT_EQ(gridToGeographic(d, z, x, y, b2, l2, &meridian), PointFault::None);
                worst = std::max(worst, groundDistance(b, l, b2, l2));
                // The zone the longitude lies in.
                const double width = z == ZoneWidth::Six ? 6 : z == ZoneWidth::Three ? 3 : 1.5;
                EXPECT_LE(std::fabs(l - meridian), width / 2 + 1e-9);
            }
        }
    }
    // The textbook series alone disagree by up to 0.45 mm at 52 degrees north.
    EXPECT_LT(worst, 1e-6);
}

TEST(GridChain, AgreesWithTheZoneConversions) {
    // The zone conversions round to the millimetre; the chain keeps every digit.
    const double packedLat = 39.543212, packedLon = 116.283456;
    const double lat = ZelDuFenMiaoZhuanBaiFenDu(packedLat),
                 lon = ZelDuFenMiaoZhuanBaiFenDu(packedLon);
    for (ZoneWidth z : {ZoneWidth::Six, ZoneWidth::Three}) {
        double x = 0, y = 0;
        ASSERT_EQ(geographicToGrid(Datum::Beijing1954, z, lat, lon, std::nullopt, x, y),
                  PointFault::None);
        const GridPoint g = toGrid(z, packedLat, packedLon, 117, beijing1954());
        EXPECT_NEAR(x, g.x, 0.0005);
        EXPECT_NEAR(y, g.y, 0.0005);
    }
}

TEST(GridChain, FaultsOfPointsOutsideTheChain) {
    double x = 0, y = 0, b = 0, l = 0;
    EXPECT_EQ(geographicToGrid(Datum::Wgs84, ZoneWidth::Three, -33.9, 151.2, std::nullopt, x, y),
              PointFault::Hemisphere);
    EXPECT_EQ(geographicToGrid(Datum::Wgs84, ZoneWidth::Three, 95, 110, std::nullopt, x, y),
              PointFault::Range);
    EXPECT_EQ(geographicToGrid(Datum::Wgs84, ZoneWidth::Three, 30, 110, 117.0, x, y),
              PointFault::Reach);
    EXPECT_EQ(geographicToGrid(Datum::Wgs84, ZoneWidth::Three, NAN, 110, std::nullopt, x, y),
              PointFault::NotFinite);
    EXPECT_EQ(gridToGeographic(Datum::Beijing1954, ZoneWidth::Three, 3400000, 500, b, l),
              PointFault::Range);
    EXPECT_EQ(gridToGeographic(Datum::Beijing1954, ZoneWidth::Three, -3400000, 39500000, b, l),
              PointFault::Hemisphere);
    EXPECT_EQ(gridToGeographic(Datum::Beijing1954, ZoneWidth::Three, 7000000, 39990000, b, l),
              PointFault::Reach);
}

TEST(PackedDegreesText, CarriesAndSigns) {
    const struct {
        double degrees;
        int places;
        const char* text;
    } cases[] = {
        {39.5, 6, "39.3000000000"},
        {116 + 17.0 / 60 + 59.9999996 / 3600, 6, "116.1800000000"},  // rounds up, carries twice
        {116 + 17.0 / 60 + 59.9999994 / 3600, 6, "116.1759999999"},
        {-0.5, 2, "-0.300000"},
        {-1e-12, 2, "0.000000"},
        {0, 0, "0.0000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(packedDegreesText(c.degrees, c.places), QString::fromLatin1(c.text)) << c.degrees;
    // And back through the project's reader.
    const double d = 31.123456789;
    EXPECT_NEAR(ZelDuFenMiaoZhuanBaiFenDu(packedDegreesText(d, 6).toDouble()), d, 1e-6 / 3600);
}

}  // namespace
}  // namespace hc
