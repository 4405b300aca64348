#include "boundary_layer/body_drag.h"

#include <cmath>
#include <numbers>

namespace tarvenol {

double YoungDragArea(double momentumArea, double Ue, double H) {
  return 4 * std::numbers::pi * momentumArea * std::pow(Ue, (H + 5) / 2);
}

double Ittc57Friction(double reynolds) {
  const double d = std::log10(reynolds) - 2;
  return 0.075 / (d * d);
}

}  // namespace tarvenol
