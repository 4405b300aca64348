#include "plot/pressure_chart.h"

#include "plot/chart_file.h"
#include "plot/chart_parts.h"
#include "plot/mach_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPixmap>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/shown_text.h"

namespace tarvenol {
namespace {

// What the body is, where the closed form knows it.
QString ExactKind(const Spheroid& s) {
  return std::fabs(s.a - s.b) <= kSpheroidTolerance * s.a
             ? QString("exact for a sphere: 1 − Cp = 9/4 sin²θ")
             : QString("exact for a prolate spheroid of a/b = %1").arg(Number(s.a / s.b, 3));
}

// Beyond this many panels their dots become the band they fill: a chart of ten thousand markers
// takes half a second to draw, too slow to follow a slider.
constexpr std::size_t kMostDots = 2000;

// 1 - Cp of every panel: a dot each, or, for many panels, the band from the least to the largest
// value of each row around the body.
QAbstractSeries* EveryPanel(const QString& name, QColor colour,
                            const std::vector<PanelResult>& panels) {
  if (panels.size() <= kMostDots) {
    auto* dots = Dots(name, colour, 5);
    for (const PanelResult& r : panels) dots->append(r.xC, r.oneMinusCp);
    return dots;
  }
  auto* upper = new QLineSeries;
  auto* lower = new QLineSeries;
  for (std::size_t first = 0; first < panels.size();) {
    std::size_t next = first;
    double least = HUGE_VAL, most = -HUGE_VAL, x = 0;
    for (; next < panels.size() && panels[next].i == panels[first].i; ++next) {
      least = std::min(least, panels[next].oneMinusCp);
      most = std::max(most, panels[next].oneMinusCp);
      x += panels[next].xC;
    }
    x /= static_cast<double>(next - first);
    upper->append(x, most);
    lower->append(x, least);
    first = next;
  }
  auto* band = new QAreaSeries(upper, lower);
  band->setName(name + ", least to largest");
  band->setColor(colour);
  band->setBorderColor(colour);
  return band;
}

// A chart titled with the body, the angle of attack where it is not 0, the panels and the closed
// form it is compared with.
QChart* NewChart(const PressureAlongBody& p) {
  auto* chart = new QChart;
  const QString at =
      p.incidence.degrees != 0 ? QString(" at α = %1°").arg(p.incidence.degrees) : QString();
  QString title = QString("Pressure along %1%2, %3 × %4 panels")
                      .arg(QString::fromStdString(p.body), at)
                      .arg(p.NI)
                      .arg(p.NJ);
  if (p.spheroid) title += "; " + ExactKind(*p.spheroid);
  // The chart reads its title as HTML: a body named "R&D <b>" is shown as it is named. So
  // does an SVG file, whose title, XML, takes the chart's as it stands.
  chart->setTitle(QString::fromStdString(MarkupTitle(title.toStdString())));
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

// At an angle of attack: 1 - Cp along the windward and the leeward meridian, and on the
// spheroid the closed form at the angle along the same meridians.
QChart* MakeIncidenceChart(const PressureAlongBody& p) {
  QChart* chart = NewChart(p);

  double xLow = HUGE_VAL, xHigh = -HUGE_VAL, yLow = 0, yHigh = 1;
  QAbstractSeries* all = EveryPanel("all j", QColor(190, 200, 220), p.panels);
  auto* windward =
      Line(QString("windward, j = %1").arg(p.windward), QColor(0, 70, 200), Qt::SolidLine, 1.5);
  auto* leeward =
      Line(QString("leeward, j = %1").arg(p.leeward), QColor(220, 110, 0), Qt::SolidLine, 1.5);
  double windwardAngle = 0, leewardAngle = 0;  // of the meridians' control points
  for (const PanelResult& r : p.panels) {
    if (r.j == p.windward) {
      windward->append(r.xC, r.oneMinusCp);
      windwardAngle = std::atan2(r.zC, r.yC);
    }
    if (r.j == p.leeward) {
      leeward->append(r.xC, r.oneMinusCp);
      leewardAngle = std::atan2(r.zC, r.yC);
    }
    xLow = std::min(xLow, r.xC);
    xHigh = std::max(xHigh, r.xC);
    yHigh = std::max(yHigh, r.oneMinusCp);
  }
  std::vector<QAbstractSeries*> series;
  if (p.spheroid) {
    const Spheroid& s = *p.spheroid;
    const auto curve = [&](const QString& name, double angle, const QColor& colour,
                           Qt::PenStyle style) {
      auto* exact = Line(name, colour, style, 1);
      for (int k = 0; k <= kCurvePoints; ++k) {
        const double u = -s.a + 2 * s.a * k / kCurvePoints;
        const double r = s.b * std::sqrt(std::max(0.0, 1 - u * u / (s.a * s.a)));
        const double value =
            ExactOneMinusCpAtIncidence(s, p.incidence.cosA, p.incidence.sinA, s.centre + u,
                                       r * std::cos(angle), r * std::sin(angle));
        exact->append(s.centre + u, value);
        yHigh = std::max(yHigh, value);
      }
      return exact;
    };
    // Each entry of the legend in a colour of its own.
    series = {curve(QString("exact; largest deviation %1").arg(Number(p.deviation, 4)),
                    windwardAngle, QColor(0, 0, 0), Qt::SolidLine),
              curve("exact, leeward", leewardAngle, QColor(120, 60, 0), Qt::DashLine)};
    xLow = std::min(xLow, s.centre - s.a);
    xHigh = std::max(xHigh, s.centre + s.a);
  }
  series.insert(series.end(), {all, windward, leeward});
  AddAxes(chart, series, xLow, xHigh, yLow, yHigh, "1 − Cp");
  return chart;
}

}  // namespace

QChart* MakePressureChart(const PressureAlongBody& p) {
  if (p.mach) return MakeMachChart(p);
  if (p.incidence.degrees != 0) return MakeIncidenceChart(p);
  QChart* chart = NewChart(p);

  double xLow = HUGE_VAL, xHigh = -HUGE_VAL, yLow = 0, yHigh = 1;
  QAbstractSeries* all = EveryPanel("1 − Cp, all j", QColor(150, 190, 240), p.panels);
  auto* meridian = Line("1 − Cp, j = 1", QColor(0, 70, 200), Qt::SolidLine, 1.5);
  auto* meridianCp = Line("Cp, j = 1", QColor(200, 30, 30), Qt::SolidLine, 1.5);
  auto* meridianDots = Dots("", QColor(0, 70, 200), 7);
  for (const PanelResult& r : p.panels) {
    if (r.j == 1) {
      meridian->append(r.xC, r.oneMinusCp);
      meridianDots->append(r.xC, r.oneMinusCp);
      meridianCp->append(r.xC, r.Cp);
    }
    xLow = std::min(xLow, r.xC);
    xHigh = std::max(xHigh, r.xC);
    yLow = std::min(yLow, r.Cp);
    yHigh = std::max(yHigh, r.oneMinusCp);
  }
  std::vector<QAbstractSeries*> series;
  if (p.spheroid) {
    const Spheroid& s = *p.spheroid;
    auto* exact = Line(QString("1 − Cp exact; largest deviation %1").arg(Number(p.deviation, 4)),
                       QColor(0, 0, 0), Qt::SolidLine, 1);
    auto* exactCp = Line("Cp exact", QColor(90, 90, 90), Qt::DashLine, 1);
    for (int k = 0; k <= kCurvePoints; ++k) {
      const double x = s.centre - s.a + 2 * s.a * k / kCurvePoints;
      const double value = ExactOneMinusCp(s, x);
      exact->append(x, value);
      exactCp->append(x, 1 - value);
      yLow = std::min(yLow, 1 - value);
      yHigh = std::max(yHigh, value);
    }
    xLow = std::min(xLow, s.centre - s.a);
    xHigh = std::max(xHigh, s.centre + s.a);
    series = {exact, exactCp};
  }
  series.insert(series.end(), {all, meridian, meridianDots, meridianCp});
  AddAxes(chart, series, xLow, xHigh, yLow, yHigh, "1 − Cp and Cp");
  // The line's own dots need no entry of their own in the legend.
  chart->legend()->markers(meridianDots).first()->setVisible(false);
  return chart;
}

std::string PressurePlotBytes(const PressureAlongBody& pressure, PlotFormat format, int width,
                              int height) {
  return ChartBytes(MakePressureChart(pressure), format, width, height);
}

}  // namespace tarvenol
