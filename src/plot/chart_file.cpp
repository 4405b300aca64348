#include "plot/chart_file.h"

#include <sys/stat.h>

#include <QChart>
#include <QChartView>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgGenerator>

namespace tarvenol {

std::string SaveChart(QChart* chart, const std::string& path, int width, int height) {
  QChartView view(chart);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return "it is not a regular file";
  view.setRenderHint(QPainter::Antialiasing);
  view.resize(width, height);
  // Drawn once, so that the chart is laid out at its size, as a shown view would be.
  const QPixmap image = view.grab();
  QSaveFile file(QFile::decodeName(path.c_str()));
  if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
  bool drawn = true;
  if (QString::fromStdString(path).endsWith(".svg", Qt::CaseInsensitive)) {
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
  if (!drawn) {
    file.cancelWriting();
    return file.error() != QFileDevice::NoError ? file.errorString().toStdString()
                                                : "the plot cannot be drawn";
  }
  if (!file.commit()) return file.errorString().toStdString();
  return {};
}

}  // namespace tarvenol
