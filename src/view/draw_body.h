#pragma once
// The wire-frame view: the panel outlines and the 1 - Cp mesh, turned by three angles,
// centred and scaled, drawn on the picture of the main window.

#include "core/array.h"
#include "core/canvas.h"
#include "core/model_state.h"
#include "core/progress.h"

namespace tarvenol {

// The view's own arrays and rotation, rebuilt by every redraw.
struct ViewWork {
  double Rot11 = 0, Rot12 = 0, Rot13 = 0;
  double Rot21 = 0, Rot22 = 0, Rot23 = 0;
  double Rot31 = 0, Rot32 = 0, Rot33 = 0;
  Array3 xRot, yRot, zRot;           // [0..NI1, 0..NJ1, 0..4]
  Array2 xTipRot, yTipRot, zTipRot;  // [0..NI, 0..NJ]
};

// How the user asked to see the body: the three angles in degrees and the scale factor.
struct ViewSettings {
  double AlfaX = 0, AlfaY = 0, AlfaZ = 0;
  double ViewScale = 1;
  friend bool operator==(const ViewSettings&, const ViewSettings&) = default;
};

// The picture, cleared and drawn again, as seen along the turned y axis with z upward: the
// open panel outlines in red when ShowPanels is set, the 1 - Cp mesh in blue when
// ShowSolution is set, and always the three axes on top. An angle that is not finite counts
// as 0, and a scale that is not a positive number with a finite picture width as 1.
Drawing DrawBody(const ModelState& s, ViewWork& w, const ViewSettings& view, bool ShowPanels,
                 bool ShowSolution);
// The same with the mesh of the given 1 - Cp in place of s's, for a solution not yet taken:
// tells progress as it goes a ring at a time, and throws Cancelled when asked to stop.
Drawing DrawBody(const ModelState& s, const Array2& OneMinusCp, ViewWork& w,
                 const ViewSettings& view, bool ShowPanels, bool ShowSolution, Progress& progress);

// The rotation Rz(AlfaZ)·Ry(AlfaY)·Rx(AlfaX), angles in radians, right-handed about the
// fixed model axes: a point is turned about x first, then about y, then about z.
void BuildRotation(ViewWork& w, double AlfaX, double AlfaY, double AlfaZ);

// (xr, yr, zr) = the rotation last built applied to (x, y, z).
void RotatePoint(const ViewWork& w, double x, double y, double z, double& xr, double& yr,
                 double& zr);

}  // namespace tarvenol
