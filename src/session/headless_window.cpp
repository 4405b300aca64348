#include "session/headless_window.h"

namespace tarvenol {

void HeadlessWindow::MessageBox(const std::string& text) {
  messages.push_back(text);
  if (onMessage) onMessage(text);
}

bool HeadlessWindow::Confirm(const std::string& question, Suggested) {
  questions.push_back(question);
  return answer;
}

void HeadlessWindow::SetDirPath(const std::string& path) {
  dirPath = path;
  if (onDirectoryChanged) onDirectoryChanged();
}

void HeadlessWindow::ChooseFile(const std::string& dir, const std::string& name) {
  dirPath = dir;
  filePath = dir;
  fileName = name;
}

}  // namespace tarvenol
