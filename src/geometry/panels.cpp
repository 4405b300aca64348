#include "geometry/panels.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/program_error.h"

namespace tarvenol {
namespace {

// Below these an edge counts as having no length (relative to the body's size) and three
// corners as lying on one line (sine of the angle between first edge and first diagonal).
constexpr double kVanishingEdge = 1e-12;
constexpr double kVanishingSine = 1e-12;

// Where the build stands, told a ring at a time: each of the five passes a fifth of the stage.
class Rings {
 public:
  Rings(Progress& progress, int ni) : progress_(progress), ni_(ni) {}
  void Done(int pass, int i) {
    clock_.Tick(progress_, Stage::Geometry, 0.5 + (pass + static_cast<double>(i) / ni_) / 10);
  }

 private:
  Progress& progress_;
  ProgressClock clock_;
  int ni_;
};

void CountCorners(ModelState& s, int ni, int nj) {
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) {
      s.NCor(i, j) = 4;
      if (i == 1 || i == ni) s.NCor(i, j) = 3;
    }
  }
}

void CopyCorner(ModelState& s, int i, int j, int k, int gi, int gj) {
  s.xCor(i, j, k) = s.xB(gi, gj);
  s.yCor(i, j, k) = s.yB(gi, gj);
  s.zCor(i, j, k) = s.zB(gi, gj);
}

void TakeCorners(ModelState& s, int ni, int nj, Rings& rings) {
  for (int j = 1; j <= nj; ++j) {
    for (int i = 1; i <= ni; ++i) {
      rings.Done(0, i);
      CopyCorner(s, i, j, 1, i, j);
      CopyCorner(s, i, j, 2, i + 1, j);
      CopyCorner(s, i, j, 3, i + 1, j + 1);
      CopyCorner(s, i, j, 4, i, j + 1);
    }
    // The last row is a triangle with the tail point in the middle.
    CopyCorner(s, ni, j, 3, ni, j + 1);
  }
}

void ControlPoints(ModelState& s, int ni, int nj, Rings& rings) {
  for (int i = 1; i <= ni; ++i) {
    rings.Done(1, i);
    for (int j = 1; j <= nj; ++j) {
      double x = 0, y = 0, z = 0;
      for (int k = 1; k <= s.NCor(i, j); ++k) {
        x += s.xCor(i, j, k);
        y += s.yCor(i, j, k);
        z += s.zCor(i, j, k);
      }
      s.xC(i, j) = x / s.NCor(i, j);
      s.yC(i, j) = y / s.NCor(i, j);
      s.zC(i, j) = z / s.NCor(i, j);
    }
  }
}

double BodySize(const ModelState& s, int ni, int nj, Rings& rings) {
  double size = 0;
  for (int i = 1; i <= ni; ++i) {
    rings.Done(2, i);
    for (int j = 1; j <= nj; ++j) {
      for (int k = 1; k <= 4; ++k) {
        size = std::max({size, std::fabs(s.xCor(i, j, k)), std::fabs(s.yCor(i, j, k)),
                         std::fabs(s.zCor(i, j, k))});
      }
    }
  }
  return size;
}

[[noreturn]] void Degenerate(int i, int j, const char* why) {
  throw ProgramError("Panel (" + std::to_string(i) + ", " + std::to_string(j) + ") " + why +
                     ", so it has no panel axes: the profile repeats a point there, or meets the "
                     "axis between its ends.");
}

