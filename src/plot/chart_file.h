#pragma once
// A chart drawn into a file, as the batch tool saves its plots.

#include <string>

class QChart;

namespace tarvenol {

// The chart, which the call takes over, drawn at width x height pixels into path, as SVG for a
// name ending in ".svg" and as PNG otherwise, written whole or not at all. Empty, or why it
// cannot be written. Needs a QApplication.
std::string SaveChart(QChart* chart, const std::string& path, int width, int height);

}  // namespace tarvenol
