#pragma once
// The window operations on the controls of Form1 and the About window.

#include <QPointer>
#include <functional>
#include <map>
#include <string>

#include "core/window_ops.h"

class QLineEdit;
class QScrollBar;
class QWidget;

namespace tarvenol {

class DirectoryList;
class DriveList;
class FileList;

// Where the program's messages go; when empty, they go to a message box.
using MessageSink = std::function<void(const std::string& text)>;
// Where the program's questions go; when empty, to a box with Yes and No.
using QuestionSink = std::function<bool(const std::string& question)>;

// Shows text in a modal box titled "Tarvenol" with one OK button, and returns once it is closed.
void ShowMessageBox(QWidget* parent, const std::string& text);

// The controls the program's logic reaches, by their names.
struct Form1Controls {
  std::map<TextBox, QLineEdit*> texts;
  std::map<ManagedControl, QWidget*> managed;
  std::map<ScrollBar, QScrollBar*> bars;
  DriveList* Drive1 = nullptr;
  DirectoryList* Dir1 = nullptr;
  FileList* File_Body = nullptr;
  QWidget* Form_About = nullptr;
  // Where the focus goes from a control that is hidden: the picture, where a key changes nothing.
  QWidget* Pic1 = nullptr;
};

class QtWindowOps : public WindowOps {
 public:
  QtWindowOps(Form1Controls controls, Canvas& picture, QWidget* window, MessageSink sink,
              QuestionSink questions);

  std::string GetText(TextBox box) override;
  void SetText(TextBox box, const std::string& text) override;
  void SetVisible(ManagedControl control, bool visible) override;
  void ShowAboutWindow() override;
  void MessageBox(const std::string& text) override;
  bool Confirm(const std::string& question, Suggested suggested) override;

  std::string GetDrive() override;
  std::string GetDirPath() override;
  void SetDirPath(const std::string& path) override;
  std::string GetFilePath() override;
  void SetFilePath(const std::string& path) override;
  std::string GetFileName() override;

  int GetScrollValue(ScrollBar bar) override;
  Canvas& Picture() override { return picture_; }

 private:
  Form1Controls controls_;
  Canvas& picture_;
  QPointer<QWidget> window_;
  MessageSink sink_;
  QuestionSink questions_;
};

}  // namespace tarvenol