void PanelAxes(ModelState& s, int ni, int nj, Rings& rings) {
  const double size = BodySize(s, ni, nj, rings);
  for (int i = 1; i <= ni; ++i) {
    rings.Done(3, i);
    for (int j = 1; j <= nj; ++j) {
      const double e1x = s.xCor(i, j, 2) - s.xCor(i, j, 1);
      const double e1y = s.yCor(i, j, 2) - s.yCor(i, j, 1);
      const double e1z = s.zCor(i, j, 2) - s.zCor(i, j, 1);
      const double e2x = s.xCor(i, j, 3) - s.xCor(i, j, 1);
      const double e2y = s.yCor(i, j, 3) - s.yCor(i, j, 1);
      const double e2z = s.zCor(i, j, 3) - s.zCor(i, j, 1);
      const double nx = e1z * e2y - e1y * e2z;
      const double ny = e1x * e2z - e1z * e2x;
      const double nz = e1y * e2x - e1x * e2y;
      const double nLength = std::sqrt(nx * nx + ny * ny + nz * nz);
      const double e1Length = std::sqrt(e1x * e1x + e1y * e1y + e1z * e1z);
      const double e2Length = std::sqrt(e2x * e2x + e2y * e2y + e2z * e2z);

      if (!(e1Length > kVanishingEdge * size)) Degenerate(i, j, "has a first edge of no length");
      if (!(e2Length > kVanishingEdge * size) ||
          !(nLength > kVanishingSine * e1Length * e2Length)) {
        Degenerate(i, j, "has its corners 1, 2 and 3 on one line");
      }

      s.ZtaX(i, j) = nx / nLength;
      s.ZtaY(i, j) = ny / nLength;
      s.ZtaZ(i, j) = nz / nLength;
      s.XsiX(i, j) = e1x / e1Length;
      s.XsiY(i, j) = e1y / e1Length;
      s.XsiZ(i, j) = e1z / e1Length;
      s.ItaX(i, j) = s.ZtaY(i, j) * s.XsiZ(i, j) - s.ZtaZ(i, j) * s.XsiY(i, j);
      s.ItaY(i, j) = s.ZtaZ(i, j) * s.XsiX(i, j) - s.ZtaX(i, j) * s.XsiZ(i, j);
      s.ItaZ(i, j) = s.ZtaX(i, j) * s.XsiY(i, j) - s.ZtaY(i, j) * s.XsiX(i, j);
    }
  }
}

void CornersInPanelAxes(ModelState& s, int ni, int nj, Rings& rings) {
  for (int i = 1; i <= ni; ++i) {
    rings.Done(4, i);
    for (int j = 1; j <= nj; ++j) {
      for (int k = 1; k <= s.NCor(i, j); ++k) {
        const double dx = s.xCor(i, j, k) - s.xC(i, j);
        const double dy = s.yCor(i, j, k) - s.yC(i, j);
        const double dz = s.zCor(i, j, k) - s.zC(i, j);
        s.Xsi(i, j, k) = s.XsiX(i, j) * dx + s.XsiY(i, j) * dy + s.XsiZ(i, j) * dz;
        s.Ita(i, j, k) = s.ItaX(i, j) * dx + s.ItaY(i, j) * dy + s.ItaZ(i, j) * dz;
      }
    }
  }
}

}  // namespace

void BuildPanels(ModelState& s) {
  IgnoredProgress unwatched;
  BuildPanels(s, unwatched);
}

void BuildPanels(ModelState& s, Progress& progress) {
  const std::size_t niLimit = ArrayLimit(s.NI);
  const std::size_t njLimit = ArrayLimit(s.NJ);
  s.NCor = DenseArray<std::int16_t, 2>(niLimit, njLimit);
  for (Array2* a : {&s.xC, &s.yC, &s.zC, &s.XsiX, &s.XsiY, &s.XsiZ, &s.ItaX, &s.ItaY, &s.ItaZ,
                    &s.ZtaX, &s.ZtaY, &s.ZtaZ}) {
    *a = Array2(niLimit, njLimit);
  }
  s.Xsi = Array3(niLimit, njLimit, 4);
  s.Ita = Array3(niLimit, njLimit, 4);

  const int ni = LoopEnd(s.NI);
  const int nj = LoopEnd(s.NJ);
  CountCorners(s, ni, nj);
  for (Array3* a : {&s.xCor, &s.yCor, &s.zCor}) {
    *a = Array3(ArrayLimit(s.NI1), ArrayLimit(s.NJ1), 4);
  }
  Rings rings(progress, ni);
  TakeCorners(s, ni, nj, rings);
  ControlPoints(s, ni, nj, rings);
  PanelAxes(s, ni, nj, rings);
  CornersInPanelAxes(s, ni, nj, rings);
}

}  // namespace tarvenol
