// The seven-parameter chain against PROJ's cct running the same similarity between
// geocentric steps: latitude/longitude/height in, latitude/longitude/height out.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <cmath>
#include <random>

#include "survey/datum_transform.h"

namespace hc {
namespace {

QString ellipsoidArgs(Datum d) {
    const EllipsoidShape s = ellipsoidShape(d);
    return QStringLiteral("+a=%1 +rf=%2").arg(s.a, 0, 'g', 17).arg(1 / s.f, 0, 'g', 17);
}

QString helmertArgs(const HelmertParameters& p) {
    return QStringLiteral(
               "+proj=helmert +x=%1 +y=%2 +z=%3 +rx=%4 +ry=%5 +rz=%6 +s=%7 +convention=%8")
        .arg(p.tx, 0, 'g', 17)
        .arg(p.ty, 0, 'g', 17)
        .arg(p.tz, 0, 'g', 17)
        .arg(p.rx, 0, 'g', 17)
        .arg(p.ry, 0, 'g', 17)
        .arg(p.rz, 0, 'g', 17)
        .arg(p.scalePpm, 0, 'g', 17)
        .arg(p.rotation == Rotation::PositionVector ? QStringLiteral("position_vector")
                                                    : QStringLiteral("coordinate_frame"));
}

struct Geo {
    double lat, lon, h;
};

// Runs cct on the points (longitude first, as cct reads degrees), or nothing when cct
// is not installed.
std::optional<std::vector<Geo>> runCct(Datum from, Datum to, const HelmertParameters& p,
                                       const std::vector<Geo>& in) {
    const QString cct = QStandardPaths::findExecutable(QStringLiteral("cct"));
    if (cct.isEmpty()) return std::nullopt;
    const QString pipeline = QStringLiteral("+proj=pipeline +step +proj=cart ") +
                             ellipsoidArgs(from) + QStringLiteral(" +step ") + helmertArgs(p) +
                             QStringLiteral(" +step +inv +proj=cart ") + ellipsoidArgs(to);
    QProcess process;
    process.start(cct, QStringList{QStringLiteral("-d"), QStringLiteral("12")} +
                           pipeline.split(u' ', Qt::SkipEmptyParts));
    if (!process.waitForStarted()) return std::nullopt;
    QByteArray input;
    for (const Geo& g : in)
        input += QByteArray::number(g.lon, 'g', 17) + ' ' + QByteArray::number(g.lat, 'g', 17) +
                 ' ' + QByteArray::number(g.h, 'g', 17) + " 0\n";
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    std::vector<Geo> out;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 3) continue;
        out.push_back({f[1].toDouble(), f[0].toDouble(), f[2].toDouble()});
    }
    return out;
}

TEST(DatumChainAgainstCct, SevenParametersBothConventions) {
    std::mt19937_64 rng(29);
    std::uniform_real_distribution<double> lat(18, 53), lon(73.6, 134.9), h(-100, 5000);
    std::vector<Geo> points;
    for (int i = 0; i < 3000; ++i) points.push_back({lat(rng), lon(rng), h(rng)});
    HelmertParameters p;
    p.tx = -15.4171;
    p.ty = 120.2583;
    p.tz = 60.1229;
    p.rx = 1.2345;
    p.ry = -0.8765;
    p.rz = 2.5432;
    p.scalePpm = 3.1415;
    const struct {
        Datum from, to;
        Rotation rotation;
    } cases[] = {
        {Datum::Wgs84, Datum::Beijing1954, Rotation::PositionVector},
        {Datum::Cgcs2000, Datum::Xian1980, Rotation::CoordinateFrame},
        {Datum::Beijing1954, Datum::Cgcs2000, Rotation::CoordinateFrame},
        {Datum::Xian1980, Datum::Wgs84, Rotation::PositionVector},
    };
    for (const auto& c : cases) {
        p.rotation = c.rotation;
        const std::optional<std::vector<Geo>> reference = runCct(c.from, c.to, p, points);
        if (!reference) GTEST_SKIP() << "cct (proj-bin) is not installed";
        ASSERT_EQ(reference->size(), points.size());
        DatumParameters params;
        params.model =
            c.rotation == Rotation::PositionVector ? DatumModel::Seven : DatumModel::SevenCF;
        params.helmert = p;
        const DatumChain chain({c.from, std::nullopt, std::nullopt},
                               {c.to, std::nullopt, std::nullopt}, params, false);
        double worst = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            DatumPoint out{};
            ASSERT_EQ(chain.apply({points[i].lat, points[i].lon, points[i].h}, out),
                      PointFault::None);
            const Geo& r = (*reference)[i];
            // Degrees to metres on the ground, generously (a sphere of 6400 km).
            const double k = 6.4e6 * 3.14159265358979323846 / 180;
            const double d =
                std::sqrt(std::pow((out.x - r.lat) * k, 2) +
                          std::pow((out.y - r.lon) * k * std::cos(r.lat / 57.29578), 2) +
                          std::pow(out.h - r.h, 2));
            worst = std::max(worst, d);
        }
        EXPECT_LT(worst, 1e-4);
        // The conventions must not be confused: the other one is far off.
        DatumParameters other = params;
        other.helmert.rotation = c.rotation == Rotation::PositionVector ? Rotation::CoordinateFrame
                                                                        : Rotation::PositionVector;
        const DatumChain wrong({c.from, std::nullopt, std::nullopt},
                               {c.to, std::nullopt, std::nullopt}, other, false);
        DatumPoint out{};
        ASSERT_EQ(wrong.apply({points[0].lat, points[0].lon, points[0].h}, out), PointFault::None);
        EXPECT_GT(std::fabs(out.x - (*reference)[0].lat) + std::fabs(out.y - (*reference)[0].lon),
                  1e-6);
    }
}

}  // namespace
}  // namespace hc
