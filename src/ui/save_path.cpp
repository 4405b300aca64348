#include "ui/save_path.h"

#include <QFile>
#include <QFileDialog>

namespace tarvenol {

QString AskSavePath(QWidget* parent, const SavePathSink& paths, const QString& title,
                    const QString& suggested, const QString& filter) {
  return paths ? paths(title, suggested, filter)
               : QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

std::string AskPicturePath(QWidget* parent, const SavePathSink& paths, const QString& title,
                           const QString& suggested) {
  const QString chosen =
      AskSavePath(parent, paths, title, suggested, "PNG pictures (*.png);;SVG pictures (*.svg)");
  return QFile::encodeName(chosen).toStdString();
}

}  // namespace tarvenol
