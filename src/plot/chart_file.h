#pragma once
// A chart drawn into the bytes of a picture file, as the batch tool saves its plots.

#include <optional>
#include <string>

class QChart;

namespace tarvenol {

enum class PlotFormat { Png, Svg };

// The picture a file's name asks for: SVG for a name ending in ".svg", PNG for ".png" (in any
// case); nothing for another name.
std::optional<PlotFormat> PictureFormatOf(const std::string& path);

// The bytes of a file of the chart, which the call takes over, drawn at width x height pixels;
// empty when it cannot be drawn. Needs a QApplication.
std::string ChartBytes(QChart* chart, PlotFormat format, int width, int height);

}  // namespace tarvenol
