#pragma once
// The sphere test case's panels, built as the session builds them, for tests.

#include <cmath>

#include "core/model_state.h"
#include "geometry/body_of_revolution.h"
#include "geometry/panels.h"

namespace tarvenol::testing {

inline ModelState StartedState() {
  ModelState s;
  s.PI = std::atan(1.0) * 4;
  s.TwoPI = 2 * s.PI;
  s.FourPI = 4 * s.PI;
  s.OutFile = "Tarvenol.txt";
  return s;
}

inline ModelState SphereState(double ni, double nj) {
  ModelState s = StartedState();
  s.NI = ni;
  s.NI1 = ni + 1;
  s.NJ = nj;
  s.NJ1 = nj + 1;
  BodyWork body;
  BuildBodyGeometry(s, body, BodyKind::Sphere);
  BuildPanels(s);
  s.ShowPanels = true;
  s.GeometryReady = true;
  return s;
}

}  // namespace tarvenol::testing
