#include "boundary_layer/laminar_layer.h"

#include <algorithm>
#include <cmath>

#include <boost/math/quadrature/gauss_kronrod.hpp>

#include "boundary_layer/event_at.h"

namespace tarvenol {
namespace {

// Thwaites' functions as White tabulates them (Viscous Fluid Flow, section 4-6), every row.
constexpr std::size_t kRows = 29;
constexpr std::array<double, kRows> kLambda = {
    -0.090, -0.088, -0.086, -0.084, -0.080, -0.076, -0.072, -0.068, -0.064, -0.060,
    -0.056, -0.052, -0.048, -0.040, -0.032, -0.024, -0.016, -0.008, 0.000,  0.016,
    0.032,  0.048,  0.064,  0.080,  0.100,  0.120,  0.140,  0.200,  0.250};
constexpr std::array<double, kRows> kShear = {
    0.000, 0.015, 0.027, 0.038, 0.056, 0.072, 0.085, 0.095, 0.104, 0.113,
    0.122, 0.130, 0.138, 0.153, 0.168, 0.182, 0.195, 0.208, 0.220, 0.244,
    0.268, 0.291, 0.313, 0.333, 0.359, 0.382, 0.404, 0.463, 0.500};
constexpr std::array<double, kRows> kShape = {
    3.55, 3.49, 3.44, 3.39, 3.30, 3.22, 3.15, 3.09, 3.04, 2.99, 2.94, 2.90, 2.87, 2.81, 2.75,
    2.71, 2.67, 2.64, 2.61, 2.55, 2.49, 2.44, 2.39, 2.34, 2.28, 2.23, 2.18, 2.07, 2.00};

// The Thwaites integral from station to station, to this relative error.
constexpr unsigned kQuadratureDepth = 15;
constexpr double kQuadratureError = 1e-10;

std::vector<double> Of(const std::array<double, kRows>& a) {
  return {a.begin(), a.end()};
}

}  // namespace

ThwaitesFunctions::ThwaitesFunctions()
    : H_(Of(kLambda), Of(kShape)), shear_(Of(kLambda), Of(kShear)) {}

double ThwaitesFunctions::Clamp(double lambda) {
  return std::clamp(lambda, kLambda.front(), kLambda.back());
}

LaminarState LaminarAt(const EdgeFlow& edge, const ThwaitesFunctions& f, double nu, double s,
                       double integral) {
  const double Ue = edge.Ue(s), r0 = edge.r0(s);
  LaminarState l;
  l.theta = std::sqrt(kThwaitesConstant * nu * integral / (std::pow(Ue, 6) * r0 * r0));
  l.lambda = l.theta * l.theta * edge.dUeds(s) / nu;
  l.H = f.H(l.lambda);
  l.ReTheta = Ue * l.theta / nu;
  l.cf = 2 * f.Shear(l.lambda) / l.ReTheta;
  return l;
}

double MichelReTheta(double ReS) {
  return 1.174 * (1 + 22400 / ReS) * std::pow(ReS, 0.46);
}

LaminarRun MarchLaminar(const EdgeFlow& edge, double nu, const std::vector<double>& stations,
                        bool michel, double tripX) {
  const ThwaitesFunctions f;
  const double s0 = edge.Begin();
  const auto integrand = [&](double s) {
    const double r0 = edge.r0(s);
    return std::pow(edge.Ue(s), 5) * r0 * r0;
  };
  const auto integral = [&](double from, double to) {
    return boost::math::quadrature::gauss_kronrod<double, 15>::integrate(
        integrand, from, to, kQuadratureDepth, kQuadratureError);
  };
  // The events in the order they are told apart where two meet; below 0 until they happen.
  const auto separation = [&](const LaminarState& l) { return kLaminarSeparation - l.lambda; };
  const auto event = [&](double s, const LaminarState& l) {
    const double michelBy = michel ? l.ReTheta - MichelReTheta(edge.Ue(s) * (s - s0) / nu) : -1;
    const double g = std::max({separation(l), michelBy, edge.x(s) - tripX});
    return std::isnan(g) ? -1.0 : g;
  };

  LaminarRun run;
  double from = s0, before = 0;  // the last station and the integral up to it
  for (const double s : stations) {
    const LaminarState l = LaminarAt(edge, f, nu, s, before + integral(from, s));
    if (event(s, l) >= 0) {
      const auto at = [&](double t) {
        return event(t, LaminarAt(edge, f, nu, t, before + integral(from, t)));
      };
      run.sEnd = EventAt(at, from, s);
      run.atEnd = LaminarAt(edge, f, nu, run.sEnd, before + integral(from, run.sEnd));
      run.end = separation(run.atEnd) >= 0 ? LaminarEnd::Separation : LaminarEnd::Transition;
      return run;
    }
    run.s.push_back(s);
    run.layer.push_back(l);
    before += integral(from, s);
    from = s;
  }
  run.sEnd = from;
  if (!run.layer.empty()) run.atEnd = run.layer.back();
  return run;
}

}  // namespace tarvenol
