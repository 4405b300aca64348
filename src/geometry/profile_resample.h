#pragma once
// A profile re-panelled at another point count, for the resolution a pressure distribution or a
// boundary layer needs; a body file's points are its panels, and a coarse file gives a poor
// pressure near the nose whatever NJ.
//
// The curve: each coordinate is a function of the chord length t along the given points (the
// discrete arc length), x(t) and r(t), interpolated by Boost.Math's makima, the modified Akima
// spline (Akima, J. ACM 17, 1970; the modification by Moler, 2019): a C1 cubic Hermite spline
// whose slopes are weighted means of the neighbouring chords' slopes, which follows a flat
// stretch (a cylindrical midbody) without overshoot. Its weights fall to nothing with the slope,
// so where a coordinate's slope passes through zero its slopes are only first-order right; x,
// which only grows along a body, is splined as x + 2t (rising at least at rate 1, since
// |dx/dt| <= 1) and 2t taken off again, which keeps a straight stretch straight and makes its
// slopes second-order. r keeps makima's shape, at a first-order slope where the body is widest.
// At an end on the axis that is not a tip the first knots are mirrored through the axis, as the
// body goes on there, so that the end's slope is the body's and not an extrapolation. A piece of
// three points or fewer between corners is kept as the straight panels it gives.
//
// Corners: a point where the profile turns by more than kCornerDegrees and by more than
// kCornerRatio times as much as at each neighbour (a flat base, a cone's shoulder, a cone's tip
// at an end, not the fast but steady turn of a coarse blunt nose) ends one spline piece and
// starts the next, and stays a point of the new profile, with a warning naming it. At an end on
// the axis the turn is the one between the end panel and its mirror image in the axis.
//
// The new points: NI panels shared among the pieces, and within each piece placed evenly in
//   F(t) = (1 - w) t / T + w Theta(t) / Theta_total,   w = kTurnShare,
// T the profile's total chord length and Theta(t) the angle the profile has turned through up
// to t: each given point's turn spread over the panels on either side of it, joined by
// Boost.Math's pchip (monotone, so that F is), corners left out. Half the points go evenly along
// the profile, half evenly in the angle it turns, so that they crowd where it turns fastest, at
// a blunt nose and a closing tail, and the panel length varies smoothly; a circle gets even
// panels. A profile of straight panels meeting at corners only gets its points evenly along it.

#include <string>
#include <vector>

#include "core/counts.h"
#include "geometry/body_profile.h"

namespace tarvenol {

inline constexpr double kCornerDegrees = 15;
inline constexpr double kCornerRatio = 3;
inline constexpr double kTurnShare = 0.5;

struct ResampledProfile {
  BodyProfile profile;                // NI + 1 points, the first and the last those given
  std::vector<int> corners;           // numbers (1 = the first point) of the given corners kept
  std::vector<std::string> warnings;  // corners kept, repeated points left out
};

// The profile through the points of given, nose to tail, re-panelled with ni panels. Refuses
// with a ProgramError a point that is not a number, fewer than three distinct points, a
// profile with no point off the axis, and an ni that is not a whole number from 2 (at least one
// panel for each piece between corners) to the largest NI.
ResampledProfile ResampleProfile(const BodyProfile& given, double ni);

}  // namespace tarvenol
