#pragma once
// The edge of the boundary layer as smooth functions of the arc length s, from the values at the
// stations of a meridian.
//
// Ue(s), r0(s) and x(s) are Boost.Math makima splines through the stations (C1, no overshoot
// where the velocity levels off). The pressure gradient dUe/ds is not the spline's slope: the
// panel method's velocities carry errors from panel to panel that a derivative multiplies by
// the number of panels. It is a least-squares derivative over a window of 2 kHalfWindow + 1
// stations (Boost.Math's discrete_lanczos_derivative: the slope at the middle of the
// least-squares polynomial of degree kFitDegree in the station number, one-sided windows at the
// ends) of Ue and of s, taken against the station number,
//   dUe/ds = (dUe/di) / (ds/di),
// so that the window follows the panels where they crowd; a polynomial of that degree in s, on
// stations evenly spaced, comes out exactly. The start is left out of the windows (the first
// panel's middle lies half a panel from it, out of step with the others); there the slope is
// continued straight from the next two stations. The derivatives are joined by a makima spline
// too.

#include <algorithm>
#include <optional>
#include <vector>

#include <boost/math/interpolators/makima.hpp>

#include "boundary_layer/meridian.h"

namespace tarvenol {

inline constexpr std::size_t kHalfWindow = 4;
inline constexpr std::size_t kFitDegree = 3;
// Stations after the start that the windows need.
inline constexpr std::size_t kLeastStations = 2 * kHalfWindow + 2;

class EdgeFlow {
 public:
  // Refuses, with a ProgramError, stations that are too few, not numbers, or out of order, and
  // an edge velocity or radius that is negative, or zero after the start.
  explicit EdgeFlow(const Meridian& m);

  double Begin() const { return begin_; }
  double End() const { return end_; }
  double Ue(double s) const { return Ue_(Clamp(s)); }
  double dUeds(double s) const { return dUeds_(Clamp(s)); }
  double r0(double s) const { return r0_(Clamp(s)); }
  double x(double s) const { return x_(Clamp(s)); }
  // The cosine of the wall's angle to the axis.
  double dxds(double s) const { return x_.prime(Clamp(s)); }
  // How fast the distance from the axis grows along the wall's normal: that cosine; 0 for a
  // planar layer, and where the wall faces the axis (a profile that turns back), whose layer is
  // taken thin.
  double drdn(double s) const { return planar_ ? 0 : std::max(0.0, dxds(s)); }

 private:
  using Spline = boost::math::interpolators::makima<std::vector<double>>;
  EdgeFlow(const Meridian& m, std::vector<double> slope);
  double Clamp(double s) const { return s < begin_ ? begin_ : s > end_ ? end_ : s; }

  double begin_ = 0, end_ = 0;
  bool planar_ = false;
  Spline Ue_, dUeds_, r0_, x_;
};

}  // namespace tarvenol
