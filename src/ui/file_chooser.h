#pragma once
// The body-file chooser: Drive1 offers the places a user can start from (the root, the home
// folder, mounted volumes), Dir1 walks the directories, and File_Body lists the body files.

#include <QComboBox>
#include <QListWidget>
#include <QString>

namespace tarvenol {

class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(QWidget* parent);
  // The place now chosen, as a directory path.
  QString Drive() const;
  // Chooses the deepest place that holds path, as where the directory list has moved to,
  // without raising driveChanged.
  void Follow(const QString& path);

 signals:
  void driveChanged();
};

// The chosen directory with its ancestors above it and its subdirectories below; activating
// a row (double click or Enter) moves there.
class DirectoryList : public QListWidget {
  Q_OBJECT

 public:
  explicit DirectoryList(QWidget* parent);
  QString Path() const { return path_; }
  // Shows path and raises pathChanged, also when path is the one shown.
  void SetPath(const QString& path);

 signals:
  void pathChanged();

 protected:
  // Directories made while the list was hidden appear when it is shown again.
  void showEvent(QShowEvent* event) override;

 private:
  void Fill();

  QString path_;
};

// The names of the files matching "*.body" in one directory; a click chooses one.
class FileList : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent);
  QString Path() const { return path_; }
  void SetPath(const QString& path);
  // The file last clicked, without its directory.
  QString FileName() const { return fileName_; }

 signals:
  void fileClicked();

 protected:
  // Enter on a name chooses it as a click does.
  void keyPressEvent(QKeyEvent* event) override;
  // Files made while the list was hidden appear when it is shown again.
  void showEvent(QShowEvent* event) override;

 private:
  void Fill();
  void Choose(const QListWidgetItem* item);

  QString path_;
  QString fileName_;
};

}  // namespace tarvenol
