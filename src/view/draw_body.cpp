#include "view/draw_body.h"

#include <cmath>

namespace tarvenol {
namespace {

// An angle in degrees, as radians; one that gives no finite angle counts as 0 degrees, like a
// text of letters.
double Radians(const ModelState& s, double degrees) {
  const double radians = degrees * s.PI / 180;
  return std::isfinite(radians) ? radians : 0;
}

// Half the width of the visible square, 6 / ViewScale. A scale that is no positive number, or
// one so small that the square would be endless, draws at scale 1.
double HalfWidth(double ViewScale) {
  if (!(std::isfinite(ViewScale) && ViewScale > 0 && std::isfinite(6 / ViewScale))) {
    ViewScale = 1;
  }
  return 6 / ViewScale;
}

// Where a large picture stands, told a ring at a time.
class Rings {
 public:
  Rings(Progress& progress, int ni) : progress_(progress), ni_(ni) {}
  void Done(int i) { clock_.Tick(progress_, Stage::Picture, static_cast<double>(i) / ni_); }

 private:
  Progress& progress_;
  ProgressClock clock_;
  int ni_;
};

void RotateCorners(const ModelState& s, ViewWork& w, int ni, int nj, Rings& rings) {
  for (int i = 1; i <= ni; ++i) {
    rings.Done(i);
    for (int j = 1; j <= nj; ++j) {
      for (int k = 1; k <= s.NCor(i, j); ++k) {
        RotatePoint(w, s.xCor(i, j, k), s.yCor(i, j, k), s.zCor(i, j, k), w.xRot(i, j, k),
                    w.yRot(i, j, k), w.zRot(i, j, k));
      }
    }
  }
}

// Every control point moved out along its normal by its 1 - Cp, then turned.
void RotateTips(const ModelState& s, const Array2& OneMinusCp, ViewWork& w, int ni, int nj,
                Rings& rings) {
  for (int i = 1; i <= ni; ++i) {
    rings.Done(i);
    for (int j = 1; j <= nj; ++j) {
      const double xTip = s.xC(i, j) + OneMinusCp(i, j) * s.ZtaX(i, j);
      const double yTip = s.yC(i, j) + OneMinusCp(i, j) * s.ZtaY(i, j);
      const double zTip = s.zC(i, j) + OneMinusCp(i, j) * s.ZtaZ(i, j);
      RotatePoint(w, xTip, yTip, zTip, w.xTipRot(i, j), w.yTipRot(i, j), w.zTipRot(i, j));
    }
  }
}

struct Offsets {
  double xMid = 0, zMid = 0;
};

// Centres the turned corners: the middle of their x and z ranges, ranges that start at 0
// and so always hold the origin, moves to the middle of the picture.
Offsets CentreCorners(const ModelState& s, ViewWork& w, int ni, int nj, Rings& rings) {
  double xLow = 0, xHigh = 0, zLow = 0, zHigh = 0;
  for (int i = 1; i <= ni; ++i) {
    rings.Done(i);
    for (int j = 1; j <= nj; ++j) {
      for (int k = 1; k <= s.NCor(i, j); ++k) {
        const double x = w.xRot(i, j, k), z = w.zRot(i, j, k);
        if (x < xLow) xLow = x;
        if (x > xHigh) xHigh = x;
        if (z < zLow) zLow = z;
        if (z > zHigh) zHigh = z;
      }
    }
  }
  const Offsets mid{(xLow + xHigh) / 2, (zLow + zHigh) / 2};
  for (int i = 1; i <= ni; ++i) {
    rings.Done(i);
    for (int j = 1; j <= nj; ++j) {
      for (int k = 1; k <= s.NCor(i, j); ++k) {
        w.xRot(i, j, k) -= mid.xMid;
        w.zRot(i, j, k) -= mid.zMid;
      }
    }
  }
  return mid;
}

// Open outlines: the edge from the last corner back to the first is drawn by a neighbour.
void DrawPanels(const ModelState& s, const ViewWork& w, Canvas& pic, int ni, int nj, Rings& rings) {
  for (int i = 1; i <= ni; ++i) {
    rings.Done(i);
    for (int j = 1; j <= nj; ++j) {
      pic.PlotPoint(w.xRot(i, j, 1), w.zRot(i, j, 1));
      for (int k = 2; k <= s.NCor(i, j); ++k) pic.LineTo(w.xRot(i, j, k), w.zRot(i, j, k), kRed);
    }
  }
}

// The displaced control points joined into closed rings along each row, then meridian lines.
void DrawMesh(const ViewWork& w, Offsets mid, Canvas& pic, int ni, int nj, Rings& rings) {
  const auto line = [&](int i1, int j1, int i2, int j2) {
    pic.Line(w.xTipRot(i1, j1) - mid.xMid, w.zTipRot(i1, j1) - mid.zMid,
             w.xTipRot(i2, j2) - mid.xMid, w.zTipRot(i2, j2) - mid.zMid, kBlue);
  };
  for (int i = 1; i <= ni; ++i) {
    rings.Done(i);
    for (int j = 2; j <= nj; ++j) line(i, j - 1, i, j);
    if (nj >= 1) line(i, nj, i, 1);
  }
  for (int j = 1; j <= nj; ++j) {
    for (int i = 2; i <= ni; ++i) {
      rings.Done(i);
      line(i - 1, j, i, j);
    }
  }
}

// The model's axes, 5 long, from the model origin as drawn.
void DrawAxes(const ViewWork& w, Offsets mid, Canvas& pic) {
  const double x0 = -mid.xMid, z0 = -mid.zMid;
  pic.Line(x0, z0, 5 * w.Rot11 - mid.xMid, 5 * w.Rot31 - mid.zMid, kRed);
  pic.Line(x0, z0, 5 * w.Rot12 - mid.xMid, 5 * w.Rot32 - mid.zMid, kGreen);
  pic.Line(x0, z0, 5 * w.Rot13 - mid.xMid, 5 * w.Rot33 - mid.zMid, kBlue);
}

}  // namespace

Drawing DrawBody(const ModelState& s, ViewWork& w, const ViewSettings& view, bool ShowPanels,
                 bool ShowSolution) {
  IgnoredProgress unwatched;
  return DrawBody(s, s.OneMinusCp, w, view, ShowPanels, ShowSolution, unwatched);
}

Drawing DrawBody(const ModelState& s, const Array2& OneMinusCp, ViewWork& w,
                 const ViewSettings& view, bool ShowPanels, bool ShowSolution, Progress& progress) {
  w.xRot = Array3(ArrayLimit(s.NI1), ArrayLimit(s.NJ1), 4);
  w.yRot = Array3(ArrayLimit(s.NI1), ArrayLimit(s.NJ1), 4);
  w.zRot = Array3(ArrayLimit(s.NI1), ArrayLimit(s.NJ1), 4);
  w.xTipRot = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  w.yTipRot = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  w.zTipRot = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));

  BuildRotation(w, Radians(s, view.AlfaX), Radians(s, view.AlfaY), Radians(s, view.AlfaZ));
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  Rings rings(progress, ni);
  RotateCorners(s, w, ni, nj, rings);
  if (ShowSolution) RotateTips(s, OneMinusCp, w, ni, nj, rings);
  const Offsets mid = CentreCorners(s, w, ni, nj, rings);
  const double half = HalfWidth(view.ViewScale);

  Drawing pic;
  pic.Clear();
  pic.SetCoordinates(-half, half, half, -half);
  if (ShowPanels) DrawPanels(s, w, pic, ni, nj, rings);
  if (ShowSolution) DrawMesh(w, mid, pic, ni, nj, rings);
  DrawAxes(w, mid, pic);
  return pic;
}

}  // namespace tarvenol
