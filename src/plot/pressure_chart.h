#pragma once
// The plot of the pressure along the body, on Qt Charts: 1 - Cp and Cp against x on the
// meridian panels j = 1, 1 - Cp of every panel over them (which shows how axisymmetric the
// solution is), and the closed form where the body is a spheroid, with the panels' largest
// deviation from it in the legend. Needs a QApplication.

#include <string>

#include "plot/chart_file.h"
#include "results/pressure.h"

class QChart;

namespace tarvenol {

// A new chart, the caller's to own.
QChart* MakePressureChart(const PressureAlongBody& pressure);

// The bytes of a file of the chart drawn at width x height pixels; empty when it cannot be
// drawn.
std::string PressurePlotBytes(const PressureAlongBody& pressure, PlotFormat format, int width = 900,
                              int height = 560);

}  // namespace tarvenol
