#pragma once
// A body file's profile is taken as it stands, but some profiles give panels that do not
// describe the flow around a closed body; the user is told so.

#include <string>
#include <vector>

#include "core/model_state.h"
#include "geometry/body_of_revolution.h"

namespace tarvenol {

// An end of a profile closer to the axis than this, relative to the body's size, lies on it.
inline constexpr double kOnAxis = 1e-9;

// One warning for each way the profile of BodyFile differs from a closed body listed from
// nose to tail, evenly enough spaced: listed from tail to nose, an end off the axis, a turn
// back on itself, neighbouring panels of very different lengths, a radius that changes sign.
std::vector<std::string> ProfileWarnings(const ModelState& s, const BodyWork& w);

}  // namespace tarvenol
