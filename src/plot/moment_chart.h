#pragma once
// The pitching moment of the pressure against the angle of attack, on Qt Charts, with Munk's
// moment of the spheroid where the body is one. Needs a QApplication.

#include "results/forces.h"

class QChart;

namespace tarvenol {

// Munk's moment coefficient, 2 (k2 - k1) sin a cos a, lies within -1..1 on a body of revolution
// (0 <= k1, k2 <= 1): a tenth of that is the least scale of a moment worth seeing.
inline constexpr double kMomentScale = 0.1;

// A new chart, the caller's to own: the nose-up moment's coefficient on the volume against the
// angle in degrees, and the table's angle shown marked on it. The moment's axis spans at least
// kMomentScale either side of 0, so that a moment the panels leave as noise lies flat at 0.
QChart* MakeMomentChart(const ForcesTable& table, const std::string& body);

}  // namespace tarvenol
