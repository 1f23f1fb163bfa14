#include "survey/datum_fit.h"

#include <Eigen/Dense>
#include <cmath>

namespace hc {
namespace {

constexpr double kArcSecond = 3.14159265358979323846 / (180.0 * 3600.0);
// Pivots below this fraction of the largest leave a parameter undetermined.
constexpr double kRankThreshold = 1e-9;

bool finite(const std::vector<Xyz>& points) {
    for (const Xyz& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    return true;
}

Xyz centroid(const std::vector<Xyz>& points) {
    Xyz c;
    for (const Xyz& p : points) {
        c.x += p.x;
        c.y += p.y;
        c.z += p.z;
    }
    const double n = static_cast<double>(points.size());
    return {c.x / n, c.y / n, c.z / n};
}

FitStatistics statistics(double sumSquares, int redundancy) {
    FitStatistics s;
    s.redundancy = redundancy;
    if (redundancy > 0) s.rms = std::sqrt(sumSquares / redundancy);
    return s;
}

// Least squares of the design `a` (columns of similar magnitude) against `b`; false when the
// columns are not independent.
bool solve(const Eigen::MatrixXd& a, const Eigen::VectorXd& b, Eigen::VectorXd& x) {
    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(a);
    qr.setThreshold(kRankThreshold);
    if (qr.rank() < a.cols()) return false;
    x = qr.solve(b);
    return x.allFinite();
}

}  // namespace

QString fitFaultText(FitFault fault, DatumModel model, HeightSurface height) {
    switch (fault) {
        case FitFault::None:
            return {};
        case FitFault::TooFewPoints: {
            if (height != HeightSurface::None)
                return height == HeightSurface::Plane
                           ? QStringLiteral("公共点太少：高程异常平面拟合至少要 3 个点。")
                           : QStringLiteral("公共点太少：高程异常二次曲面拟合至少要 6 个点。");
            const int need = model == DatumModel::Three ? 1 : model == DatumModel::Four ? 2 : 3;
            return QStringLiteral("公共点太少：%1至少要 %2 个公共点。")
                .arg(modelName(model))
                .arg(need);
        }
        case FitFault::Degenerate:
            return height != HeightSurface::None
                       ? QStringLiteral(
                             "公共点的分布不能确定高程异常面（点重合或在一条直线上），"
                             "没有求出参数。")
                       : QStringLiteral(
                             "公共点重合或在一条直线上，不能确定全部参数，没有求出参数。");
        case FitFault::NotFinite:
            break;
    }
    return QStringLiteral("公共点的坐标超出计算范围，没有求出参数。");
}

HelmertFit fitHelmert(const std::vector<Xyz>& source, const std::vector<Xyz>& target,
                      Rotation rotation, bool shiftsOnly) {
    HelmertFit fit;
    fit.parameters.rotation = rotation;
    const std::size_t n = std::min(source.size(), target.size());
    if (n < (shiftsOnly ? 1u : 3u)) {
        fit.fault = FitFault::TooFewPoints;
        return fit;
    }
    if (!finite(source) || !finite(target)) {
        fit.fault = FitFault::NotFinite;
        return fit;
    }
    const Xyz cs = centroid(source);
    const Xyz ct = centroid(target);
    double s = 0;
    Eigen::Vector3d v = Eigen::Vector3d::Zero();  // (1 + s) times the rotation vector
    if (!shiftsOnly) {
        // Target less source, both centred: s u + v x u for the centred source u.
        double spread = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double ux = source[i].x - cs.x, uy = source[i].y - cs.y, uz = source[i].z - cs.z;
            spread += ux * ux + uy * uy + uz * uz;
        }
        const double scale = std::sqrt(spread / static_cast<double>(n));
        if (!(scale > 0)) {
            fit.fault = FitFault::Degenerate;
            return fit;
        }
        const Eigen::Index rows = static_cast<Eigen::Index>(3 * n);
        Eigen::MatrixXd a(rows, 4);
        Eigen::VectorXd b(rows);
        for (std::size_t i = 0; i < n; ++i) {
            const double ux = (source[i].x - cs.x) / scale, uy = (source[i].y - cs.y) / scale,
                         uz = (source[i].z - cs.z) / scale;
            const Eigen::Index r = static_cast<Eigen::Index>(3 * i);
            a.row(r) << ux, 0, uz, -uy;
            a.row(r + 1) << uy, -uz, 0, ux;
            a.row(r + 2) << uz, uy, -ux, 0;
            b(r) = (target[i].x - ct.x) - (source[i].x - cs.x);
            b(r + 1) = (target[i].y - ct.y) - (source[i].y - cs.y);
            b(r + 2) = (target[i].z - ct.z) - (source[i].z - cs.z);
        }
        Eigen::VectorXd x;
        if (!solve(a, b / scale, x)) {
            fit.fault = FitFault::Degenerate;
            return fit;
        }
        s = x(0);
        v = x.tail<3>();
    }
    // Through the centroids: ct = T + (1 + s) cs + v x cs.
    const Eigen::Vector3d c(cs.x, cs.y, cs.z);
    const Eigen::Vector3d t = Eigen::Vector3d(ct.x, ct.y, ct.z) - c - s * c - v.cross(c);
    HelmertParameters& p = fit.parameters;
    p.tx = t.x();
    p.ty = t.y();
    p.tz = t.z();
    const Eigen::Vector3d w = v / (1 + s) * (rotation == Rotation::PositionVector ? 1 : -1);
    p.rx = w.x() / kArcSecond;
    p.ry = w.y() / kArcSecond;
    p.rz = w.z() / kArcSecond;
    p.scalePpm = s * 1e6;

