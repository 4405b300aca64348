#include "geometry/profile_checks.h"

#include <algorithm>
#include <cmath>

#include "core/shown_text.h"

namespace tarvenol {
namespace {

// A turn sharper than this, in degrees, between the panels before and after a point folds them
// onto each other: records out of order, or a profile that turns back on itself. The example
// bodies turn by 17 degrees at most, a flat base by 90.
constexpr double kFoldDegrees = 150;

// Neighbouring panels along the profile that differ in length by more than this factor: on a
// sphere of 20 panels the largest error of 1 - Cp beside them grows from 0.02 (even spacing) to
// 0.3 at this ratio, and to 3 where a point lies a hair's breadth from another. The example
// bodies have a ratio of 7.6 at most.
constexpr double kLengthRatio = 10;

}  // namespace

std::vector<std::string> ProfileWarnings(const ModelState& s, const BodyWork& w) {
  std::vector<std::string> warnings;
  const int n = LoopEnd(s.NI1);
  const std::string profile = "The profile of " + ShownPath(s.BodyFile);
  double size = 0;
  for (int k = 1; k <= n; ++k) size = std::max({size, std::fabs(w.xI(k)), std::fabs(w.rI(k))});

  if (w.xI(n) < w.xI(1)) {
    warnings.push_back(profile + " runs from tail to nose (x goes from " + ShownNumber(w.xI(1), 6) +
                       " to " + ShownNumber(w.xI(n), 6) +
                       "): its panels face into the body, so the results do not describe the "
                       "flow around it. List the points from nose to tail.");
  }
  for (const auto& [k, end] : {std::pair{1, "first"}, std::pair{n, "last"}}) {
    if (std::fabs(w.rI(k)) > kOnAxis * size) {
      warnings.push_back(profile + " does not end on the axis: its " + end + " point has r = " +
                         ShownNumber(w.rI(k), 6) + ", so the body is open there.");
    }
  }
  const double pi = std::atan(1.0) * 4;
  bool folded = false, uneven = false;
  for (int k = 2; k < n; ++k) {
    const double ax = w.xI(k) - w.xI(k - 1), ar = w.rI(k) - w.rI(k - 1);
    const double bx = w.xI(k + 1) - w.xI(k), br = w.rI(k + 1) - w.rI(k);
    const double a = std::hypot(ax, ar), b = std::hypot(bx, br);
    // A point repeated is refused with the panels it makes.
    if (a == 0 || b == 0) continue;
    const double turn = std::acos(std::clamp((ax * bx + ar * br) / (a * b), -1.0, 1.0)) * 180 / pi;
    if (!folded && turn > kFoldDegrees) {
      folded = true;
      warnings.push_back(profile + " turns back on itself at point " + std::to_string(k) + " (by " +
                         ShownNumber(turn, 6) +
                         " degrees): the panels there lie on each other, so the results do not "
                         "describe the flow around a body. Are the points in the order of the "
                         "profile?");
    }
    if (!uneven && std::max(a / b, b / a) > kLengthRatio) {
      uneven = true;
      warnings.push_back(profile + " has panels of lengths " + ShownNumber(a, 6) + " and " +
                         ShownNumber(b, 6) + " side by side at point " + std::to_string(k) +
                         ", more than " + ShownNumber(kLengthRatio, 6) +
                         " times apart: the pressure near there is poor. Space the points "
                         "more evenly.");
    }
  }
  // Radii all of one sign give the same body, turned by 180 degrees about the axis, and the
  // same results to the bit; only a change of sign, off the axis, makes a surface that passes
  // through itself.
  int side = 0, last = 0;  // the sign of the radius, and where it was last seen off the axis
  for (int k = 1; k <= n; ++k) {
    if (std::fabs(w.rI(k)) <= kOnAxis * size) continue;
    const int sign = w.rI(k) > 0 ? 1 : -1;
    if (side != 0 && sign != side) {
      warnings.push_back(profile + " crosses the axis between points " + std::to_string(last) +
                         " and " + std::to_string(k) + " (r goes from " +
                         ShownNumber(w.rI(last), 6) + " to " + ShownNumber(w.rI(k), 6) +
                         "): its surface passes through itself there, so the results do not "
                         "describe the flow around a body.");
      break;
    }
    side = sign;
    last = k;
  }
  return warnings;
}

}  // namespace tarvenol
