#include "geometry/body_shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvenol {
namespace {

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

BodyShape::BodyShape(const ModelState& s, const BodyWork& body) : nj_(LoopEnd(s.NJ)) {
  const int n = LoopEnd(s.NI1);
  for (int i = 1; i <= n; ++i) {
    x_.push_back(body.xI(i));
    r_.push_back(std::fabs(body.rI(i)));
  }
  phi1_ = body.Phi(1);
  dPhi_ = 2 * std::numbers::pi / nj_;
  xLow_ = *std::min_element(x_.begin(), x_.end());
  xHigh_ = *std::max_element(x_.begin(), x_.end());
  rMax_ = *std::max_element(r_.begin(), r_.end());
  size_ = std::max(xHigh_ - xLow_, 2 * rMax_);
}

double BodyShape::Scale(double phi) const {
  const double sectors = std::floor((phi - phi1_) / dPhi_);
  const double middle = phi1_ + (sectors + 0.5) * dPhi_;
  return std::cos(dPhi_ / 2) / std::cos(phi - middle);
}

BodyShape::Place BodyShape::Where(double x, double y, double z) const {
  const double radius = std::hypot(y, z);
  const double py = radius > 0 ? radius / Scale(std::atan2(z, y)) : 0;
  const double px = x;
  // The profile closed along the axis; a ray from the point along +x crosses it an odd number
  // of times from inside.
  const std::size_t n = x_.size();
  bool inside = false;
  double distance = HUGE_VAL;
  auto crossing = [&](double ax, double ay, double bx, double by) {
    if ((ay > py) != (by > py) && px < ax + (py - ay) * (bx - ax) / (by - ay)) inside = !inside;
  };
  crossing(x_[n - 1], 0, x_[0], 0);
  crossing(x_[0], 0, x_[0], r_[0]);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    crossing(x_[i], r_[i], x_[i + 1], r_[i + 1]);
    distance = std::min(distance, SegmentDistance(px, py, x_[i], r_[i], x_[i + 1], r_[i + 1]));
  }
  crossing(x_[n - 1], r_[n - 1], x_[n - 1], 0);
  if (inside) return Place::Inside;
  return distance < Clearance() ? Place::OnSurface : Place::Outside;
}

std::vector<Point2> BodyShape::Section() const {
  const double upper = Scale(0), lower = Scale(std::numbers::pi);
  std::vector<Point2> section;
  for (std::size_t i = 0; i < x_.size(); ++i) section.push_back({x_[i], r_[i] * upper});
  for (std::size_t i = x_.size(); i-- > 0;) section.push_back({x_[i], -r_[i] * lower});
  return section;
}

}  // namespace tarvenol
