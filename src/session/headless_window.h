#pragma once
// The window operations without a window: the controls' texts, values and visibility are kept
// as the main window keeps them, from the same starting values, and every message shown is
// kept. The batch tool drives the program through it; so do the tests and the benchmark.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/window_ops.h"

namespace tarvenol {

class HeadlessWindow : public WindowOps {
 public:
  // The picture is drawn on picture.
  explicit HeadlessWindow(Canvas& picture) : picture_(picture) {}

  std::string GetText(TextBox box) override { return texts[box]; }
  void SetText(TextBox box, const std::string& text) override { texts[box] = text; }
  void SetVisible(ManagedControl control, bool shown) override { visible[control] = shown; }
  void ShowAboutWindow() override { ++aboutShown; }
  void MessageBox(const std::string& text) override;
  bool Confirm(const std::string& question, Suggested suggested) override;

  std::string GetDrive() override { return drive; }
  std::string GetDirPath() override { return dirPath; }
  void SetDirPath(const std::string& path) override;
  std::string GetFilePath() override { return filePath; }
  void SetFilePath(const std::string& path) override { filePath = path; }
  std::string GetFileName() override { return fileName; }

  int GetScrollValue(ScrollBar bar) override { return scrollValues[bar]; }
  Canvas& Picture() override { return picture_; }
  bool ShowsPictures() const override { return showsPictures; }

  // The chooser shows dir, and the user clicks name in its file list.
  void ChooseFile(const std::string& dir, const std::string& name);

  bool showsPictures = true;
  std::map<TextBox, std::string> texts = {{TextBox::Text_NI, "4"},    {TextBox::Text_NJ, "4"},
                                          {TextBox::Text_AlfaX, "0"}, {TextBox::Text_AlfaY, "0"},
                                          {TextBox::Text_AlfaZ, "0"}, {TextBox::Text_Ölçek, "1"}};
  std::map<ManagedControl, bool> visible = {{ManagedControl::Command_Sphere, false},
                                            {ManagedControl::Command_HessPan, false},
                                            {ManagedControl::Frame_IOWindow, false}};
  std::map<ScrollBar, int> scrollValues = {{ScrollBar::HScroll_X, 90},
                                           {ScrollBar::HScroll_Y, 90},
                                           {ScrollBar::HScroll_Z, 90},
                                           {ScrollBar::VScroll_Ölçek, 1}};
  std::string drive = "/";
  std::string dirPath, filePath, fileName;

  std::vector<std::string> messages;   // every message shown, in order
  std::vector<std::string> questions;  // every question asked, in order
  bool answer = true;                  // to every question
  int aboutShown = 0;

  // Called with each message as it is shown, after it is kept.
  std::function<void(const std::string& text)> onMessage;
  // The directory list's path-changed event, raised by SetDirPath before it returns.
  std::function<void()> onDirectoryChanged;

 private:
  Canvas& picture_;
};

}  // namespace tarvenol
