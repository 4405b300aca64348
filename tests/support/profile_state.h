#pragma once
// A body from a profile, panelled and solved as the program does it, for tests.

#include <cstddef>

#include "geometry/body_file.h"
#include "geometry/body_of_revolution.h"
#include "geometry/panels.h"
#include "solver/symmetric_solve.h"
#include "sphere_state.h"

namespace tarvenol::testing {

inline ModelState ProfileState(const BodyProfile& p, int nj) {
  ModelState s = StartedState();
  const std::size_t n = p.x.size();
  s.NI = static_cast<double>(n - 1);
  s.NI1 = static_cast<double>(n);
  s.NJ = nj;
  s.NJ1 = nj + 1;
  BodyWork body;
  body.kind = BodyKind::GivenBody;
  body.xI = Array1(n);
  body.rI = Array1(n);
  for (std::size_t k = 1; k <= n; ++k) {
    body.xI(k) = p.x[k - 1];
    body.rI(k) = p.r[k - 1];
  }
  RevolveProfile(s, body);
  BuildPanels(s);
  s.GeometryReady = true;
  return s;
}

// The axial stream alone, the one the boundary layer needs.
inline HessSolution AxialSolution(const ModelState& s) {
  IgnoredProgress unseen;
  return SymmetricSolve(s, {OnsetFlow{{1, 0, 0}, {}, {}}}, unseen);
}

// The sphere of diameter 1 as the program makes it, n panels along.
inline BodyProfile SphereProfileOf(int n) {
  ModelState s = StartedState();
  s.NI = n;
  s.NI1 = n + 1;
  BodyWork w;
  SphereProfile(s, w);
  BodyProfile p;
  for (int i = 1; i <= n + 1; ++i) {
    p.x.push_back(w.xI(i));
    p.r.push_back(w.rI(i));
  }
  return p;
}

}  // namespace tarvenol::testing
