#include "geometry/profile_resample.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <optional>

// Boost 1.74's pchip calls isnan unqualified, which the global one of math.h answers.
#include <math.h>

#include <boost/math/interpolators/makima.hpp>
#include <boost/math/interpolators/pchip.hpp>
#include <boost/math/tools/roots.hpp>

#include "core/counts.h"
#include "core/program_error.h"
#include "core/shown_text.h"

namespace tarvenol {
namespace {

using Makima = boost::math::interpolators::makima<std::vector<double>>;
using Pchip = boost::math::interpolators::pchip<std::vector<double>>;

// makima and pchip need this many points; a piece with fewer keeps its straight panels.
constexpr std::size_t kSplinePoints = 4;
// Added to each coordinate, times t, before it is splined, and taken off after.
constexpr double kRise = 2;
// An end closer to the axis than this, relative to the body's size, lies on it.
constexpr double kOnAxis = 1e-9;
// Knots mirrored beyond a blunt end on the axis.
constexpr std::size_t kMirrored = 3;

double Degrees(double radians) {
  return radians * 180 / std::numbers::pi;
}

struct Vec2 {
  double x = 0, r = 0;
};

// The angle between the directions a and b.
double Angle(Vec2 a, Vec2 b) {
  const double c = (a.x * b.x + a.r * b.r) / (std::hypot(a.x, a.r) * std::hypot(b.x, b.r));
  return std::acos(std::clamp(c, -1.0, 1.0));
}

// Which ends of the profile lie on the axis.
struct Ends {
  bool nose = false, tail = false;
};

// The turn at each point: between the panels before and after it, and at an end on the axis
// between the end panel and its mirror image in the axis, where the body goes on.
std::vector<double> Turns(const BodyProfile& p, const Ends& onAxis) {
  const std::size_t n = p.x.size();
  std::vector<double> turn(n, 0);
  for (std::size_t k = 1; k + 1 < n; ++k) {
    turn[k] = Angle({p.x[k] - p.x[k - 1], p.r[k] - p.r[k - 1]},
                    {p.x[k + 1] - p.x[k], p.r[k + 1] - p.r[k]});
  }
  for (const auto& [end, next] :
       {std::pair{std::size_t{0}, std::size_t{1}}, std::pair{n - 1, n - 2}}) {
    const double dx = p.x[next] - p.x[end], dr = p.r[next] - p.r[end];
    if (end == 0 ? onAxis.nose : onAxis.tail) turn[end] = Angle({-dx, dr}, {dx, dr});
  }
  return turn;
}

// Whether the turn at point k is a corner.
bool IsCorner(const std::vector<double>& turn, std::size_t k) {
  const double before = k > 0 ? turn[k - 1] : 0, after = k + 1 < turn.size() ? turn[k + 1] : 0;
  return Degrees(turn[k]) > kCornerDegrees && turn[k] > kCornerRatio * std::max(before, after);
}

// Elements first..last of v.
std::vector<double> Slice(const std::vector<double>& v, std::size_t first, std::size_t last) {
  return {v.begin() + static_cast<std::ptrdiff_t>(first),
          v.begin() + static_cast<std::ptrdiff_t>(last) + 1};
}

// A function through knots: a spline where there are enough, straight between them otherwise.
template <class Spline>
class Through {
 public:
  Through(const std::vector<double>& t, const std::vector<double>& v) : t_(t), v_(v) {
    if (t.size() >= kSplinePoints) spline_.emplace(std::vector<double>(t), std::vector<double>(v));
  }
  double operator()(double t) const {
    t = std::clamp(t, t_.front(), t_.back());
    if (spline_) return (*spline_)(t);
    const auto after =
        static_cast<std::size_t>(std::upper_bound(t_.begin(), t_.end(), t) - t_.begin());
    const std::size_t k = std::min(std::max<std::size_t>(after, 1) - 1, t_.size() - 2);
    return v_[k] + (t - t_[k]) / (t_[k + 1] - t_[k]) * (v_[k + 1] - v_[k]);
  }

 private:
  std::vector<double> t_, v_;
  std::optional<Spline> spline_;
};

// One piece of the profile between corners, as functions of the chord length t: the curve, and
// the angle it has turned through since the piece's start.
class Piece {
 public:
  Piece(const BodyProfile& p, const std::vector<double>& t, const std::vector<double>& turn,
        const Ends& onAxis, std::size_t first, std::size_t last)
      : Piece(Slice(t, first, last), Knots(p, t, turn, onAxis, first, last),
              Turned(turn, first, last)) {}

  double Begin() const { return t_.front(); }
  double End() const { return t_.back(); }
  Vec2 At(double t) const { return {x_(t) - kRise * t, r_(t)}; }
  double TurnedBy(double t) const { return turned_(t); }

