#pragma once
// Least-squares estimates of the datum transformation parameters from common points known
// in both systems. The seven parameters are found from the model written linear in
// (T, s, (1 + s) r), which is exact for the small-angle rotation matrix, so one solve gives
// the least-squares estimate; every solve is a column-pivoting QR decomposition of the
// centred and scaled design matrix, never the normal equations.

#include <QString>
#include <optional>
#include <vector>

#include "survey/datum_transform.h"

namespace hc {

// What a fit reports besides the parameters.
struct FitStatistics {
    // Unit-weight RMS (metres): sqrt(sum of squared residuals / redundancy); nothing when
    // the redundancy is 0.
    std::optional<double> rms;
    int redundancy = 0;
};

enum class FitFault {
    None,
    TooFewPoints,  // fewer than 3 (seven), 1 (three) or 2 (four) points, 3 or 6 for heights
    Degenerate,    // coincident or collinear points leave parameters undetermined
    NotFinite,     // a coordinate is no finite number
};
// The Chinese message of a fault of `model`'s fit.
QString fitFaultText(FitFault fault, DatumModel model, HeightSurface height = HeightSurface::None);

struct HelmertFit {
    FitFault fault = FitFault::None;
    HelmertParameters parameters;
    // Per point: the transformed source less the target, geocentric metres.
    std::vector<Xyz> residuals;
    FitStatistics statistics;
};

// Seven parameters (`rotation` tells the convention) or, with `shiftsOnly`, three, from
// geocentric source and target points in the same order.
HelmertFit fitHelmert(const std::vector<Xyz>& source, const std::vector<Xyz>& target,
                      Rotation rotation, bool shiftsOnly = false);

struct PlaneFit {
    FitFault fault = FitFault::None;
    bool heightFault = false;  // the fault is the height surface's
    PlaneParameters parameters;
    // Per point: the transformed source less the target, northing and easting, metres;
    // heights when a surface was fitted (else 0).
    std::vector<Xyz> residuals;
    FitStatistics statistics;        // of the plane residuals
    FitStatistics heightStatistics;  // of the heights when a surface was fitted
};

// Four parameters from source and target grid points (x northing, y easting with the zone
// prefix, metres; z height), with the height-anomaly surface `height` fitted to the
// differences of the heights over the source grid.
PlaneFit fitPlane(const std::vector<Xyz>& source, const std::vector<Xyz>& target,
                  HeightSurface height = HeightSurface::None);

}  // namespace hc
