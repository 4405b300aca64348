#pragma once
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

QLineSeries* Line(const QString& name, QColor colour, Qt::PenStyle style, double width);

QScatterSeries* Dots(const QString& name, QColor colour, double size);

// The axes over the series, the x axis over xLow..xHigh and the y axis over yLow..yHigh with a
// margin; every series attached to both.
void AddAxes(QChart* chart, const std::vector<QAbstractSeries*>& series, double xLow, double xHigh,
             double yLow, double yHigh, const QString& yTitle);

}  // namespace tarvenol