 private:
  struct Curve {
    std::vector<double> t, x, r;
  };

  Piece(std::vector<double> t, const Curve& c, const std::vector<double>& turned)
      : t_(std::move(t)), x_(c.t, Rising(c.t, c.x)), r_(c.t, c.r), turned_(t_, turned) {}

  // The knots of the piece; at an end of the profile on the axis that is not a tip, with the
  // mirror images of the first knots beyond it, as the body goes on through the axis, so that
  // the spline's slopes there are those of the body and not an extrapolation.
  static Curve Knots(const BodyProfile& p, const std::vector<double>& t,
                     const std::vector<double>& turn, const Ends& onAxis, std::size_t first,
                     std::size_t last) {
    Curve c;
    const std::size_t n = p.x.size(), mirrored = std::min<std::size_t>(kMirrored, last - first);
    const bool nose = first == 0 && onAxis.nose && !IsCorner(turn, 0);
    const bool tail = last == n - 1 && onAxis.tail && !IsCorner(turn, n - 1);
    for (std::size_t m = nose ? mirrored : 0; m > 0; --m) {
      c.t.push_back(-t[m]);
      c.x.push_back(p.x[m]);
      c.r.push_back(-p.r[m]);
    }
    for (std::size_t k = first; k <= last; ++k) {
      c.t.push_back(t[k]);
      c.x.push_back(p.x[k]);
      c.r.push_back(p.r[k]);
    }
    for (std::size_t m = 1; tail && m <= mirrored; ++m) {
      c.t.push_back(2 * t[n - 1] - t[n - 1 - m]);
      c.x.push_back(p.x[n - 1 - m]);
      c.r.push_back(-p.r[n - 1 - m]);
    }
    return c;
  }

  // A point's turn, spread over the panels on either side of it; a corner at an end of the
  // piece counts in neither.
  static std::vector<double> Turned(const std::vector<double>& turn, std::size_t first,
                                    std::size_t last) {
    std::vector<double> at = Slice(turn, first, last);
    if (IsCorner(turn, first)) at.front() = 0;
    if (IsCorner(turn, last)) at.back() = 0;
    std::vector<double> turned(at.size(), 0);
    for (std::size_t k = 1; k < at.size(); ++k) turned[k] = turned[k - 1] + (at[k - 1] + at[k]) / 2;
    return turned;
  }

  static std::vector<double> Rising(const std::vector<double>& t, std::vector<double> v) {
    for (std::size_t k = 0; k < v.size(); ++k) v[k] += kRise * t[k];
    return v;
  }

