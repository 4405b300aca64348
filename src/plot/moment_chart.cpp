#include "plot/moment_chart.h"

#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

#include "core/shown_text.h"

namespace tarvenol {

QChart* MakeMomentChart(const ForcesTable& table, const std::string& body,
                        std::optional<double> markedDegrees) {
  auto* chart = new QChart;
  chart->setTitle(QString::fromStdString(MarkupTitle(
      "Pitching moment of " + body + " about its centre of volume, nose up, on the volume")));
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* panels = new QLineSeries;
  panels->setName("panels");
  panels->setPen(QPen(QColor(0, 70, 200), 1.5));
  auto* marked = new QScatterSeries;
  marked->setName("α shown");
  marked->setColor(QColor(0, 70, 200));
  marked->setMarkerSize(9);
  auto* munk = new QLineSeries;
  munk->setName("Munk, 2 (k2 − k1) sin α cos α");
  munk->setPen(QPen(QColor(0, 0, 0), 1, Qt::DashLine));
  double low = 0, high = 0, first = 0, last = 1;
  for (const PressureForces& r : table.rows) {
    const double cm = MomentCoefficient(r.Pitching(), table.figures);
    panels->append(r.alphaDegrees, cm);
    if (markedDegrees && *markedDegrees == r.alphaDegrees) marked->append(r.alphaDegrees, cm);
    low = std::min(low, cm);
    high = std::max(high, cm);
    if (table.spheroid) {
      const double exact = MunkMomentCoefficient(*table.spheroid, IncidenceOf(r.alphaDegrees));
      munk->append(r.alphaDegrees, exact);
      low = std::min(low, exact);
      high = std::max(high, exact);
    }
  }
  if (!table.rows.empty()) {
    first = table.rows.front().alphaDegrees;
    last = table.rows.back().alphaDegrees;
  }
  // A table of one angle has no line to draw: its point is drawn instead.
  panels->setPointsVisible(table.rows.size() == 1);
  munk->setPointsVisible(table.rows.size() == 1);
  auto* xAxis = new QValueAxis;
  xAxis->setTitleText("α, degrees");
  if (last > first) {
    xAxis->setRange(first, last);
  } else {
    xAxis->setRange(first - 1, first + 1);
  }
  xAxis->setTickType(QValueAxis::TicksDynamic);
  xAxis->setTickAnchor(0);
  xAxis->setTickInterval(last - first > 45 ? 10 : 5);
  xAxis->setLabelFormat("%.0f");
  auto* yAxis = new QValueAxis;
  yAxis->setTitleText("C_M = M / (½ ρ U² V)");
  const double margin = 0.05 * (high - low) + 1e-12;
  yAxis->setRange(low - margin, high + margin);
  yAxis->applyNiceNumbers();
  // Ticks counted from 0, so that 0 is a tick of its own and not a rounded -0.00.
  yAxis->setTickType(QValueAxis::TicksDynamic);
  yAxis->setTickAnchor(0);
  yAxis->setTickInterval((yAxis->max() - yAxis->min()) / (yAxis->tickCount() - 1));
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  QList<QAbstractSeries*> series = {panels, marked};
  if (table.spheroid) {
    series.push_front(munk);
  } else {
    delete munk;
  }
  for (QAbstractSeries* s : series) {
    chart->addSeries(s);
    s->attachAxis(xAxis);
    s->attachAxis(yAxis);
  }
  return chart;
}

}  // namespace tarvenol
