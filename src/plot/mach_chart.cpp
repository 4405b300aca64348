#include "plot/mach_chart.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "core/shown_text.h"
#include "plot/chart_parts.h"
#include "results/compressibility.h"
#include "results/pressure.h"

namespace tarvenol {
namespace {

QString RuleName(const MachSetting& m) {
  return m.rule == PressureRule::GoethertKarmanTsien ? "Göthert's rule with Kármán–Tsien"
                                                     : "Göthert's rule";
}

QString Title(const PressureAlongBody& p, const MachAlongBody& m) {
  const QString at =
      p.incidence.degrees != 0 ? QString(" at α = %1°").arg(p.incidence.degrees) : QString();
  QString title = QString("Pressure along %1 at M = %2%3 by %4, %5 × %6 panels")
                      .arg(QString::fromStdString(p.body), QString::number(m.setting.mach), at,
                           RuleName(m.setting))
                      .arg(p.NI)
                      .arg(p.NJ);
  if (m.supersonic) {
    title += QString(
                 "\nLocally supersonic: the lowest Cp, %1 at x = %2, is below Cp* = %3; the "
                 "method does not hold there")
                 .arg(Number(m.CpMin, 4), Number(m.xCpMin, 3), Number(m.CpStar, 4));
  }
  return title;
}

// The range of the values drawn, widened by each.
struct Extent {
  double xLow = HUGE_VAL, xHigh = -HUGE_VAL, yLow = 0, yHigh = 0;
  void Add(double x, double y) {
    xLow = std::min(xLow, x);
    xHigh = std::max(xHigh, x);
    yLow = std::min(yLow, y);
    yHigh = std::max(yHigh, y);
  }
};

}  // namespace

QChart* MakeMachChart(const PressureAlongBody& p) {
  const MachAlongBody& m = *p.mach;
  auto* chart = new QChart;
  // The chart reads its title as HTML: each line marked up, and a line break as one.
  QStringList lines = Title(p, m).split('\n');
  for (QString& line : lines) line = QString::fromStdString(MarkupTitle(line.toStdString()));
  chart->setTitle(lines.join("<br>"));
  chart->legend()->setAlignment(Qt::AlignBottom);

  const bool incidence = p.incidence.degrees != 0;
  const int first = incidence ? p.windward : 1;
  const QString side = incidence ? QString(", windward j = %1").arg(p.windward) : QString();
  auto* atMach = Line("Cp at M = " + QString::number(m.setting.mach) + side, QColor(0, 70, 200),
                      Qt::SolidLine, 1.5);
  auto* dots = Dots("", QColor(0, 70, 200), 6);
  auto* leeward = Line(QString("Cp at M, leeward j = %1").arg(p.leeward), QColor(220, 110, 0),
                       Qt::SolidLine, 1.5);
  auto* incompressible = Line("Cp at M = 0" + side, QColor(120, 120, 120), Qt::DotLine, 1.5);
  auto* planar =
      Line("planar scaling Cp₀/β" + side + " (comparison)", QColor(200, 30, 30), Qt::DashLine, 1.5);
  Extent e;
  for (std::size_t k = 0; k < p.panels.size(); ++k) {
    const PanelResult& r = p.panels[k];
    if (r.j == first) {
      atMach->append(r.xC, r.Cp);
      dots->append(r.xC, r.Cp);
      planar->append(r.xC, m.planarCp[k]);
      incompressible->append(r.xC, m.planarCp[k] * m.beta);
      e.Add(r.xC, r.Cp);
      e.Add(r.xC, m.planarCp[k]);
    } else if (incidence && r.j == p.leeward) {
      leeward->append(r.xC, r.Cp);
      e.Add(r.xC, r.Cp);
    }
  }
  std::vector<QAbstractSeries*> series;
  if (p.spheroid) {
    const Spheroid& s = *p.spheroid;
    // Along the panels' own meridian, at the angle of its first control point.
    const auto curve = [&](int j, const QString& name, Qt::PenStyle style) {
      double angle = 0;
      for (const PanelResult& r : p.panels) {
        if (r.j == j) {
          angle = std::atan2(r.zC, r.yC);
          break;
        }
      }
      auto* exact = Line(name, QColor(0, 0, 0), style, 1);
      for (int k = 0; k <= kCurvePoints; ++k) {
        const double u = -s.a + 2 * s.a * k / kCurvePoints;
        const double r = s.b * std::sqrt(std::max(0.0, 1 - u * u / (s.a * s.a)));
        const double Cp = ExactCpAtMach(s, p.incidence, m.setting, s.centre + u,
                                        r * std::cos(angle), r * std::sin(angle));
        exact->append(s.centre + u, Cp);
        e.Add(s.centre + u, Cp);
      }
      series.push_back(exact);
    };
    curve(first, "exact affine spheroid; deviation " + Number(p.deviation, 4), Qt::SolidLine);
    if (incidence) curve(p.leeward, "the same, leeward", Qt::DashLine);
  }
  series.insert(series.end(), {incompressible, planar, atMach, dots});
  if (incidence) series.push_back(leeward);
  // The sonic pressure, where it lies near the curves; far below them it would flatten them.
  if (m.CpStar >= 2 * e.yLow - e.yHigh) {
    auto* sonic =
        Line("sonic Cp* = " + Number(m.CpStar, 4), QColor(150, 0, 150), Qt::DashDotLine, 1);
    sonic->append(e.xLow, m.CpStar);
    sonic->append(e.xHigh, m.CpStar);
    e.Add(e.xLow, m.CpStar);
    series.push_back(sonic);
  }
  if (!incidence) delete leeward;
  AddAxes(chart, series, e.xLow, e.xHigh, e.yLow, e.yHigh, "Cp");
  chart->legend()->markers(dots).first()->setVisible(false);
  return chart;
}

}  // namespace tarvenol
