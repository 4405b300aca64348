#pragma once
// What the boundary layer is computed from: the meridian of the body, with the velocity of the
// potential flow at the edge of the layer, and the body's measures for the drag coefficients.
// Lengths are in the body's units, velocities in units of the stream's speed U.

#include <vector>

namespace tarvenol {

// Stations along the meridian, the first the start of the layer: the forward stagnation point
// (Ue = 0, r0 = 0 on a body of revolution) or a leading edge. A planar layer (a flat plate, a
// two-dimensional stagnation point) has r0 the same at every station, and is marked planar: its
// thickness adds nothing to the radius.
struct Meridian {
  std::vector<double> s;   // arc length from the start, increasing
  std::vector<double> x;   // axial position
  std::vector<double> r0;  // distance of the wall from the axis
  std::vector<double> Ue;  // edge velocity, 0 only at the start
  bool planar = false;
};

struct BodyMeasures {
  double length = 0;  // L, on which the Reynolds number is taken
  double xNose = 0;   // x of the nose, where x/L = 0
  double wettedArea = 0;
  double volume = 0;
  double frontalArea = 0;  // of the widest section
};

// The measures of the body whose profile, nose to tail, is the points x, r, as the panels'
// meridian gives it: cone frusta between neighbouring points.
BodyMeasures MeasuresOfProfile(const std::vector<double>& x, const std::vector<double>& r);

}  // namespace tarvenol
