#pragma once
// Where a file the user saves from a window goes, asked of a file dialog or of the tests.

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace tarvenol {

// Title, suggested name and filter of the question; the path, or "" for none.
using SavePathSink =
    std::function<QString(const QString& title, const QString& suggested, const QString& filter)>;

// The path from paths where it is given, else from a file dialog over parent.
QString AskSavePath(QWidget* parent, const SavePathSink& paths, const QString& title,
                    const QString& suggested, const QString& filter);

// Asks where to save a picture, PNG or SVG by its name: the path in the file system's encoding,
// or "" for none.
std::string AskPicturePath(QWidget* parent, const SavePathSink& paths, const QString& title,
                           const QString& suggested);

}  // namespace tarvenol
