// The grid options against exact transverse Mercator implementations: GeographicLib's
// TransverseMercatorProj (coordinates, convergence, scale, inverse) and PROJ's cct
// (tmerc with scale and false origin). Each test is skipped where its tool is missing.
// Points lie within 1.5 degrees of the central meridian, up to latitude 60.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <cmath>
#include <optional>
#include <vector>

#include "survey/ellipsoid_series.h"
#include "survey/gk_options.h"
#include "tests/survey/print_qstring.h"

namespace hc {
namespace {

constexpr double kPi = 3.14159265358979323846;
// The series agree with the exact projection to 1 mm here; the output is rounded to
// the millimetre, half of which comes on top.
constexpr double kMetres = 0.0015;

struct Tm {
    double e;      // easting from the central meridian, metres
    double n;      // northing, metres
    double gamma;  // convergence, degrees
    double k;      // scale
};

QString number(double v) { return QString::number(v, 'g', 17); }

// The ellipsoid of a parameter set as a and f.
QStringList ellipsoidArgs(const Ellipsoid& set) {
    return {QStringLiteral("-e"), number(set.a), number(1 - std::sqrt(1 - set.e2))};
}

std::optional<QString> run(const QString& program, const QStringList& args, const QString& in) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) return std::nullopt;
    QProcess p;
    p.start(path, args);
    if (!p.waitForStarted(10000)) return std::nullopt;
    p.write(in.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

std::vector<std::vector<double>> numbersOf(const QString& out) {
    std::vector<std::vector<double>> rows;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        std::vector<double> row;
        for (const QString& f : line.split(u' ', Qt::SkipEmptyParts)) row.push_back(f.toDouble());
        rows.push_back(row);
    }
    return rows;
}

// Forward (lat, lon in decimal degrees) or, with `reverse`, inverse (easting, northing).
std::optional<std::vector<Tm>> geographicLib(double lon0, double k0, const Ellipsoid& set,
                                             const std::vector<std::pair<double, double>>& in,
                                             bool reverse = false) {
    QStringList args{QStringLiteral("-l"), number(lon0),         QStringLiteral("-k"),
                     number(k0),           QStringLiteral("-p"), QStringLiteral("10")};
    args << ellipsoidArgs(set);
    if (reverse) args << QStringLiteral("-r");
    QString text;
    for (const auto& [a, b] : in) text += number(a) + u' ' + number(b) + u'\n';
    const std::optional<QString> out = run(QStringLiteral("TransverseMercatorProj"), args, text);
    if (!out) return std::nullopt;
    std::vector<Tm> r;
    for (const std::vector<double>& v : numbersOf(*out)) {
        if (v.size() < 4) return std::vector<Tm>{};
        r.push_back({v[0], v[1], v[2], v[3]});
    }
    return r;
}

struct Point {
    double lat;  // packed
    double lon;  // packed
};

// Latitudes 0 ... 60 and longitudes up to 1.5 degrees either side of `meridian`.
std::vector<Point> pointsAround(double meridian, bool south) {
    std::vector<Point> p;
    for (double lat : {0.0012, 15.203, 30.0, 45.1234567, 52.3, 59.5959}) {
        for (double off : {-1.5, -0.7537, 0.0, 0.31, 1.4999}) {
            const double lon = ZelSheRuXiaoShu(ZelBaiFenDuZhuanDuFenMiao(meridian + off), 8);
            p.push_back({south ? -lat : lat, lon});
        }
    }
    return p;
}

double degreesOf(double packed) { return ZelDuFenMiaoZhuanBaiFenDu(packed); }

// The easting from the central meridian of a zone or local grid easting.
double reducedEasting(double y, const GkGridOptions& o) {
    if (o.localMeridian) return y - o.grid.falseEasting;
    const double z = std::trunc(std::fabs(y) / 1000000) * 1000000;
    return y >= 0 ? y - z - o.grid.falseEasting : y + z + o.grid.falseEasting;
}

struct GridCase {
    const char* what;
    const Ellipsoid* set;
    double meridian;  // decimal degrees
    bool local;
    GridParameters grid;
    double height;
    bool south;
};

const GridCase kCases[] = {
    {"3 degree zone 117, extra only", &beijing1954(), 117, false, {0, 500000, 1}, 0, false},
    {"local 117 15, k0", &xian1980(), 117.25, true, {0, 500000, 0.9999}, 0, false},
    {"UTM-like south, west", &wgs84(), -75, false, {10000000, 500000, 0.9996}, 0, true},
    {"local 112 50, false origin",
     &cgcs2000(),
     112 + 50.0 / 60,
     true,
     {-3000000, 80000, 1},
     0,
     false},
    {"height 2500 on 117", &xian1980(), 117, false, {0, 500000, 1}, 2500, false},
    {"height 800 local, k0", &cgcs2000(), 101.75, true, {0, 500000, 0.9996}, 800, false},
};

GkGridOptions optionsOf(const GridCase& c) {
    GkGridOptions o;
    o.grid = c.grid;
    o.height = c.height;
    o.localMeridian = c.local;
    o.extra = true;
    return o;
}

// R = sqrt(M N) from a and e2.
double meanRadiusAt(double latDeg, const Ellipsoid& set) {
    const double s = std::sin(latDeg * kPi / 180);
    const double w = std::sqrt(1 - set.e2 * s * s);
    return std::sqrt(set.a * (1 - set.e2) / (w * w * w) * (set.a / w));
}

TEST(GkReference, ForwardConvergenceAndScaleAgreeWithTheExactProjection) {
    if (QStandardPaths::findExecutable(QStringLiteral("TransverseMercatorProj")).isEmpty())
        GTEST_SKIP() << "TransverseMercatorProj (geographiclib-tools) is not installed";
    double worst = 0;
    for (const GridCase& c : kCases) {
        const GkGridOptions o = optionsOf(c);
        const std::vector<Point> pts = pointsAround(c.meridian, c.south);
        std::vector<std::pair<double, double>> in;
        for (const Point& p : pts) in.push_back({degreesOf(p.lat), degreesOf(p.lon)});
        const std::optional<std::vector<Tm>> ref = geographicLib(c.meridian, c.grid.k0, *c.set, in);
        ASSERT_TRUE(ref.has_value());
        ASSERT_EQ(ref->size(), pts.size()) << c.what;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            for (ZoneWidth w : {ZoneWidth::Six, ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
                // The 6 degree zones centre on 3, 9, ... 117; other meridians are local there.
                if (!c.local && w == ZoneWidth::Six && std::fmod(std::fabs(c.meridian) + 3, 6) != 0)
                    continue;
                const ConvertedPoint g = convertWithOptions(std::nullopt, w, pts[i].lat, pts[i].lon,
                                                            c.meridian, *c.set, o);
                ASSERT_FALSE(g.rejected) << c.what << ": " << g.remark.toStdString();
                const Tm& t = (*ref)[i];
                const double s = c.height == 0 ? 1
                                               : (meanRadiusAt(in[i].first, *c.set) + c.height) /
                                                     meanRadiusAt(in[i].first, *c.set);
                // Scaled by the height: 0.1 mm per km of easting on top.
                const double tol = kMetres + (c.height == 0 ? 0 : 1e-7 * std::fabs(t.e));
                const double dn = g.u - c.grid.falseNorthing - s * t.n;
                const double de = reducedEasting(g.v, o) - s * t.e;
                worst = std::max({worst, std::fabs(dn), std::fabs(de)});
                EXPECT_LE(std::fabs(dn), tol) << c.what << " lat " << in[i].first;
                EXPECT_LE(std::fabs(de), tol) << c.what << " lon " << in[i].second;
                EXPECT_NEAR(g.gamma, t.gamma, 1e-8)
                    << c.what << " " << in[i].first << " " << in[i].second;
                EXPECT_NEAR(g.k, s * t.k, 1e-9) << c.what;
            }
        }
    }
    std::printf("largest difference from TransverseMercatorProj: %.5f m\n", worst);
}

TEST(GkReference, InverseAgreesWithTheExactProjection) {
    if (QStandardPaths::findExecutable(QStringLiteral("TransverseMercatorProj")).isEmpty())
        GTEST_SKIP() << "TransverseMercatorProj (geographiclib-tools) is not installed";
    for (const GridCase& c : kCases) {
        const GkGridOptions o = optionsOf(c);
        for (ZoneWidth w : {ZoneWidth::Three, ZoneWidth::OneAndHalf}) {
            std::vector<std::pair<double, double>> grid;
            std::vector<ConvertedPoint> ours;
            for (const Point& p : pointsAround(c.meridian, c.south)) {
                const ConvertedPoint g =
                    convertWithOptions(std::nullopt, w, p.lat, p.lon, c.meridian, *c.set, o);
                const ConvertedPoint b =
                    convertWithOptions(w, std::nullopt, g.u, g.v, c.meridian, *c.set, o);
                ASSERT_FALSE(b.rejected) << c.what << ": " << b.remark.toStdString();
                ours.push_back(b);
                // The exact inverse of the same grid values, with the height's scale of the
                // point found.
                const double s = c.height == 0 ? 1
                                               : (meanRadiusAt(degreesOf(b.u), *c.set) + c.height) /
                                                     meanRadiusAt(degreesOf(b.u), *c.set);
                grid.push_back({reducedEasting(g.v, o) / s, (g.u - c.grid.falseNorthing) / s});
            }
            const std::optional<std::vector<Tm>> ref =
                geographicLib(c.meridian, c.grid.k0, *c.set, grid, true);
            ASSERT_TRUE(ref.has_value());
            ASSERT_EQ(ref->size(), ours.size()) << c.what;
            for (std::size_t i = 0; i < ours.size(); ++i) {
                // Latitude and longitude come back as e (lat) and n (lon) of the reverse.
                const double lat = (*ref)[i].e;
                const double lon = (*ref)[i].n;
                // 1 mm is 3.2E-5 seconds of latitude; the packed output shows 1E-4 seconds.
                const double secondsLat = std::fabs(degreesOf(ours[i].u) - lat) * 3600;
                const double secondsLon =
                    std::fabs(degreesOf(ours[i].v) - lon) * 3600 * std::cos(lat * kPi / 180);
                EXPECT_LE(secondsLat, 8.5e-5) << c.what << " " << lat << " " << lon;
                EXPECT_LE(secondsLon, 8.5e-5) << c.what << " " << lat << " " << lon;
                EXPECT_NEAR(ours[i].gamma, (*ref)[i].gamma, 1e-8) << c.what;
            }
        }
    }
}

TEST(GkReference, ScaleAndFalseOriginAgreeWithProjTmerc) {
    if (QStandardPaths::findExecutable(QStringLiteral("cct")).isEmpty())
        GTEST_SKIP() << "cct (proj-bin) is not installed";
    for (const GridCase& c : kCases) {
        if (!c.local || c.height != 0) continue;  // easting without zone number, ground grid
        const GkGridOptions o = optionsOf(c);
        const std::vector<Point> pts = pointsAround(c.meridian, c.south);
        QString in;
        for (const Point& p : pts)
            in += number(degreesOf(p.lon)) + u' ' + number(degreesOf(p.lat)) +
                  QStringLiteral(" 0 0\n");
        const QStringList args{QStringLiteral("-d"),
                               QStringLiteral("6"),
                               QStringLiteral("+proj=tmerc"),
                               QStringLiteral("+lon_0=") + number(c.meridian),
                               QStringLiteral("+k_0=") + number(c.grid.k0),
                               QStringLiteral("+x_0=") + number(c.grid.falseEasting),
                               QStringLiteral("+y_0=") + number(c.grid.falseNorthing),
                               QStringLiteral("+a=") + number(c.set->a),
                               QStringLiteral("+rf=") + number(1 / (1 - std::sqrt(1 - c.set->e2)))};
        const std::optional<QString> out = run(QStringLiteral("cct"), args, in);
        ASSERT_TRUE(out.has_value());
        const std::vector<std::vector<double>> ref = numbersOf(*out);
        ASSERT_EQ(ref.size(), pts.size()) << c.what << out->toStdString();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const ConvertedPoint g = convertWithOptions(std::nullopt, ZoneWidth::Three, pts[i].lat,
                                                        pts[i].lon, c.meridian, *c.set, o);
            EXPECT_NEAR(g.v, ref[i][0], kMetres) << c.what;
            EXPECT_NEAR(g.u, ref[i][1], kMetres) << c.what;
        }
    }
}

}  // namespace
}  // namespace hc
