#pragma once
// Points fixed by intersection from known points and observed angles: forward
// intersection (two known points, the angles observed at both), side intersection (the
// angle at one known point and at the new point) and resection (three known points, two
// angles observed at the new point). Part of the theodolite window Form217 and of
// "hechuan-cli intersect".
//
// Input text, fields split by commas, known points first:
//   forward:  A,X,Y  B,X,Y  then per new point  P,α,β   α at A (angle B-A-P), β at B
//             (angle A-B-P); A, B, P run counterclockwise on the map (P lies to the left
//             of A→B).
//   side:     A,X,Y  B,X,Y  then  P,α,γ   α at A as above, γ at P (angle A-P-B).
//   resection: A,X,Y  B,X,Y  C,X,Y  then  P,α,β   α the clockwise angle at P from the
//             direction to A to that to B, β from B to C.
// Angles packed d.mmss; X north, Y east, metres. Blank lines and '#' lines are skipped.

#include <QString>
#include <QStringList>
#include <vector>

#include "engine/notice.h"
#include "survey/plan_sketch.h"

namespace hc {

enum class IntersectionKind { Forward, Side, Resection };

struct PlanePoint {
    double x = 0, y = 0;  // metres
};

// Forward intersection: angles in decimal degrees, at A and B, P to the left of A→B.
// Throws FieldError when α + β is not between 0 and 180 degrees.
PlanePoint forwardIntersection(const PlanePoint& a, const PlanePoint& b, double alpha, double beta);
// Resection: α from PA to PB, β from PB to PC, clockwise, decimal degrees. Throws
// FieldError when the point cannot be fixed (on the circle through A, B and C, or the
// angles give parallel rays).
PlanePoint resection(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c, double alpha,
                     double beta);

// How far a resected point lies from the circle through A, B and C, as a part of that
// circle's radius: 0 on the circle (the point cannot be fixed), small near it.
double dangerCircleRatio(const PlanePoint& a, const PlanePoint& b, const PlanePoint& c,
                         const PlanePoint& p);

// Weak geometry limits: the intersection angle at the new point should lie between these
// (degrees), and a resected point should lie farther than kDangerRatio of the radius from
// the danger circle.
inline constexpr double kWeakAngle = 30;
inline constexpr double kDangerRatio = 0.2;

struct IntersectionRun {
    QString output;
    Notices notices;  // input errors and weak-geometry warnings
    bool failed = false;
    // The known points (triangles, the first marked) and the fixed points, each joined
    // to the known points its angles were observed at or toward; empty when failed.
    PlanSketch sketch;
};
IntersectionRun runIntersection(const QString& input, IntersectionKind kind);

QString intersectionSample(IntersectionKind kind);

}  // namespace hc
