#include "plot/drag_chart.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/shown_text.h"

namespace tarvenol {
namespace {

QString Figure(double v) {
  return QString::number(v, 'g', 4);
}

QLineSeries* Line(const QString& name, QColor colour) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setPen(QPen(colour, 1.5));
  return series;
}

// An axis from low to high in the series' colour, so that each curve is read on its own.
QValueAxis* Axis(const QString& title, QColor colour, double low, double high) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setTitleBrush(colour);
  axis->setLabelsColor(colour);
  axis->setLinePenColor(colour);
  axis->setRange(low, high > low ? high : low + 1);
  axis->applyNiceNumbers();
  return axis;
}

// The figures the window shows beside the chart: here the drag, which a file of the chart
// carries with it.
QString Title(const BoundaryLayerResult& layer, const std::string& body) {
  return QString::fromStdString(MarkupTitle("Boundary layer of " + body)) +
         QString(" at Re<sub>L</sub> = %1: C<sub>D</sub> = %2 on the wetted area")
             .arg(Figure(layer.figures.ReL), Figure(layer.figures.CDWetted));
}

}  // namespace

QChart* MakeDragChart(const BoundaryLayerResult& layer, double length, const std::string& body) {
  auto* chart = new QChart;
  chart->setTitle(Title(layer, body));
  chart->legend()->setAlignment(Qt::AlignBottom);
  const QColor cfColour(0, 70, 200), thetaColour(200, 60, 0), hColour(0, 130, 60);
  auto* cf = Line("cf × 10³", cfColour);
  auto* theta = Line("θ/L × 10³", thetaColour);
  auto* H = Line("H", hColour);
  double cfHigh = 0, thetaHigh = 0, hLow = 1, hHigh = 2;
  for (const LayerStation& k : layer.stations) {
    if (!std::isfinite(k.cf) || !std::isfinite(k.theta) || !std::isfinite(k.H)) continue;
    cf->append(k.xOverL, 1e3 * k.cf);
    theta->append(k.xOverL, 1e3 * k.theta / length);
    H->append(k.xOverL, k.H);
    if (k.xOverL >= kSkinFrictionScaleFrom) cfHigh = std::max(cfHigh, 1e3 * k.cf);
    thetaHigh = std::max(thetaHigh, 1e3 * k.theta / length);
    hLow = std::min(hLow, k.H);
    hHigh = std::max(hHigh, k.H);
  }
  auto* xAxis = new QValueAxis;
  xAxis->setTitleText("x/L");
  xAxis->setRange(0, 1);
  xAxis->setTickCount(11);
  xAxis->setLabelFormat("%.1f");
  QValueAxis* cfAxis = Axis("c<sub>f</sub> × 10³ on U<sub>e</sub>", cfColour, 0, 1.1 * cfHigh);
  QValueAxis* thetaAxis = Axis("θ/L × 10³", thetaColour, 0, 1.05 * thetaHigh);
  QValueAxis* hAxis = Axis("H", hColour, hLow, hHigh);
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(cfAxis, Qt::AlignLeft);
  chart->addAxis(thetaAxis, Qt::AlignRight);
  chart->addAxis(hAxis, Qt::AlignRight);
  for (const auto& [series, axis] : {std::pair{cf, cfAxis}, {theta, thetaAxis}, {H, hAxis}}) {
    chart->addSeries(series);
    series->attachAxis(xAxis);
    series->attachAxis(axis);
  }
  return chart;
}

}  // namespace tarvenol
