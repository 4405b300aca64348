#include "field/streamlines.h"

#include <algorithm>
#include <cmath>

#include "core/odeint.h"

namespace tarvenol {
namespace {

using State = std::array<double, 2>;

// Error control of a step, relative and absolute in units of a grid cell.
constexpr double kRelativeError = 1e-6;
constexpr double kCellError = 1e-4;
// A step is at most this many cells, so that no stage jumps over a thin body.
constexpr double kLongestStep = 1;
// A step into the body or out of the grid is halved down to this share of a cell.
constexpr double kShortestStep = 1e-3;
// Below this speed, in units of the stream, the flow stands still.
constexpr double kStillSpeed = 1e-3;
constexpr int kMostPoints = 20000;

// The velocity between the grid's points.
class Interpolated {
 public:
  explicit Interpolated(const FieldAtIncidence& f) : f_(f) {}

  // The unit direction of the flow at p, or why there is none.
  bool Direction(const State& p, State& direction, Streamline::End& why) const {
    const GridSpan& s = f_.span;
    const double u = (p[0] - s.x0) / s.dx, v = (p[1] - s.y0) / s.dy;
    if (!(u >= 0 && v >= 0 && u <= s.nx - 1 && v <= s.ny - 1)) {
      why = Streamline::End::Edge;
      return false;
    }
    const int i = std::min(static_cast<int>(u), s.nx - 2) + 1;
    const int j = std::min(static_cast<int>(v), s.ny - 2) + 1;
    if (f_.masked(i, j) != 0 || f_.masked(i + 1, j) != 0 || f_.masked(i, j + 1) != 0 ||
        f_.masked(i + 1, j + 1) != 0) {
      why = Streamline::End::Body;
      return false;
    }
    const double a = u - (i - 1), b = v - (j - 1);
    auto at = [&](const Array2& g) {
      return (1 - a) * (1 - b) * g(i, j) + a * (1 - b) * g(i + 1, j) + (1 - a) * b * g(i, j + 1) +
             a * b * g(i + 1, j + 1);
    };
    const double vx = at(f_.Vx), vy = at(f_.Vy);
    const double speed = std::hypot(vx, vy);
    if (!(speed > kStillSpeed)) {
      why = Streamline::End::Stagnation;
      return false;
    }
    direction = {vx / speed, vy / speed};
    return true;
  }

 private:
  const FieldAtIncidence& f_;
};

// Seeds evenly spread across the stream, each where its line along the stream enters the grid.
std::vector<State> Seeds(const GridSpan& s, const Incidence& a, int count) {
  const double x1 = s.X(s.nx), y1 = s.Y(s.ny);
  const double nx = -a.sinA, ny = a.cosA;  // across the stream
  double low = HUGE_VAL, high = -HUGE_VAL;
  for (const double x : {s.x0, x1}) {
    for (const double y : {s.y0, y1}) {
      low = std::min(low, x * nx + y * ny);
      high = std::max(high, x * nx + y * ny);
    }
  }
  std::vector<State> seeds;
  const double inward = 1e-9 * std::max(x1 - s.x0, y1 - s.y0);
  for (int k = 0; k < count; ++k) {
    const double eta = low + (k + 0.5) * (high - low) / count;
    // The line eta n + tau (cos a, sin a) enters the box at the largest of the slabs' entries.
    double enter = -HUGE_VAL;
    const double base[2] = {eta * nx, eta * ny}, along[2] = {a.cosA, a.sinA};
    const double lo[2] = {s.x0, s.y0}, hi[2] = {x1, y1};
    for (int c = 0; c < 2; ++c) {
      if (along[c] != 0) {
        const double t1 = (lo[c] - base[c]) / along[c], t2 = (hi[c] - base[c]) / along[c];
        enter = std::max(enter, std::min(t1, t2));
      }
    }
    enter += inward;
    seeds.push_back({base[0] + enter * along[0], base[1] + enter * along[1]});
  }
  return seeds;
}

Streamline Trace(const Interpolated& flow, State p, double cell, double longest) {
  namespace odeint = boost::numeric::odeint;
  auto stepper = odeint::make_controlled(kCellError * cell, kRelativeError,
                                         odeint::runge_kutta_cash_karp54<State>());
  Streamline line;
  line.points.push_back(p);
  double s = 0, ds = cell / 4;
  for (int attempt = 0; attempt < 10 * kMostPoints &&
                        static_cast<int>(line.points.size()) < kMostPoints && s < longest;
       ++attempt) {
    bool left = false;
    Streamline::End why = Streamline::End::Length;
    auto system = [&](const State& at, State& dpds, double) {
      if (!flow.Direction(at, dpds, why)) {
        left = true;
        dpds = {0, 0};
      }
    };
    State trial = p;
    double sTrial = s, dsTrial = ds;
    const odeint::controlled_step_result result = stepper.try_step(system, trial, sTrial, dsTrial);
    if (left) {
      // Some stage of the step lay in the body or beyond the grid: nearer, then stop.
      if (ds < kShortestStep * cell) {
        line.end = why;
        return line;
      }
      ds /= 2;
      continue;
    }
    if (result == odeint::fail) {
      ds = dsTrial;
      continue;
    }
    p = trial;
    s = sTrial;
    ds = std::min(dsTrial, kLongestStep * cell);
    line.points.push_back(p);
  }
  line.end = Streamline::End::Length;
  return line;
}

}  // namespace

std::vector<Streamline> TraceStreamlines(const FieldAtIncidence& field, int seeds) {
  const GridSpan& s = field.span;
  const double cell = std::min(s.dx, s.dy);
  const double longest = 3 * ((s.nx - 1) * s.dx + (s.ny - 1) * s.dy);
  const Interpolated flow(field);
  std::vector<Streamline> lines;
  for (const State& seed : Seeds(s, field.incidence, seeds)) {
    lines.push_back(Trace(flow, seed, cell, longest));
  }
  return lines;
}

}  // namespace tarvenol
