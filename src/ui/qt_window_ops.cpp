#include "ui/qt_window_ops.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>

#include "ui/file_chooser.h"
#include "ui/focus_rest.h"
#include "ui/window_placement.h"

namespace tarvenol {
namespace {

// Paths travel in the file system's own encoding, so any name the system holds can be opened.
std::string Encoded(const QString& path) {
  return QFile::encodeName(path).toStdString();
}
QString Decoded(const std::string& path) {
  return QFile::decodeName(path.c_str());
}

// Once a box closes, the keys go to the window behind it again. A window manager sees to that;
// without one, nothing would have the keyboard until the user clicks a window.
void ActivateAgain(QWidget* window) {
  if (window != nullptr && window->isVisible()) window->activateWindow();
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
  ActivateAgain(parent);
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
  QWidget* widget = controls_.managed.at(control);
  if (!visible && controls_.Pic1 != nullptr) PassFocusTo(controls_.Pic1, widget);
  widget->setVisible(visible);
}

void QtWindowOps::ShowAboutWindow() {
  if (window_) {
    ShowBeside(controls_.Form_About, window_);
  } else {
    controls_.Form_About->show();
  }
}

bool QtWindowOps::Confirm(const std::string& question, Suggested suggested) {
  if (questions_) return questions_(question);
  QMessageBox box(QMessageBox::Question, "Tarvenol", QString::fromStdString(question),
                  QMessageBox::Yes | QMessageBox::No, window_);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(suggested == Suggested::Yes ? QMessageBox::Yes : QMessageBox::No);
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const bool yes = box.exec() == QMessageBox::Yes;
  if (busy) QApplication::restoreOverrideCursor();
  ActivateAgain(window_);
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
