#pragma once
// Internal to the solver library: only its own files and its tests include it.
// Velocity induced by a plane panel carrying a source distribution of unit strength per unit
// area, in closed form: a logarithmic term per edge for the in-plane components and an angle
// term per edge for the normal one. Exact for a plane polygon, near or far; no state.
//
// The normal component is the solid angle under which the panel is seen, B - sum of the edges'
// angles A = atan(t), t = a |z| (r1 p2 - r2 p1) / D, with the turns of the report's arithmetic
// (a < 0, a == 0, D == 0, the point in the plane). That sum is sound except near the line of an
// edge beyond the panel, where the turns rest on signs that rounding decides: there
// r1 p2 - r2 p1 is the difference of two nearly equal products, and the test a == 0 adds pi
// where the edge's own angle tends to 0. The switch to the solid angle of Van Oosterom and
// Strackee (solver/solid_angle.h) lies exactly at the edges with both corners on one side of the
// foot of the point along the edge's line (p1 p2 >= 0) and either a == 0 or
// |r1 p2 - r2 p1| <= kEdgeLineTolerance (|r1 p2| + |r2 p1|), within kEdgeLineReach of the
// line: a point within about 1e-6 of its distance from the edge's line (the difference is about
// dist^2 d / (2 p^3) of its terms, d the edge's length, p the distance along the line). Control points of bodies with flat parts lie
// there: the panels of a flat base, of a cone or of a cylinder at small NJ lie in one plane, or
// put a control point in the plane through an edge normal to its panel. Those of the sphere and
// of the example bodies at NJ 8, 16 and 32 lie 3e-8 of the terms and more away, and keep every
// bit of the angle sum.

#include <cmath>

#include "core/model_state.h"
#include "geometry/panel_outline.h"

namespace tarvenol {

inline constexpr double kEdgeLineTolerance = 1e-12;
// Where the switch may lie at all, a test the vector loops make cheaply: the foot within 1e-4 of
// r1 + r2 of the edge's line. The tolerance above takes points outside it only along an edge
// more than 2e4 times shorter than their distance from it, and the angle sum's signs stay sound
// there up to 2e7 times.
inline constexpr double kEdgeLineReach = 1e-4;

[[gnu::always_inline]] inline bool NearAnEdgesLine(double a, double r1, double r2) {
  return std::fabs(a) <= kEdgeLineReach * (r1 + r2);
}

// Whether the angle sum is unsound at an edge: a the foot's distance from the edge's line,
// p1, p2 the corners' positions along it from the foot, r1, r2 their distances from the point.
[[gnu::always_inline]] inline bool OnAnEdgesLineBeyondIt(double a, double r1, double r2, double p1,
                                                         double p2) {
  if (!NearAnEdgesLine(a, r1, r2) || p1 * p2 < 0) return false;
  const double difference = r1 * p2 - r2 * p1;
  return a == 0 ||
         std::fabs(difference) <= kEdgeLineTolerance * (std::fabs(r1 * p2) + std::fabs(r2 * p1));
}

// (u, v, w) along Xsi, Ita, Zta at the field point (x, y, z) given in the panel's axes from
// its control point. Undefined for an edge of no length or a point on the outline.
void OutlineVelocity(const PanelOutline& p, double PI, double TwoPI, double FourPI, double x,
                     double y, double z, double& u, double& v, double& w);

// The same for panel (i, j) of the model state.
void SourcePanelVelocity(const ModelState& s, int i, int j, double x, double y, double z, double& u,
                         double& v, double& w);

}  // namespace tarvenol
