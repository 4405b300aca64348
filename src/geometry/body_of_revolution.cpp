#include "geometry/body_of_revolution.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/counts.h"
#include "core/memory.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "geometry/body_file.h"
#include "geometry/panels.h"

namespace tarvenol {
namespace {

// Doubles held per panel by the geometry and the view, twice over while a new geometry is
// built beside the one in use.
constexpr double kGeometryBytesPerPanel = 2.0 * 64 * sizeof(double);

// The panel arithmetic multiplies up to four lengths together: bodies whose size lies within
// these bounds keep every such product, down to the smallest panel it accepts, far from the
// overflow and the underflow of a double.
constexpr double kLargestSize = 1e30;
constexpr double kSmallestSize = 1e-30;

// Refuses a profile, named as profile, whose size the panel arithmetic cannot take.
void RequireSize(const ModelState& s, const BodyWork& w, const std::string& profile) {
  double size = 0;
  for (int i = 1; i <= LoopEnd(s.NI1); ++i) {
    size = std::max({size, std::fabs(w.xI(i)), std::fabs(w.rI(i))});
  }
  if (size > kLargestSize || size < kSmallestSize) {
    throw ProgramError("The largest coordinate of " + profile + " is " + ShownNumber(size, 3) +
                       ", too " + (size > kLargestSize ? "large" : "small") +
                       " for the panel arithmetic: scale the profile so that its largest "
                       "coordinate lies between " +
                       ShownNumber(kSmallestSize, 3) + " and " + ShownNumber(kLargestSize, 3) +
                       ".");
  }
}

// Known now that the profile has its count: refused before any grid is made.
void RevolveSized(ModelState& s, BodyWork& w, Progress& progress) {
  RequireMemory((s.NI + 2) * (s.NJ + 2) * kGeometryBytesPerPanel, "This geometry");
  RevolveProfile(s, w, progress);
}

}  // namespace

void SphereProfile(ModelState& s, BodyWork& w) {
  w.xI = Array1(ArrayLimit(s.NI1));
  w.rI = Array1(ArrayLimit(s.NI1));
  const double R = 0.5;
  const double dTheta = s.PI / s.NI;
  for (int i = 1; i <= LoopEnd(s.NI1); ++i) {
    const double theta = s.PI - dTheta * (i - 1);
    w.xI(i) = (std::cos(theta) + 1) * R;
    w.rI(i) = std::sin(theta) * R;
  }
}

void BuildBodyGeometry(ModelState& s, BodyWork& w, BodyKind kind) {
  IgnoredProgress unwatched;
  BuildBodyGeometry(s, w, kind, unwatched);
}

void BuildBodyGeometry(ModelState& s, BodyWork& w, BodyKind kind, Progress& progress) {
  w.kind = kind;
  if (kind == BodyKind::Sphere) {
    SphereProfile(s, w);
  } else {
    ReadBodyFile(s, w, progress);
    RequireSize(s, w, "the profile in " + ShownPath(s.BodyFile));
  }
  RevolveSized(s, w, progress);
}

void BuildGivenProfile(ModelState& s, BodyWork& w, const std::vector<double>& x,
                       const std::vector<double>& r, const std::string& name) {
  const std::string profile = "The profile " + ShownPath(name);
  const auto n = static_cast<double>(x.size());
  if (x.size() != r.size()) {
    throw ProgramError(profile + " has " + std::to_string(x.size()) + " values of x but " +
                       std::to_string(r.size()) + " of r: each point needs both.");
  }
  if (!IsWholeCount(n, kMinNI + 1, kMaxBodyPoints)) {
    throw ProgramError(profile + " has " + std::to_string(x.size()) +
                       " points: a profile has from " +
                       std::to_string(static_cast<long>(kMinNI + 1)) + " to " +
                       std::to_string(static_cast<long>(kMaxBodyPoints)) + ".");
  }
  for (std::size_t k = 0; k < x.size(); ++k) {
    for (const auto& [value, coordinate] : {std::pair{x[k], "x"}, std::pair{r[k], "r"}}) {
      if (std::isfinite(value)) continue;
      throw ProgramError(profile + " holds " + ShownNumber(value, 3) + " as " + coordinate +
                         " of point " + std::to_string(k + 1) + " of " + std::to_string(x.size()) +
                         ": every coordinate must be a finite number.");
    }
  }
  s.BodyFile = name;
  s.NI1 = n;
  s.NI = n - 1;
  w.kind = BodyKind::GivenBody;
  w.xI = Array1(ArrayLimit(s.NI1));
  w.rI = Array1(ArrayLimit(s.NI1));
  for (std::size_t k = 1; k <= x.size(); ++k) {
    w.xI(k) = x[k - 1];
    w.rI(k) = r[k - 1];
  }
  RequireSize(s, w, "the profile " + ShownPath(name));
  IgnoredProgress unwatched;
  RevolveSized(s, w, unwatched);
}

void RevolveProfile(ModelState& s, BodyWork& w) {
  IgnoredProgress unwatched;
  RevolveProfile(s, w, unwatched);
}

void RevolveProfile(ModelState& s, BodyWork& w, Progress& progress) {
  const int ni1 = LoopEnd(s.NI1);
  const int nj1 = LoopEnd(s.NJ1);
  w.Phi = Array1(ArrayLimit(s.NJ1));
  const double dPhi = (s.PI * 2) / s.NJ;
  for (int j = 1; j <= nj1; ++j) w.Phi(j) = dPhi * (j - 1) + (-s.PI / 2);

  s.xB = Array2(ArrayLimit(s.NI1), ArrayLimit(s.NJ1));
  s.yB = Array2(ArrayLimit(s.NI1), ArrayLimit(s.NJ1));
  s.zB = Array2(ArrayLimit(s.NI1), ArrayLimit(s.NJ1));
  ProgressClock clock;
  for (int i = 1; i <= ni1; ++i) {
    clock.Tick(progress, Stage::Geometry, 0.25 + 0.25 * i / ni1);
    for (int j = 1; j <= nj1; ++j) {
      s.xB(i, j) = w.xI(i);
      s.yB(i, j) = std::cos(w.Phi(j)) * w.rI(i);
      s.zB(i, j) = std::sin(w.Phi(j)) * w.rI(i);
    }
  }
}

ModelState CoarserGeometry(const ModelState& s, const BodyWork& w) {
  const bool sphere = w.kind == BodyKind::Sphere;
  if (std::floor(s.NJ / 2) < kMinNJ || (sphere && std::floor(s.NI / 2) < kMinNI)) {
    throw ProgramError(
        std::string("A second solution at half the panels around") + (sphere ? " and along" : "") +
        " needs NJ of at least " + std::to_string(static_cast<int>(2 * kMinNJ)) +
        (sphere ? " and NI of at least " + std::to_string(static_cast<int>(2 * kMinNI))
                : std::string()) +
        ".");
  }
  ModelState coarse;
  coarse.PI = s.PI;
  coarse.TwoPI = s.TwoPI;
  coarse.FourPI = s.FourPI;
  coarse.NJ = std::floor(s.NJ / 2);
  coarse.NJ1 = coarse.NJ + 1;
  BodyWork body;
  body.kind = w.kind;
  if (sphere) {
    coarse.NI = std::floor(s.NI / 2);
    coarse.NI1 = coarse.NI + 1;
    SphereProfile(coarse, body);
  } else {
    coarse.NI = s.NI;
    coarse.NI1 = s.NI1;
    body.xI = w.xI;
    body.rI = w.rI;
  }
  RevolveProfile(coarse, body);
  BuildPanels(coarse);
  coarse.GeometryReady = true;
  return coarse;
}

}  // namespace tarvenol
