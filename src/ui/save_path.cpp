#include "ui/save_path.h"

#include <QFile>
#include <QFileDialog>

#include "session/saved_files.h"

namespace tarvenol {

QString AskSavePath(QWidget* parent, const SavePathSink& paths, const QString& title,
                    const QString& suggested, const QString& filter) {
  return paths ? paths(title, suggested, filter)
               : QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

void SavePicture(QWidget* parent, const SavePathSink& paths, const Program& p, WindowOps& win,
                 const QString& title, const QString& suggested, const std::string& what,
                 const std::function<std::string(PlotFormat)>& draw) {
  const QString chosen =
      AskSavePath(parent, paths, title, suggested, "PNG pictures (*.png);;SVG pictures (*.svg)");
  if (chosen.isEmpty()) return;
  const std::string path = QFile::encodeName(chosen).toStdString();
  SaveDrawnFile(p, win, path, what, draw(PictureFormatOf(path).value_or(PlotFormat::Png)));
}

}  // namespace tarvenol
