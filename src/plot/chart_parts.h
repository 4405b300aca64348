#pragma once
// Internal to the plot library: only its own files and its tests include it.
// The pieces the plots of the pressure share: lines and dots in a colour of their own, and the
// axes over them.

#include <QColor>
#include <QString>
#include <vector>

class QAbstractSeries;
class QChart;
class QLineSeries;
class QScatterSeries;

namespace tarvenol {

// Points of a closed-form curve along the body.
inline constexpr int kCurvePoints = 400;

// A number of a legend or a title, with places decimals.
inline QString Number(double v, int places) {
  return QString::number(v, 'f', places);
}

QLineSeries* Line(const QString& name, QColor colour, Qt::PenStyle style, double width);

QScatterSeries* Dots(const QString& name, QColor colour, double size);

// The axes over the series, the x axis over xLow..xHigh and the y axis over yLow..yHigh with a
// margin; every series attached to both.
void AddAxes(QChart* chart, const std::vector<QAbstractSeries*>& series, double xLow, double xHigh,
             double yLow, double yHigh, const QString& yTitle);

}  // namespace tarvenol
