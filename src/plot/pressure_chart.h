#pragma once
// The plot of the pressure along the body, on Qt Charts: 1 - Cp and Cp against x on the
// meridian panels j = 1, 1 - Cp of every panel over them (which shows how axisymmetric the
// solution is), and the closed form where the body is a spheroid, with the panels' largest
// deviation from it in the legend. Needs a QApplication.

#include <string>

#include "results/pressure.h"

class QChart;

namespace tarvenol {

// A new chart, the caller's to own.
QChart* MakePressureChart(const PressureAlongBody& pressure);

// The chart drawn at width x height pixels into path, as SVG for a name ending in ".svg" and
// as PNG otherwise, written whole or not at all. Empty, or why it cannot be written.
std::string SavePressurePlot(const PressureAlongBody& pressure, const std::string& path,
                             int width = 900, int height = 560);

}  // namespace tarvenol
