#pragma once
// Where a point lies against the panelled body, and the body's section by the plane of the
// stream. Between two meridians the panels are plane trapezoids whose points at azimuth phi lie
// at g(phi) times the profile's radius, g = cos(dPhi / 2) / cos(phi - middle of the two): the
// half-plane at azimuth phi cuts the panelled body along the profile scaled by g. So a point is
// inside when it lies inside the profile, its distance from the axis divided by g.

#include <array>
#include <vector>

#include "core/model_state.h"
#include "geometry/body_of_revolution.h"

namespace tarvenol {

using Point2 = std::array<double, 2>;

// Points nearer the surface than this share of the body's size are taken as on it: there the
// velocity of the panels' sources is that of their edges, not of the flow.
inline constexpr double kSurfaceClearance = 1e-3;

class BodyShape {
 public:
  // The profile xI, rI (1..NI1) and meridians Phi (1..NJ1) of body, as s counts them.
  BodyShape(const ModelState& s, const BodyWork& body);

  enum class Place { Outside, Inside, OnSurface };
  Place Where(double x, double y, double z) const;

  double xLow() const { return xLow_; }
  double xHigh() const { return xHigh_; }
  double rMax() const { return rMax_; }
  // The larger of the length and the diameter.
  double Size() const { return size_; }
  // Within this of the surface a point counts as on it.
  double Clearance() const { return kSurfaceClearance * size_; }

  // The section by the plane z = 0: the profile at y >= 0 from nose to tail, then at y <= 0
  // back to the nose.
  std::vector<Point2> Section() const;

 private:
  // g at azimuth phi.
  double Scale(double phi) const;

  std::vector<double> x_, r_;
  double phi1_ = 0, dPhi_ = 0;
  int nj_ = 0;
  double xLow_ = 0, xHigh_ = 0, rMax_ = 0, size_ = 0;
};

}  // namespace tarvenol
