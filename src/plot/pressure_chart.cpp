#include "plot/pressure_chart.h"

#include <QBuffer>
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

namespace tarvenol {
namespace {

// Points of the closed-form curve along the body.
constexpr int kCurvePoints = 400;

QString Number(double v, int places) {
  return QString::number(v, 'f', places);
}

// What the body is, where the closed form knows it.
QString ExactKind(const Spheroid& s) {
  return std::fabs(s.a - s.b) <= kSpheroidTolerance * s.a
             ? QString("exact for a sphere: 1 − Cp = 9/4 sin²θ")
             : QString("exact for a prolate spheroid of a/b = %1").arg(Number(s.a / s.b, 3));
}

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

}  // namespace

QChart* MakePressureChart(const PressureAlongBody& p) {
  auto* chart = new QChart;
  QString title = QString("Pressure along %1, %2 × %3 panels")
                      .arg(QString::fromStdString(p.body))
                      .arg(p.NI)
                      .arg(p.NJ);
  if (p.spheroid) title += "; " + ExactKind(*p.spheroid);
  // The chart reads its title as HTML: a body named "R&D <b>" is shown as it is named. So
  // does an SVG file, whose title, XML, takes the chart's as it stands.
  chart->setTitle(title.toHtmlEscaped());
  chart->legend()->setAlignment(Qt::AlignBottom);

  double xLow = HUGE_VAL, xHigh = -HUGE_VAL, yLow = 0, yHigh = 1;
  auto* all = Dots("1 − Cp, all j", QColor(150, 190, 240), 5);
  auto* meridian = Line("1 − Cp, j = 1", QColor(0, 70, 200), Qt::SolidLine, 1.5);
  auto* meridianCp = Line("Cp, j = 1", QColor(200, 30, 30), Qt::SolidLine, 1.5);
  auto* meridianDots = Dots("", QColor(0, 70, 200), 7);
  for (const PanelResult& r : p.panels) {
    all->append(r.xC, r.oneMinusCp);
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

  auto* xAxis = new QValueAxis;
  xAxis->setTitleText("x");
  auto* yAxis = new QValueAxis;
  yAxis->setTitleText("1 − Cp and Cp");
  if (!(xLow < xHigh)) {
    xLow = 0;
    xHigh = 1;
  }
  const double margin = 0.05 * (yHigh - yLow);
  xAxis->setRange(xLow, xHigh);
  yAxis->setRange(yLow - margin, yHigh + margin);
  yAxis->applyNiceNumbers();
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  for (QAbstractSeries* s : series) {
    chart->addSeries(s);
    s->attachAxis(xAxis);
    s->attachAxis(yAxis);
  }
  // The line's own dots need no entry of their own in the legend.
  chart->legend()->markers(meridianDots).first()->setVisible(false);
  return chart;
}

std::string PressurePlotBytes(const PressureAlongBody& pressure, PlotFormat format, int width,
                              int height) {
  QChartView view(MakePressureChart(pressure));
  view.setRenderHint(QPainter::Antialiasing);
  view.resize(width, height);
  // Drawn once, so that the chart is laid out at its size, as a shown view would be.
  const QPixmap image = view.grab();
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  bool drawn = true;
  if (format == PlotFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(view.logicalDpiX());
    svg.setTitle(view.chart()->title());
    QPainter painter(&svg);
    view.render(&painter);
    drawn = painter.end();
  } else {
    drawn = image.save(&file, "PNG");
  }
  return drawn ? bytes.toStdString() : std::string();
}

}  // namespace tarvenol
