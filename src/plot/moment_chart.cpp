#include "plot/moment_chart.h"

#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/shown_text.h"

namespace tarvenol {
namespace {

// The angles' axis over the table's range, ticked from 0.
QValueAxis* AngleAxis(double first, double last) {
  auto* axis = new QValueAxis;
  axis->setTitleText("α, degrees");
  if (last > first) {
    axis->setRange(first, last);
  } else {
    axis->setRange(first - 1, first + 1);  // one angle: its point in the middle
  }
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(last - first > 90 ? 15 : last - first > 45 ? 10 : 5);
  axis->setLabelFormat("%.0f");
  return axis;
}

// The moment's axis over low..high, and no less than kMomentScale either side of 0.
QValueAxis* MomentAxis(double low, double high) {
  double margin = 0.05 * (high - low);
  if (high - low < 2 * kMomentScale) {
    low = std::min(low, -kMomentScale);
    high = std::max(high, kMomentScale);
    margin = 0;
  }
  auto* axis = new QValueAxis;
  axis->setTitleText("C<sub>M</sub> = M / (½ ρ U² V)");
  axis->setRange(low - margin, high + margin);
  axis->applyNiceNumbers();
  // Ticks counted from 0, so that 0 is a tick of its own and not a rounded -0.00.
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval((axis->max() - axis->min()) / (axis->tickCount() - 1));
  return axis;
}

}  // namespace

QChart* MakeMomentChart(const ForcesTable& table, const std::string& body) {
  auto* chart = new QChart;
  chart->setTitle(QString::fromStdString(MarkupTitle(
      "Pitching moment of " + body + " about its centre of volume, nose up, on the volume")));
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* panels = new QLineSeries;
  panels->setName("panels");
  panels->setPen(QPen(QColor(0, 70, 200), 1.5));
  auto* munk = new QLineSeries;
  munk->setName("Munk, 2 (k2 − k1) sin α cos α");
  munk->setPen(QPen(QColor(0, 0, 0), 1, Qt::DashLine));
  // A colour of its own, drawn over the curve: the angle may lie between the table's rows.
  auto* marked = new QScatterSeries;
  marked->setName("α shown");
  marked->setColor(QColor(230, 90, 0));
  marked->setBorderColor(QColor(120, 40, 0));
  marked->setMarkerSize(10);
  double low = 0, high = 0;
  const auto reach = [&](double cm) {
    low = std::min(low, cm);
    high = std::max(high, cm);
  };
  for (const PressureForces& r : table.rows) {
    const double cm = MomentCoefficient(r.Pitching(), table.figures);
    panels->append(r.alphaDegrees, cm);
    reach(cm);
    if (table.spheroid) {
      const double exact = MunkMomentCoefficient(*table.spheroid, IncidenceOf(r.alphaDegrees));
      munk->append(r.alphaDegrees, exact);
      reach(exact);
    }
  }
  double first = 0, last = 1;
  if (!table.rows.empty()) {
    first = table.rows.front().alphaDegrees;
    last = table.rows.back().alphaDegrees;
  }
  if (table.shown && table.shown->alphaDegrees >= first && table.shown->alphaDegrees <= last) {
    const double cm = MomentCoefficient(table.shown->Pitching(), table.figures);
    marked->append(table.shown->alphaDegrees, cm);
    reach(cm);
  }
  // A table of one angle has no line to draw: its point is drawn instead.
  panels->setPointsVisible(table.rows.size() == 1);
  munk->setPointsVisible(table.rows.size() == 1);
  QValueAxis* xAxis = AngleAxis(first, last);
  QValueAxis* yAxis = MomentAxis(low, high);
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