  std::vector<double> t_;
  Through<Makima> x_, r_;
  Through<Pchip> turned_;
};

// Refuses what no curve can be drawn through; leaves out repeated points, with a warning.
BodyProfile CheckedPoints(const BodyProfile& given, std::vector<std::string>& warnings,
                          std::vector<int>& numbers) {
  if (given.x.size() != given.r.size())
    throw ProgramError("The profile's x and r differ in count.");
  BodyProfile p;
  for (std::size_t k = 0; k < given.x.size(); ++k) {
    if (!std::isfinite(given.x[k]) || !std::isfinite(given.r[k])) {
      throw ProgramError("Point " + std::to_string(k + 1) + " of the profile (x = " +
                         ShownNumber(given.x[k], 6) + ", r = " + ShownNumber(given.r[k], 6) +
                         ") is not a number: the profile cannot be resampled.");
    }
    if (!p.x.empty() && given.x[k] == p.x.back() && given.r[k] == p.r.back()) {
      warnings.push_back("Point " + std::to_string(k + 1) + " of the profile repeats point " +
                         std::to_string(k) + ": it is left out of the resampled profile.");
      continue;
    }
    p.x.push_back(given.x[k]);
    p.r.push_back(given.r[k]);
    numbers.push_back(static_cast<int>(k + 1));
  }
  if (p.x.size() < 3) {
    throw ProgramError("A profile needs at least 3 distinct points to be resampled; this one has " +
                       std::to_string(p.x.size()) + ".");
  }
  if (std::all_of(p.r.begin(), p.r.end(), [](double r) { return r == 0; })) {
    throw ProgramError(
        "Every point of the profile lies on the axis: there is no body to resample.");
  }
  return p;
}

// The points at which the spline is broken: the ends and the corners between them.
std::vector<std::size_t> Breaks(const BodyProfile& p, const std::vector<double>& turn,
                                const std::vector<int>& numbers, ResampledProfile& out) {
  const std::size_t n = p.x.size();
  std::vector<std::size_t> breaks{0};
  for (std::size_t k = 1; k + 1 < n; ++k) {
    if (!IsCorner(turn, k)) continue;
    breaks.push_back(k);
    out.corners.push_back(numbers[k]);
    out.warnings.push_back("The profile turns by " + ShownNumber(Degrees(turn[k]), 6) +
                           " degrees at point " + std::to_string(numbers[k]) +
                           " (x = " + ShownNumber(p.x[k], 6) + ", r = " + ShownNumber(p.r[k], 6) +
                           "): it is kept as a corner, and the spline is broken there.");
  }
  breaks.push_back(n - 1);
  return breaks;
}

// Panels for each piece, in proportion to its share of F, at least one each.
std::vector<long> Allocate(const std::vector<double>& share, long ni) {
  const std::size_t m = share.size();
  std::vector<long> count(m);
  long sum = 0;
  for (std::size_t i = 0; i < m; ++i) {
    count[i] = std::max(1L, static_cast<long>(std::floor(share[i] * static_cast<double>(ni))));
    sum += count[i];
  }
  std::vector<std::size_t> order(m);
  std::iota(order.begin(), order.end(), 0);
  auto left = [&](std::size_t i) {
    return share[i] * static_cast<double>(ni) - static_cast<double>(count[i]);
  };
  std::sort(order.begin(), order.end(), [&](auto a, auto b) { return left(a) > left(b); });
  for (std::size_t i = 0; sum < ni; i = (i + 1) % m, ++sum) ++count[order[i]];
  // Pieces raised to one panel are paid for by those that lose least by giving one up.
  while (sum > ni) {
    for (auto it = order.rbegin(); it != order.rend() && sum > ni; ++it) {
      if (count[*it] > 1) {
        --count[*it];
        --sum;
      }
    }
  }
  return count;
}

}  // namespace

ResampledProfile ResampleProfile(const BodyProfile& given, double ni) {
  ResampledProfile out;
  std::vector<int> numbers;
  const BodyProfile p = CheckedPoints(given, out.warnings, numbers);
  const std::size_t n = p.x.size();
  std::vector<double> t(n, 0);
  for (std::size_t k = 1; k < n; ++k)
    t[k] = t[k - 1] + std::hypot(p.x[k] - p.x[k - 1], p.r[k] - p.r[k - 1]);

  double size = 0;
  for (std::size_t k = 0; k < n; ++k) size = std::max({size, std::fabs(p.x[k]), std::fabs(p.r[k])});
  const Ends onAxis{std::fabs(p.r.front()) <= kOnAxis * size,
                    std::fabs(p.r.back()) <= kOnAxis * size};
  const std::vector<double> turn = Turns(p, onAxis);
  const std::vector<std::size_t> breaks = Breaks(p, turn, numbers, out);
  const double least = std::max<double>(kMinNI, static_cast<double>(breaks.size() - 1));
  if (!IsWholeCount(ni, least, kMaxCount)) {
    throw ProgramError("The profile can be resampled with a whole number of panels from " +
                       ShownNumber(least, 6) + " to " + ShownNumber(kMaxCount, 6) +
                       " (at least one for each " + "piece between its corners); " +
                       ShownNumber(ni, 6) + " is not one.");
  }

  std::vector<Piece> pieces;
  double turned = 0;
  for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
    pieces.emplace_back(p, t, turn, onAxis, breaks[b], breaks[b + 1]);
    turned += pieces.back().TurnedBy(pieces.back().End());
  }
  // A profile of straight panels that meet at corners only has its points evenly along it.
  const double w = turned > 0 ? kTurnShare : 0;
  auto F = [&](const Piece& piece, double at) {
    return (1 - w) * (at - piece.Begin()) / t.back() +
           (w > 0 ? w * piece.TurnedBy(at) / turned : 0);
  };
  std::vector<double> share;
  for (const Piece& piece : pieces) share.push_back(F(piece, piece.End()));
  const std::vector<long> count = Allocate(share, std::lround(ni));

  out.profile.x.push_back(p.x.front());
  out.profile.r.push_back(p.r.front());
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Piece& piece = pieces[i];
    double from = piece.Begin();
    for (long j = 1; j < count[i]; ++j) {
      const double target = share[i] * static_cast<double>(j) / static_cast<double>(count[i]);
      std::uintmax_t iterations = 100;
      const auto [a, b] = boost::math::tools::toms748_solve(
          [&](double at) { return F(piece, at) - target; }, from, piece.End(),
          boost::math::tools::eps_tolerance<double>(48), iterations);
      from = (a + b) / 2;
      const Vec2 point = piece.At(from);
      out.profile.x.push_back(point.x);
      out.profile.r.push_back(point.r);
    }
    out.profile.x.push_back(p.x[breaks[i + 1]]);
    out.profile.r.push_back(p.r[breaks[i + 1]]);
  }
  return out;
}

}  // namespace tarvenol
