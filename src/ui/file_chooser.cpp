#include "ui/file_chooser.h"

#include <QDir>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>

namespace tarvenol {
namespace {

constexpr int kPathRole = Qt::UserRole;

bool IsUnder(const QString& path, const QString& root) {
  return path == root || root == "/" || path.startsWith(root + "/");
}

// Volumes a user mounts: removable media and network shares, not the system's own mounts.
bool IsUserVolume(const QStorageInfo& volume) {
  const QString root = volume.rootPath();
  return volume.isValid() && volume.isReady() &&
         (root.startsWith("/media/") || root.startsWith("/mnt/") || root.startsWith("/run/media/"));
}

}  // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  addItem("/", "/");
  const QString home = QDir::homePath();
  if (home != "/") addItem(tr("Home"), home);
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (IsUserVolume(volume) && findData(volume.rootPath()) < 0) {
      addItem(volume.rootPath(), volume.rootPath());
    }
  }
  for (int i = 0; i < count(); ++i) setItemData(i, itemData(i), Qt::ToolTipRole);

  Follow(QDir::currentPath());
  connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

void DriveList::Follow(const QString& path) {
  int chosen = 0;
  for (int i = 1; i < count(); ++i) {
    if (IsUnder(path, itemData(i).toString()) &&
        itemData(i).toString().size() > itemData(chosen).toString().size()) {
      chosen = i;
    }
  }
  const QSignalBlocker quiet(this);
  setCurrentIndex(chosen);
}

QString DriveList::Drive() const {
  return currentData().toString();
}

DirectoryList::DirectoryList(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemActivated, this,
          [this](const QListWidgetItem* item) { SetPath(item->data(kPathRole).toString()); });
}

void DirectoryList::SetPath(const QString& path) {
  path_ = QDir::cleanPath(QDir(path).absolutePath());
  Fill();
  emit pathChanged();
}

void DirectoryList::showEvent(QShowEvent* event) {
  Fill();
  QListWidget::showEvent(event);
}

void DirectoryList::Fill() {
  clear();

  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  auto addRow = [this](const QIcon& icon, int depth, const QString& name, const QString& full) {
    auto* item = new QListWidgetItem(icon, QString(qsizetype{2} * depth, ' ') + name, this);
    item->setData(kPathRole, full);
    item->setToolTip(full);
    return item;
  };

  // Root first, then each folder down to the chosen one.
  const QStringList parts = path_.split('/', Qt::SkipEmptyParts);
  QString full = "/";
  QListWidgetItem* chosen = addRow(open, 0, "/", full);
  for (int depth = 0; depth < parts.size(); ++depth) {
    full = full == "/" ? "/" + parts[depth] : full + "/" + parts[depth];
    chosen = addRow(open, depth + 1, parts[depth], full);
  }
  const QDir dir(path_);
  for (const QString& name :
       dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    addRow(closed, static_cast<int>(parts.size()) + 1, name, dir.filePath(name));
  }
  setCurrentItem(chosen);
  scrollToItem(chosen, QAbstractItemView::PositionAtTop);
}

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemClicked, this, &FileList::Choose);
}

void FileList::SetPath(const QString& path) {
  path_ = QDir::cleanPath(QDir(path).absolutePath());
  Fill();
}

void FileList::showEvent(QShowEvent* event) {
  Fill();
  QListWidget::showEvent(event);
}

void FileList::Fill() {
  clear();
  const QDir dir(path_);
  for (const QString& name :
       dir.entryList({"*.body"}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
    // A long name is cut in the list; the whole of it shows when the pointer rests on it.
    auto* item = new QListWidgetItem(name, this);
    item->setToolTip(dir.filePath(name));
  }
}

void FileList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    Choose(currentItem());
    return;
  }
  QListWidget::keyPressEvent(event);
}

void FileList::Choose(const QListWidgetItem* item) {
  fileName_ = item->text();
  emit fileClicked();
}

}  // namespace tarvenol
