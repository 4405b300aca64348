#pragma once
// The window operations of the batch tool: the controls' texts, values and visibility are
// kept as a window would keep them, and a message goes to standard error.

#include <map>
#include <string>

#include "core/window_ops.h"

namespace tarvenol {

class BatchWindow : public WindowOps {
 public:
  BatchWindow(Canvas& picture, std::string programName);

  std::string GetText(TextBox box) override { return texts_[box]; }
  void SetText(TextBox box, const std::string& text) override { texts_[box] = text; }
  void SetVisible(ManagedControl control, bool visible) override { visible_[control] = visible; }
  void ShowAboutWindow() override {}
  void MessageBox(const std::string& text) override;

  std::string GetDrive() override { return "/"; }
  std::string GetDirPath() override { return dirPath_; }
  void SetDirPath(const std::string& path) override { dirPath_ = path; }
  std::string GetFilePath() override { return filePath_; }
  void SetFilePath(const std::string& path) override { filePath_ = path; }
  std::string GetFileName() override { return fileName_; }
  // The file list shows dir and the user clicks name.
  void ChooseFile(const std::string& dir, const std::string& name);

  int GetScrollValue(ScrollBar bar) override { return values_[bar]; }
  Canvas& Picture() override { return picture_; }

  bool MessageShown() const { return messageShown_; }

 private:
  Canvas& picture_;
  std::string programName_;
  std::map<TextBox, std::string> texts_;
  std::map<ManagedControl, bool> visible_;
  std::map<ScrollBar, int> values_;
  std::string dirPath_, filePath_, fileName_;
  bool messageShown_ = false;
};

}  // namespace tarvenol
