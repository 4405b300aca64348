#pragma once
// Where a file the user saves from a window goes, asked of a file dialog or of the tests; and a
// picture saved there as the batch tool saves it.

#include <QString>
#include <functional>
#include <string>

#include "core/window_ops.h"
#include "session/program.h"
#include "plot/chart_file.h"

class QWidget;

namespace tarvenol {

// Title, suggested name and filter of the question; the path, or "" for none.
using SavePathSink =
    std::function<QString(const QString& title, const QString& suggested, const QString& filter)>;

// The path from paths where it is given, else from a file dialog over parent.
QString AskSavePath(QWidget* parent, const SavePathSink& paths, const QString& title,
                    const QString& suggested, const QString& filter);

// Asks where to save a picture, then writes there what draw gives for the format the name asks
// for (SVG for ".svg", PNG otherwise), through the program's one writer, which keeps the files
// the program holds; what names the file in a message.
void SavePicture(QWidget* parent, const SavePathSink& paths, const Program& p, WindowOps& win,
                 const QString& title, const QString& suggested, const std::string& what,
                 const std::function<std::string(PlotFormat)>& draw);

}  // namespace tarvenol
