#pragma once
// Internal to the boundary_layer library: only its own files and its tests include it.
// The march of an integral boundary layer's equations dy/ds = f(s, y) along the meridian, by
// Boost.Odeint's Dormand-Prince 5(4) stepper with error control and dense output. The state is
// handed to an observer at every station, and the march stops where an event function of the
// state first reaches 0 (separation, transition), found by bisection on the dense output.

#include <array>
#include <cmath>
#include <vector>

#include "boundary_layer/event_at.h"
#include "core/odeint.h"
#include "core/program_error.h"

namespace tarvenol {

// Error control of a step, relative to the state and absolute, in units of the body length.
inline constexpr double kMarchRelativeError = 1e-8;
inline constexpr double kMarchAbsoluteError = 1e-16;
// A march that takes more steps than this has met a state it cannot follow.
inline constexpr long kMostMarchSteps = 1000000;

template <std::size_t N>
struct MarchEnd {
  bool stopped = false;  // by the event, at s; otherwise at the last station
  double s = 0;
  std::array<double, N> y{};
};

// From y0 at s0 through the stations (increasing, after s0). event(s, y) < 0 until the march
// must stop; a value that is not a number counts as below 0.
template <std::size_t N, class Rhs, class Event, class Observer>
MarchEnd<N> March(const Rhs& rhs, const std::array<double, N>& y0, double s0,
                  const std::vector<double>& stations, const Event& event,
                  const Observer& observe) {
  using State = std::array<double, N>;
  namespace odeint = boost::numeric::odeint;
  auto stepper = odeint::make_dense_output(kMarchAbsoluteError, kMarchRelativeError,
                                           odeint::runge_kutta_dopri5<State>());
  auto g = [&](double s, const State& y) {
    const double v = event(s, y);
    return std::isnan(v) ? -1.0 : v;
  };
  MarchEnd<N> end{false, s0, y0};
  if (g(s0, y0) >= 0) return {true, s0, y0};
  if (stations.empty()) return end;
  const auto system = [&](const State& y, State& dyds, double s) { dyds = rhs(s, y); };
  stepper.initialize(y0, s0, (stations.front() - s0) / 4);
  double last = s0;  // the last point checked, never before the current step's start
  std::size_t k = 0;
  // Whether the march stops at or before s, which must lie within the last step.
  auto stopsBy = [&](double s) {
    State y;
    stepper.calc_state(s, y);
    if (g(s, y) < 0) {
      last = s;
      return false;
    }
    const auto f = [&](double t) {
      State yt;
      stepper.calc_state(t, yt);
      return g(t, yt);
    };
    end.stopped = true;
    end.s = EventAt(f, last, s);
    stepper.calc_state(end.s, end.y);
    return true;
  };
  try {
    for (long steps = 0; k < stations.size(); ++steps) {
      if (steps == kMostMarchSteps)
        throw ProgramError("The boundary layer's march takes too many steps.");
      const double to = stepper.do_step(system).second;
      for (; k < stations.size() && stations[k] <= to; ++k) {
        if (stopsBy(stations[k])) return end;
        stepper.calc_state(stations[k], end.y);
        observe(stations[k], end.y);
      }
      if (k < stations.size() && stopsBy(to)) return end;
    }
  } catch (const odeint::odeint_error& e) {
    throw ProgramError(std::string("The boundary layer's march failed: ") + e.what());
  }
  end.s = stations.back();
  return end;
}

}  // namespace tarvenol
