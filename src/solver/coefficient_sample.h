#pragma once
// The influence coefficients of a sample of panel pairs spread over the body, for what depends
// on the whole matrices (the size of their report) to be known without building them.

#include <vector>

#include "core/model_state.h"

namespace tarvenol {

// Field panels of rings spread along the body (by the body's symmetry every panel of a ring
// has the same coefficients, in another order), against source panels spread over all of it.
struct CoefficientSample {
  std::vector<double> Vn, Vu, Vv;     // one value of each matrix per pair
  std::vector<double> rightHandSide;  // of the axial stream, one per field panel sampled
  double pairsPerValue = 0;           // NPan^2 / pairs sampled
  double rowsPerValue = 0;            // NPan / field panels sampled
};

// At most mostPairs pairs; every pair where the body has no more; none without panels.
CoefficientSample SampleInfluenceCoefficients(const ModelState& s, int mostPairs);

}  // namespace tarvenol
