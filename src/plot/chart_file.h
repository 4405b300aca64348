#pragma once
// A chart drawn into the bytes of a picture file, as the batch tool saves its plots.

#include <string>

#include "session/charts.h"

class QChart;

namespace tarvenol {

// The bytes of a file of the chart, which the call takes over, drawn at width x height pixels;
// empty when it cannot be drawn. Needs a QApplication.
std::string ChartBytes(QChart* chart, PlotFormat format, int width, int height);

}  // namespace tarvenol
