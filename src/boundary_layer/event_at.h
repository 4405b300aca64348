#pragma once
// Internal to the boundary_layer library: only its own files and its tests include it.
// Where a layer's march meets its end: separation, transition, a trip.

#include <boost/math/tools/roots.hpp>

namespace tarvenol {

// Where an event f(s), below 0 at from and not below 0 at to, first reaches 0, by bisection.
// An event that holds at from already (a state rounded across a step's start, or a layer that
// meets its end at once) ends it there: bisection would find no change of sign.
template <class Event>
double EventAt(const Event& f, double from, double to) {
  if (f(from) >= 0) return from;
  return boost::math::tools::bisect(f, from, to, boost::math::tools::eps_tolerance<double>(40))
      .second;
}

}  // namespace tarvenol
