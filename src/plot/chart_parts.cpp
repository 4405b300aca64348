#include "plot/chart_parts.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

namespace tarvenol {

QLineSeries* Line(const QString& name, QColor colour, Qt::PenStyle style, double width) {
  auto* series = new QLineSeries;
  series->setName(name);
  QPen pen(colour, width, style);
  series->setPen(pen);
  return series;
}

QScatterSeries* Dots(const QString& name, QColor colour, double size) {
  auto* series = new QScatterSeries;
  series->setName(name);
  series->setColor(colour);
  series->setBorderColor(colour);
  series->setMarkerSize(size);
  return series;
}

void AddAxes(QChart* chart, const std::vector<QAbstractSeries*>& series, double xLow, double xHigh,
             double yLow, double yHigh, const QString& yTitle) {
  auto* xAxis = new QValueAxis;
  xAxis->setTitleText("x");
  auto* yAxis = new QValueAxis;
  yAxis->setTitleText(yTitle);
  if (!(xLow < xHigh)) {
    xLow = 0;
    xHigh = 1;
  }
  const double margin = 0.05 * (yHigh - yLow);
  xAxis->setRange(xLow, xHigh);
  yAxis->setRange(yLow - margin, yHigh + margin);
  // Ticks at round numbers: each range is widened to the nearest ones.
  xAxis->applyNiceNumbers();
  yAxis->applyNiceNumbers();
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  for (QAbstractSeries* s : series) {
    chart->addSeries(s);
    s->attachAxis(xAxis);
    s->attachAxis(yAxis);
  }
}

}  // namespace tarvenol
