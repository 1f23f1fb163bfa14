#pragma once
// Datum transformations between the geodetic systems (WGS 84, CGCS2000, Beijing 1954,
// Xi'an 1980): the seven-parameter spatial similarity on geocentric coordinates in both
// rotation sign conventions, its three-parameter special case, the four-parameter plane
// similarity on grid coordinates with an optional height-anomaly surface, and the chain
// grid -> latitude/longitude -> geocentric -> transformation -> geocentric ->
// latitude/longitude -> grid that applies them to points.

#include <QString>
#include <optional>
#include <vector>

#include "survey/survey_settings.h"

namespace hc {

// Semi-major axis (metres) and flattening of a datum's ellipsoid: Krassovsky for
// Beijing 1954, the IAG 1975 ellipsoid for Xi'an 1980, WGS 84 and CGCS2000.
struct EllipsoidShape {
    double a;
    double f;
};
EllipsoidShape ellipsoidShape(Datum datum);

struct Xyz {
    double x = 0;
    double y = 0;
    double z = 0;
};

// Geodetic latitude and longitude in decimal degrees and ellipsoidal height in metres
// to geocentric X, Y, Z (metres) on `datum`'s ellipsoid, and back.
Xyz geocentricOf(Datum datum, double latDeg, double lonDeg, double h);
void geodeticOf(Datum datum, const Xyz& p, double& latDeg, double& lonDeg, double& h);
// The north, east and up components (metres) of the geocentric vector `d` at the
// place of latitude and longitude `latDeg`, `lonDeg` (degrees).
Xyz northEastUp(const Xyz& d, double latDeg, double lonDeg);

// The two sign conventions of the rotations: position vector (the rotations turn the
// point) and coordinate frame (they turn the axes; the same numbers with the opposite
// sign).
enum class Rotation { PositionVector, CoordinateFrame };

enum class DatumModel {
    Seven,    // seven parameters, position vector rotations
    SevenCF,  // seven parameters, coordinate frame rotations
    Three,    // three shifts
    Four,     // plane similarity on the grid
};

// Spatial similarity X' = T + (1 + s) R X with the rotation matrix of small angles,
//   position vector:  R = | 1   -rz  ry |     coordinate frame: R transposed.
//                         | rz   1  -rx |
//                         | -ry  rx  1  |
struct HelmertParameters {
    double tx = 0, ty = 0, tz = 0;  // metres
    double rx = 0, ry = 0, rz = 0;  // arc-seconds
    double scalePpm = 0;            // parts per million
    Rotation rotation = Rotation::PositionVector;
};

// The similarity with its matrices prepared; the inverse is the inverse map
// X = R^-1 (X' - T) / (1 + s), not the similarity with negated parameters.
class Helmert {
public:
    explicit Helmert(const HelmertParameters& p);
    Xyz forward(const Xyz& p) const;
    Xyz inverse(const Xyz& p) const;

private:
    double t_[3];
    double m_[9];     // (1 + s) R, row-major
    double minv_[9];  // its inverse
};

// Height anomaly surface of the plane transformation: the target height is the source
// height plus c0 + c1 u + c2 v (+ c3 u² + c4 u v + c5 v² for Quadratic), with u, v the
// source northing and easting less (x0, y0), in kilometres.
enum class HeightSurface { None, Plane, Quadratic };
struct HeightFit {
    HeightSurface surface = HeightSurface::None;
    double x0 = 0, y0 = 0;
    double c[6] = {0, 0, 0, 0, 0, 0};
    double at(double x, double y) const;
};

// Plane similarity on grid coordinates (x northing, y easting within the zone, without the
// zone prefix but with the false easting, metres):
//   x' = dx + (1 + m)(x cos t - y sin t),  y' = dy + (1 + m)(x sin t + y cos t),
// t the rotation in arc-seconds and m the scale in ppm.
struct PlaneParameters {
    double dx = 0, dy = 0;  // metres
    double rotation = 0;    // arc-seconds
    double scalePpm = 0;    // parts per million
    HeightFit height;
};

class PlaneSimilarity {
public:
    explicit PlaneSimilarity(const PlaneParameters& p);
    // x, y grid metres; h metres, changed by the height surface.
    void forward(double& x, double& y, double& h) const;
    void inverse(double& x, double& y, double& h) const;

private:
    PlaneParameters p_;
    double a_, b_;  // (1 + m) cos t, (1 + m) sin t
};

// The zone prefix of a grid easting (zone number times 1 000 000 m; 0 for an easting
// without one). The plane transformation is applied to y less this, so that its shifts do
// not stand for a rotation about a point tens of thousands of kilometres away; the point
// keeps its prefix.
double zonePrefix(double y);

// Parameters of one model; `model` tells which part is used.
struct DatumParameters {
    DatumModel model = DatumModel::Seven;
    HelmertParameters helmert;  // Seven, SevenCF, Three (rotations and scale 0)
    PlaneParameters plane;      // Four
};

// The parameter line: the model code (as the command line's --model takes it: 7, 7cf, 3,
// 4) and name=value pairs, numbers in the shortest text that reads back to the same
// double: "7cf tx=-15.2 ty=... tz=... rx=... ry=... rz=... s=...", "3 tx=... ty=... tz=...",
// "4 dx=... dy=... r=... s=... [h=plane|quad x0=... y0=... c0=... ... c5=...]".
QString parametersText(const DatumParameters& p);
// Reads a parameter line (spaces, commas or semicolons between pairs, names in any letter
// case, missing numbers 0). Nothing, with the reason in `error`, for an unknown model or
// name, a value that is no number or not finite.
std::optional<DatumParameters> parseParameters(const QString& text, QString* error = nullptr);
// Readable lines of the parameters with units, for the output box.
QString parametersDescription(const DatumParameters& p);
// The model's plain name ("七参数（布尔莎，位置矢量法）" ...).
QString modelName(DatumModel model);
// "7", "7cf", "3", "4", and back (any letter case); nothing for another code.
QString modelCode(DatumModel model);
std::optional<DatumModel> modelOfCode(const QString& code);

// One side of a conversion: the datum and the form of its coordinates.
struct CoordSystem {
    Datum datum = Datum::Wgs84;
    // The grid's zone width; nothing: latitude and longitude.
    std::optional<ZoneWidth> zone;
    // Central meridian (degrees) of a grid written by the chain; nothing: the meridian of
    // the grid the point came in (same zone width), or of the zone the point lies in.
    std::optional<double> meridian;
};

// A point as the chain reads and writes it: grid northing x and easting y with the
// zone prefix and the 500 km false easting, or latitude and longitude in decimal
// degrees; the height in metres.
struct DatumPoint {
    double x = 0;
    double y = 0;
    double h = 0;
};

enum class PointFault {
    None,
    Range,       // grid values outside the zones, or a latitude/longitude out of range
    Hemisphere,  // a southern or western point: the chain covers the north-east quadrant
    Reach,       // too far from the central meridian for the projection series
    NotFinite,
};
// The Chinese message of a fault.
QString pointFaultText(PointFault fault);

// Grid <-> latitude/longitude on one datum with the projection cores of survey/projection.h
// without rounding. `meridian` in: the central meridian to project on (nothing: the zone
// the longitude lies in); out: the meridian of the grid read.
PointFault gridToGeographic(Datum datum, ZoneWidth zone, double x, double y, double& latDeg,
                            double& lonDeg, double* meridian = nullptr);
PointFault geographicToGrid(Datum datum, ZoneWidth zone, double latDeg, double lonDeg,
                            std::optional<double> meridian, double& x, double& y);

// A prepared conversion from one system to another with one set of parameters, applied
// forward (from the system the parameters were fitted from to the other) or inverse.
// Seven and three parameters need no grid; four parameters work on the grid values as
// they are (the zone prefix kept, see zonePrefix) and need grids on both sides
// (constructing with a latitude/longitude side throws std::invalid_argument).
class DatumChain {
public:
    DatumChain(const CoordSystem& from, const CoordSystem& to, const DatumParameters& p,
               bool inverse);
    PointFault apply(const DatumPoint& in, DatumPoint& out) const;
    // Applies to n points; `jobs` threads share them (1: this thread). Faults per point
    // (may be null).
    void applyMany(const DatumPoint* in, DatumPoint* out, PointFault* faults, std::size_t n,
                   int jobs) const;

private:
    CoordSystem from_;
    CoordSystem to_;
    DatumModel model_;
    Helmert helmert_;
    PlaneSimilarity plane_;
    bool inverse_;
};

// Packed degrees-minutes-seconds text d.mmss... of decimal degrees, with `secondDecimals`
// places of the seconds (the minutes and seconds carried at 60), and back through the
// project's reader (ZelDuFenMiaoZhuanBaiFenDu).
QString packedDegreesText(double degrees, int secondDecimals);

}  // namespace hc
