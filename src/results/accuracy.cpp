#include "results/accuracy.h"

#include <cmath>
#include <cstdio>

namespace tarvenol {
namespace {

// Rounding of the sums, on the body's scale.
constexpr double kRounding = 1e-10;
// The two moments' errors may lie on one side: twice their distance covers the pressure's
// moment's own (on the sphere and the spheroid from 8 panels around).
constexpr double kSafety = 2;

std::string Printed(const char* format, int digits, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, digits, value);
  return text;
}

}  // namespace

double ForceRounding(const BodyFigures& figures) {
  return kRounding * figures.wettedArea;
}

double MomentRounding(const BodyFigures& figures) {
  return kRounding * std::pow(figures.wettedArea, 1.5);
}

double MomentError(const ForcesTable& table, const PressureForces& f) {
  const Incidence a = IncidenceOf(f.alphaDegrees);
  const double munk = table.sourceMunk * std::fabs(table.figures.volume) * a.sinA * a.cosA;
  return kSafety * std::fabs(f.Pitching() - munk) + MomentRounding(table.figures);
}

std::string AtAccuracy(double value, double error) {
  if (!std::isfinite(value)) return "none";
  if (!(error > 0) || !std::isfinite(error)) return Printed("%.*g", 6, value);
  if (std::fabs(value) < error) return "0";
  const int place = static_cast<int>(std::floor(std::log10(error)));
  const double unit = std::pow(10.0, place);
  const double rounded = std::round(value / unit) * unit;
  if (rounded == 0) return "0";
  const double size = std::fabs(rounded);
  if (size >= 1e-4 && size < 1e7) return Printed("%.*f", std::max(0, -place), rounded);
  const int digits = static_cast<int>(std::floor(std::log10(size))) - place + 1;
  return Printed("%.*g", std::max(1, digits), rounded);
}

std::string ErrorText(double error) {
  return Printed("%.*g", 1, error);
}

}  // namespace tarvenol
