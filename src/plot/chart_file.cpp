#include "plot/chart_file.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>

namespace tarvenol {

std::string ChartBytes(QChart* chart, PlotFormat format, int width, int height) {
  QChartView view(chart);
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
