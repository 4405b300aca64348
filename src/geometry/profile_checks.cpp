#include "geometry/profile_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvenol {
namespace {

// An end closer to the axis than this, relative to the body's size, lies on it.
constexpr double kOnAxis = 1e-9;

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

}  // namespace

std::vector<std::string> ProfileWarnings(const ModelState& s, const BodyWork& w) {
  std::vector<std::string> warnings;
  const int n = LoopEnd(s.NI1);
  const std::string profile = "The profile of " + s.BodyFile;
  double size = 0;
  for (int k = 1; k <= n; ++k) size = std::max({size, std::fabs(w.xI(k)), std::fabs(w.rI(k))});

  if (w.xI(n) < w.xI(1)) {
    warnings.push_back(profile + " runs from tail to nose (x goes from " + Number(w.xI(1)) +
                       " to " + Number(w.xI(n)) +
                       "): its panels face into the body, so the results do not describe the "
                       "flow around it. List the points from nose to tail.");
  }
  for (const auto& [k, end] : {std::pair{1, "first"}, std::pair{n, "last"}}) {
    if (std::fabs(w.rI(k)) > kOnAxis * size) {
      warnings.push_back(profile + " does not end on the axis: its " + end +
                         " point has r = " + Number(w.rI(k)) + ", so the body is open there.");
    }
  }
  for (int k = 1; k <= n; ++k) {
    if (w.rI(k) < -kOnAxis * size) {
      warnings.push_back(profile + " has a negative radius at point " + std::to_string(k) +
                         " (r = " + Number(w.rI(k)) + "): the panels there face inwards.");
      break;
    }
  }
  return warnings;
}

}  // namespace tarvenol
