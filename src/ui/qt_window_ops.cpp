#include "ui/qt_window_ops.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "ui/file_chooser.h"

namespace tarvenol {
namespace {

// Paths travel in the file system's own encoding, so any name the system holds can be opened.
std::string Encoded(const QString& path) {
  return QFile::encodeName(path).toStdString();
}
QString Decoded(const std::string& path) {
  return QFile::decodeName(path.c_str());
}

// Puts window to the right of main, or to its left where the screen has no room on the right,
// on main's screen: without a window manager it would cover main's menu bar.
void PlaceBeside(QWidget* window, const QWidget* main) {
  constexpr int kGap = 8;
  const QRect beside = main->frameGeometry();
  const QRect screen = main->screen()->availableGeometry();
  const QSize size = window->frameGeometry().size();
  int left = beside.right() + 1 + kGap;
  if (left + size.width() > screen.right() + 1) left = beside.left() - kGap - size.width();
  left =
      std::clamp(left, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
  const int top = std::clamp(beside.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - size.height()));
  window->move(left, top);
}

}  // namespace

void ShowMessageBox(QWidget* parent, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, "Tarvenol", QString::fromStdString(text), QMessageBox::Ok,
                  parent);
  // A file's name in a message is shown as it is named, never read as HTML.
  box.setTextFormat(Qt::PlainText);
  // A busy cursor over the box would hide that it waits for the user.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy) QApplication::restoreOverrideCursor();
}

QtWindowOps::QtWindowOps(Form1Controls controls, Canvas& picture, QWidget* window, MessageSink sink,
                         QuestionSink questions)
    : controls_(std::move(controls)),
      picture_(picture),
      window_(window),
      sink_(std::move(sink)),
      questions_(std::move(questions)) {}

std::string QtWindowOps::GetText(TextBox box) {
  return controls_.texts.at(box)->text().toStdString();
}

void QtWindowOps::SetText(TextBox box, const std::string& text) {
  controls_.texts.at(box)->setText(QString::fromStdString(text));
}

void QtWindowOps::SetVisible(ManagedControl control, bool visible) {
  controls_.managed.at(control)->setVisible(visible);
}

void QtWindowOps::ShowAboutWindow() {
  QWidget* about = controls_.Form_About;
  if (about->isVisible()) {
    about->raise();
    return;
  }
  if (window_) PlaceBeside(about, window_);
  about->show();
}

bool QtWindowOps::Confirm(const std::string& question) {
  if (questions_) return questions_(question);
  QMessageBox box(QMessageBox::Question, "Tarvenol", QString::fromStdString(question),
                  QMessageBox::Yes | QMessageBox::No, window_);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const bool yes = box.exec() == QMessageBox::Yes;
  if (busy) QApplication::restoreOverrideCursor();
  return yes;
}

void QtWindowOps::MessageBox(const std::string& text) {
  if (sink_) {
    sink_(text);
  } else {
    ShowMessageBox(window_, text);
  }
}

std::string QtWindowOps::GetDrive() {
  return Encoded(controls_.Drive1->Drive());
}

std::string QtWindowOps::GetDirPath() {
  return Encoded(controls_.Dir1->Path());
}

void QtWindowOps::SetDirPath(const std::string& path) {
  controls_.Dir1->SetPath(Decoded(path));
}

std::string QtWindowOps::GetFilePath() {
  return Encoded(controls_.File_Body->Path());
}

void QtWindowOps::SetFilePath(const std::string& path) {
  controls_.File_Body->SetPath(Decoded(path));
}

std::string QtWindowOps::GetFileName() {
  return Encoded(controls_.File_Body->FileName());
}

int QtWindowOps::GetScrollValue(ScrollBar bar) {
  return controls_.bars.at(bar)->value();
}

}  // namespace tarvenol
