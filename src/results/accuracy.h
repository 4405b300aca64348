#pragma once
// How many digits the panels' results support, and numbers shown to them.
//
// On a body of revolution the exact flow exerts no net force, and its nose-up moment is Munk's,
// (m22 - m11) U^2 sin a cos a, with the added masses its sources give through their first
// moments. The panels' moment of the pressure and Munk's moment of the same panels' sources tend
// to it together as the panels get finer, so their difference estimates the error of the first;
// twice it, on the safe side: the first moments converge as 1/N, the pressure's moment as 1/N^2,
// and both may err to one side.
// Sums of many terms of both signs also keep rounding, taken as 1e-10 of the body's scale
// (its wetted area for a force, that to the power 3/2 for a moment); results nearer 0 are noise.

#include <string>

#include "results/forces.h"

namespace tarvenol {

// The rounding left in a force of the pressure (an area) and in a moment (a volume).
double ForceRounding(const BodyFigures& figures);
double MomentRounding(const BodyFigures& figures);

// The error of the nose-up moment of f, in its units: twice its distance from the Munk moment of
// the table's sources at f's angle, and no less than the rounding.
double MomentError(const ForcesTable& table, const PressureForces& f);

// value rounded at the decimal place of the first digit of error, as text; "0" when it is
// smaller than error. An error of 0 (or none) is an exact value: six significant digits.
std::string AtAccuracy(double value, double error);
// An error with one significant digit.
std::string ErrorText(double error);

}  // namespace tarvenol