    const Helmert h(p);
    double sum = 0;
    fit.residuals.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Xyz f = h.forward(source[i]);
        const Xyz r{f.x - target[i].x, f.y - target[i].y, f.z - target[i].z};
        sum += r.x * r.x + r.y * r.y + r.z * r.z;
        fit.residuals.push_back(r);
    }
    fit.statistics = statistics(sum, static_cast<int>(3 * n) - (shiftsOnly ? 3 : 7));
    return fit;
}

PlaneFit fitPlane(const std::vector<Xyz>& source, const std::vector<Xyz>& target,
                  HeightSurface height) {
    PlaneFit fit;
    const std::size_t n = std::min(source.size(), target.size());
    if (n < 2) {
        fit.fault = FitFault::TooFewPoints;
        return fit;
    }
    if (!finite(source) || !finite(target)) {
        fit.fault = FitFault::NotFinite;
        return fit;
    }
    const Xyz c1 = centroid(source);
    const Xyz c2 = centroid(target);
    double spread = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = source[i].x - c1.x, w = source[i].y - c1.y;
        spread += u * u + w * w;
    }
    const double scale = std::sqrt(spread / static_cast<double>(n));
    if (!(scale > 0)) {
        fit.fault = FitFault::Degenerate;
        return fit;
    }
    const Eigen::Index rows = static_cast<Eigen::Index>(2 * n);
    Eigen::MatrixXd a(rows, 2);
    Eigen::VectorXd b(rows);
    for (std::size_t i = 0; i < n; ++i) {
        const double u = source[i].x - c1.x, w = source[i].y - c1.y;
        const Eigen::Index r = static_cast<Eigen::Index>(2 * i);
        a.row(r) << u / scale, -w / scale;
        a.row(r + 1) << w / scale, u / scale;
        b(r) = (target[i].x - c2.x) - u;
        b(r + 1) = (target[i].y - c2.y) - w;
    }
    Eigen::VectorXd x;
    if (!solve(a, b, x)) {
        fit.fault = FitFault::Degenerate;
        return fit;
    }
    const double alpha = x(0) / scale;  // (1 + m) cos t - 1
    const double beta = x(1) / scale;   // (1 + m) sin t
    const double ca = 1 + alpha;
    PlaneParameters& p = fit.parameters;
    p.dx = c2.x - ca * c1.x + beta * c1.y;
    p.dy = c2.y - beta * c1.x - ca * c1.y;
    p.rotation = std::atan2(beta, ca) / kArcSecond;
    const double q = 2 * alpha + alpha * alpha + beta * beta;  // (1 + m)^2 - 1
    p.scalePpm = q / (std::sqrt(1 + q) + 1) * 1e6;

    if (height != HeightSurface::None) {
        const Eigen::Index k = height == HeightSurface::Plane ? 3 : 6;
        if (n < static_cast<std::size_t>(k)) {
            fit.heightFault = true;
            fit.fault = FitFault::TooFewPoints;
            return fit;
        }
        HeightFit& hf = p.height;
        hf.surface = height;
        hf.x0 = c1.x;
        hf.y0 = c1.y;
        Eigen::MatrixXd ha(static_cast<Eigen::Index>(n), k);
        Eigen::VectorXd hb(static_cast<Eigen::Index>(n));
        // Columns in units of the spread, so that they are of one magnitude.
        const double unit = scale / 1000;
        for (std::size_t i = 0; i < n; ++i) {
            const double u = (source[i].x - c1.x) / 1000 / unit;
            const double w = (source[i].y - c1.y) / 1000 / unit;
            const Eigen::Index r = static_cast<Eigen::Index>(i);
            ha(r, 0) = 1;
            ha(r, 1) = u;
            ha(r, 2) = w;
            if (k == 6) {
                ha(r, 3) = u * u;
                ha(r, 4) = u * w;
                ha(r, 5) = w * w;
            }
            hb(r) = target[i].z - source[i].z;
        }
        Eigen::VectorXd hc;
        if (!solve(ha, hb, hc)) {
            fit.heightFault = true;
            fit.fault = FitFault::Degenerate;
            return fit;
        }
        hf.c[0] = hc(0);
        hf.c[1] = hc(1) / unit;
        hf.c[2] = hc(2) / unit;
        if (k == 6) {
            hf.c[3] = hc(3) / (unit * unit);
            hf.c[4] = hc(4) / (unit * unit);
            hf.c[5] = hc(5) / (unit * unit);
        }
    }

    const PlaneSimilarity sim(p);
    double sum = 0, heightSum = 0;
    fit.residuals.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        double x1 = source[i].x, y1 = source[i].y, h1 = source[i].z;
        sim.forward(x1, y1, h1);
        const Xyz r{x1 - target[i].x, y1 - target[i].y,
                    height == HeightSurface::None ? 0 : h1 - target[i].z};
        sum += r.x * r.x + r.y * r.y;
        heightSum += r.z * r.z;
        fit.residuals.push_back(r);
    }
    fit.statistics = statistics(sum, static_cast<int>(2 * n) - 4);
    if (height != HeightSurface::None)
        fit.heightStatistics =
            statistics(heightSum, static_cast<int>(n) - (height == HeightSurface::Plane ? 3 : 6));
    return fit;
}

}  // namespace hc
