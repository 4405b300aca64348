#include "geometry/hull_families.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/counts.h"
#include "core/program_error.h"

namespace tarvenol {
namespace {

// Points of each part of Myring's profile from which its arc length is measured: the chords of
// a part this finely cut miss its length by far less than a panel's rounding.
constexpr int kArcSamples = 512;

// The tail falls all the way to the axis while c tan(theta) / d is at most this.
constexpr double kSteepestTail = 1.5;

std::string Number(double v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// Refuses a value that is not a finite number above least (or at least least, where allowed).
void RequireAbove(double value, const char* name, double least, bool orEqual) {
  if (std::isfinite(value) && (value > least || (orEqual && value == least))) return;
  throw ProgramError(std::string(name) + " must be a number " + (orEqual ? "from " : "above ") +
                     Number(least) + (orEqual ? " up" : "") + "; " + Number(value) + " is not.");
}

double Degrees(double radians) {
  return radians * 180 / (std::atan(1.0) * 4);
}

double Radians(double degrees) {
  return degrees * (std::atan(1.0) * 4) / 180;
}

// x along the profile at the arc-length parameter k of the dense samples: the nose in the angle
// t of x = a (1 - cos t), where its radius turns fastest, then the midbody's ends, then the tail
// evenly in x.
std::vector<double> DenseAbscissae(const MyringHull& h) {
  std::vector<double> x;
  const double quarter = std::atan(1.0) * 2;
  for (int k = 0; k < kArcSamples; ++k)
    x.push_back(h.a * (1 - std::cos(quarter * k / kArcSamples)));
  x.push_back(h.a);
  for (int k = 0; k <= kArcSamples; ++k) x.push_back(h.a + h.b + h.c * k / kArcSamples);
  return x;
}

}  // namespace

void CheckMyring(const MyringHull& h) {
  RequireAbove(h.a, "The nose length a", 0, false);
  RequireAbove(h.b, "The midbody length b", 0, true);
  RequireAbove(h.c, "The tail length c", 0, false);
  RequireAbove(h.d, "The diameter d", 0, false);
  RequireAbove(h.n, "The nose exponent n", 0, false);
  const double steepest = Degrees(std::atan(kSteepestTail * h.d / h.c));
  if (!(std::isfinite(h.thetaDegrees) && h.thetaDegrees >= 0 && h.thetaDegrees <= steepest)) {
    char limit[32];
    std::snprintf(limit, sizeof limit, "%.6g", steepest);
    throw ProgramError("The tail angle theta must be a number of degrees from 0 to " +
                       std::string(limit) + " (atan(3d / 2c)), where the tail would rise above " +
                       "the midbody; " + Number(h.thetaDegrees) + " is not.");
  }
}

void CheckSpheroid(const SpheroidHull& h) {
  RequireAbove(h.a, "The semi-axis a", 0, false);
  RequireAbove(h.b, "The semi-axis b", 0, false);
}

double MyringRadius(const MyringHull& h, double x) {
  const double half = h.d / 2;
  if (x <= h.a) {
    const double along = (x - h.a) / h.a;
    return half * std::pow(std::fmax(0.0, 1 - along * along), 1 / h.n);
  }
  const double u = x - h.a - h.b;
  if (u <= 0) return half;
  const double tanTheta = std::tan(Radians(h.thetaDegrees));
  const double c = h.c;
  return half - (3 * h.d / (2 * c * c) - tanTheta / c) * u * u +
         (h.d / (c * c * c) - tanTheta / (c * c)) * u * u * u;
}

BodyProfile MyringProfile(const MyringHull& h, double ni) {
  CheckMyring(h);
  RequireWholeCount(ni, "NI", kMinNI);
  const std::vector<double> x = DenseAbscissae(h);
  std::vector<double> length(x.size(), 0.0);
  double rPrevious = MyringRadius(h, x[0]);
  for (std::size_t k = 1; k < x.size(); ++k) {
    const double r = MyringRadius(h, x[k]);
    length[k] = length[k - 1] + std::hypot(x[k] - x[k - 1], r - rPrevious);
    rPrevious = r;
  }
  const auto n = static_cast<int>(ni);
  BodyProfile profile;
  std::size_t k = 1;
  for (int i = 0; i <= n; ++i) {
    const double along = length.back() * i / n;
    while (k + 1 < x.size() && length[k] < along) ++k;
    const double share = (along - length[k - 1]) / (length[k] - length[k - 1]);
    const double xi = std::fmin(x[k - 1] + share * (x[k] - x[k - 1]), h.a + h.b + h.c);
    profile.x.push_back(xi);
    profile.r.push_back(MyringRadius(h, xi));
  }
  // Both ends on the axis exactly, not a rounding's width off it.
  profile.x.front() = 0;
  profile.r.front() = 0;
  profile.x.back() = h.a + h.b + h.c;
  profile.r.back() = 0;
  return profile;
}

BodyProfile SpheroidProfile(const SpheroidHull& h, double ni) {
  CheckSpheroid(h);
  RequireWholeCount(ni, "NI", kMinNI);
  // The sphere's own arithmetic (SphereProfile), with a and b for its radius.
  const double pi = std::atan(1.0) * 4;
  const double dTheta = pi / ni;
  BodyProfile profile;
  for (int i = 1; i <= static_cast<int>(ni) + 1; ++i) {
    const double theta = pi - dTheta * (i - 1);
    profile.x.push_back((std::cos(theta) + 1) * h.a);
    profile.r.push_back(std::sin(theta) * h.b);
  }
  return profile;
}

}  // namespace tarvenol
