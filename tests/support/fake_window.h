#pragma once
// Window operations for tests: the controls are plain values, and everything the logic
// asks of the windows is recorded.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/window_ops.h"
#include "recording_canvas.h"

namespace tarvenol::testing {

class FakeWindow : public WindowOps {
 public:
  std::string GetText(TextBox box) override { return texts[box]; }
  void SetText(TextBox box, const std::string& text) override { texts[box] = text; }
  void SetVisible(ManagedControl control, bool shown) override { visible[control] = shown; }
  void ShowAboutWindow() override { ++aboutShown; }
  void MessageBox(const std::string& text) override { messages.push_back(text); }

  std::string GetDrive() override { return drive; }
  std::string GetDirPath() override { return dirPath; }
  void SetDirPath(const std::string& path) override {
    dirPath = path;
    calls.push_back("SetDirPath " + path);
    if (onDirectoryChanged) onDirectoryChanged();
  }
  std::string GetFilePath() override { return filePath; }
  void SetFilePath(const std::string& path) override {
    filePath = path;
    calls.push_back("SetFilePath " + path);
  }
  std::string GetFileName() override { return fileName; }

  int GetScrollValue(ScrollBar bar) override { return scrollValues[bar]; }
  Canvas& Picture() override { return canvas; }

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
  std::vector<std::string> messages;
  std::vector<std::string> calls;
  int aboutShown = 0;
  std::string drive = "/";
  std::string dirPath, filePath, fileName;
  // What the window does when the directory list's path is set: the directory-changed event.
  std::function<void()> onDirectoryChanged;
  RecordingCanvas canvas;
};

}  // namespace tarvenol::testing
