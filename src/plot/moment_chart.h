#pragma once
// The pitching moment of the pressure against the angle of attack, on Qt Charts, with Munk's
// moment of the spheroid where the body is one. Needs a QApplication.

#include "results/forces.h"

class QChart;

namespace tarvenol {

// A new chart, the caller's to own: the nose-up moment's coefficient on the volume against the
// angle in degrees; the angle marked shown, where it is one of the table's.
QChart* MakeMomentChart(const ForcesTable& table, const std::string& body,
                        std::optional<double> markedDegrees = std::nullopt);

}  // namespace tarvenol
