#include <cmath>

#include "view/draw_body.h"

namespace tarvenol {

void BuildRotation(ViewWork& w, double AlfaX, double AlfaY, double AlfaZ) {
  const double cx = std::cos(AlfaX), sx = std::sin(AlfaX);
  const double cy = std::cos(AlfaY), sy = std::sin(AlfaY);
  const double cz = std::cos(AlfaZ), sz = std::sin(AlfaZ);
  w.Rot11 = cz * cy;
  w.Rot12 = cz * sy * sx - sz * cx;
  w.Rot13 = sz * sx + cz * sy * cx;
  w.Rot21 = sz * cy;
  w.Rot22 = cz * cx + sz * sy * sx;
  w.Rot23 = sz * sy * cx - cz * sx;
  w.Rot31 = -sy;
  w.Rot32 = cy * sx;
  w.Rot33 = cy * cx;
}

void RotatePoint(const ViewWork& w, double x, double y, double z, double& xr, double& yr,
                 double& zr) {
  xr = w.Rot11 * x + w.Rot12 * y + w.Rot13 * z;
  yr = w.Rot21 * x + w.Rot22 * y + w.Rot23 * z;
  zr = w.Rot31 * x + w.Rot32 * y + w.Rot33 * z;
}

}  // namespace tarvenol
