#include "geometry/body_of_revolution.h"

#include <cmath>

#include "core/memory.h"
#include "geometry/body_file.h"

namespace tarvenol {
namespace {

// Doubles held per panel by the geometry and the view, twice over while a new geometry is
// built beside the one in use.
constexpr double kGeometryBytesPerPanel = 2 * 64 * sizeof(double);

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
  if (kind == BodyKind::Sphere) {
    SphereProfile(s, w);
  } else {
    ReadBodyFile(s, w);
  }
  // Known now that the profile has its count: refused before any grid is made.
  RequireMemory((s.NI + 2) * (s.NJ + 2) * kGeometryBytesPerPanel, "This geometry");

  const int ni1 = LoopEnd(s.NI1);
  const int nj1 = LoopEnd(s.NJ1);
  w.Phi = Array1(ArrayLimit(s.NJ1));
  const double dPhi = (s.PI * 2) / s.NJ;
  for (int j = 1; j <= nj1; ++j) w.Phi(j) = dPhi * (j - 1) + (-s.PI / 2);

  s.xB = Array2(ArrayLimit(s.NI1), ArrayLimit(s.NJ1));
  s.yB = Array2(ArrayLimit(s.NI1), ArrayLimit(s.NJ1));
  s.zB = Array2(ArrayLimit(s.NI1), ArrayLimit(s.NJ1));
  for (int i = 1; i <= ni1; ++i) {
    for (int j = 1; j <= nj1; ++j) {
      s.xB(i, j) = w.xI(i);
      s.yB(i, j) = std::cos(w.Phi(j)) * w.rI(i);
      s.zB(i, j) = std::sin(w.Phi(j)) * w.rI(i);
    }
  }
}

}  // namespace tarvenol
