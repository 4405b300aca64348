#pragma once
// Internal to the boundary_layer library: only its own files and its tests include it.
// The laminar boundary layer by Thwaites' method (Thwaites, Aeronautical Quarterly 1, 1949) in
// the axisymmetric form of Rott & Crabtree (J. Aeronautical Sciences 19, 1952), the radius r0
// of the wall in the momentum integral:
//   theta^2 = 0.45 nu / (Ue^6 r0^2) * integral from the start to s of Ue^5 r0^2 ds,
//   lambda = theta^2 (dUe/ds) / nu,  H = H(lambda),  tau_w = mu Ue l(lambda) / theta,
//   so cf = tau_w / (rho Ue^2 / 2) = 2 l(lambda) / Re_theta,  delta* = H theta;
// with r0 the same everywhere it is Thwaites' planar method. The integral is taken from station
// to station by Boost.Math's adaptive Gauss-Kronrod quadrature, to a relative error, so that it
// keeps its digits near the stagnation point, where it grows as s^6 or s^8. Thwaites' functions
// H(lambda) and l(lambda) are the table in White, Viscous Fluid Flow (2nd ed., McGraw-Hill 1991,
// section 4-6), joined by Boost.Math's pchip (both are monotone in lambda); above the table's last
// lambda, 0.25, they are taken at 0.25. The layer separates where lambda falls to
// kLaminarSeparation, where l = 0.
//
// Free transition by Michel's criterion (Michel, ONERA report 1/1578A, 1951), in the form
// Cebeci & Smith give it (Analysis of Turbulent Boundary Layers, 1974):
//   Re_theta >= 1.174 (1 + 22400 / Re_s) Re_s^0.46,  Re_s = Ue s / nu,
// s the arc length from the start.
//
// Lengths here are in units of the body length L and velocities in units of the stream's U,
// so that nu = 1 / Re_L.

#include <array>
#include <limits>
#include <vector>

// Boost 1.74's pchip calls isnan unqualified, which the global one of math.h answers.
#include <math.h>

#include <boost/math/interpolators/pchip.hpp>

#include "boundary_layer/edge_flow.h"

namespace tarvenol {

inline constexpr double kThwaitesConstant = 0.45;
inline constexpr double kLaminarSeparation = -0.09;

struct LaminarState {
  double theta = 0, lambda = 0, H = 0, cf = 0, ReTheta = 0;
};

// Thwaites' H(lambda) and l(lambda).
class ThwaitesFunctions {
 public:
  ThwaitesFunctions();
  // NaN, where the layer has no lambda (at the stagnation point itself), gives NaN: the
  // spline's search would read past its table.
  double H(double lambda) const { return std::isnan(lambda) ? lambda : H_(Clamp(lambda)); }
  double Shear(double lambda) const {
    return std::isnan(lambda) ? lambda : shear_(Clamp(lambda));
  }

 private:
  using Spline = boost::math::interpolators::pchip<std::vector<double>>;
  static double Clamp(double lambda);
  Spline H_, shear_;
};

// The layer at s from the integral I there.
LaminarState LaminarAt(const EdgeFlow& edge, const ThwaitesFunctions& f, double nu, double s,
                       double integral);

// Michel's Re_theta of transition at Re_s.
double MichelReTheta(double ReS);

// Why the laminar march ended.
enum class LaminarEnd { Tail, Separation, Transition };

struct LaminarRun {
  std::vector<double> s;  // the stations passed, and their layer
  std::vector<LaminarState> layer;
  LaminarEnd end = LaminarEnd::Tail;
  double sEnd = 0;  // where it ended
  LaminarState atEnd;
};

// Marches from the start of edge through stations (after the start), stopping at separation, at
// transition by Michel's criterion when michel is set, and where x reaches tripX.
LaminarRun MarchLaminar(const EdgeFlow& edge, double nu, const std::vector<double>& stations,
                        bool michel, double tripX = std::numeric_limits<double>::infinity());

}  // namespace tarvenol
