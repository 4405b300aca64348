#include "python/python_body.h"

#include "geometry/panel_outline.h"

namespace tarvenol {
namespace {

// [1..NI, 1..NJ, 0..2] of the three arrays x, y, z of a panel's point.
Array3 Gathered(const ModelState& s, const Array2& x, const Array2& y, const Array2& z) {
  const std::size_t ni = ArrayLimit(s.NI), nj = ArrayLimit(s.NJ);
  Array3 points(ni, nj, 2);
  for (std::size_t i = 1; i <= ni; ++i) {
    for (std::size_t j = 1; j <= nj; ++j) {
      points(i, j, 0) = x(i, j);
      points(i, j, 1) = y(i, j);
      points(i, j, 2) = z(i, j);
    }
  }
  return points;
}

}  // namespace

const Array3& PythonBody::ControlPoints() {
  const ModelState& s = study_.state;
  if (!controlPoints_) controlPoints_ = Gathered(s, s.xC, s.yC, s.zC);
  return *controlPoints_;
}

const Array3& PythonBody::Normals() {
  const ModelState& s = study_.state;
  if (!normals_) normals_ = Gathered(s, s.ZtaX, s.ZtaY, s.ZtaZ);
  return *normals_;
}

const Array3& PythonBody::Corners() {
  const ModelState& s = study_.state;
  if (!corners_) {
    const std::size_t ni = ArrayLimit(s.NI), nj = ArrayLimit(s.NJ);
    Array3 corners(ni, nj, 11);
    for (std::size_t i = 1; i <= ni; ++i) {
      for (std::size_t j = 1; j <= nj; ++j) {
        for (std::size_t k = 1; k <= 4; ++k) {
          corners(i, j, 3 * (k - 1)) = s.xCor(i, j, k);
          corners(i, j, 3 * (k - 1) + 1) = s.yCor(i, j, k);
          corners(i, j, 3 * (k - 1) + 2) = s.zCor(i, j, k);
        }
      }
    }
    corners_ = std::move(corners);
  }
  return *corners_;
}

const Array2& PythonBody::Areas() {
  const ModelState& s = study_.state;
  if (!areas_) {
    const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
    Array2 areas(ArrayLimit(s.NI), ArrayLimit(s.NJ));
    for (int i = 1; i <= ni; ++i) {
      for (int j = 1; j <= nj; ++j) areas(i, j) = OutlineArea(OutlineOfPanel(s, i, j));
    }
    areas_ = std::move(areas);
  }
  return *areas_;
}

}  // namespace tarvenol
