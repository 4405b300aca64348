#include "batch_window.h"

#include <cstdio>

namespace tarvenol {

BatchWindow::BatchWindow(Canvas& picture, std::string programName)
    : picture_(picture), programName_(std::move(programName)) {
  texts_ = {{TextBox::Text_NI, "4"},    {TextBox::Text_NJ, "4"},    {TextBox::Text_AlfaX, "0"},
            {TextBox::Text_AlfaY, "0"}, {TextBox::Text_AlfaZ, "0"}, {TextBox::Text_Ölçek, "1"}};
  values_ = {{ScrollBar::HScroll_X, 90},
             {ScrollBar::HScroll_Y, 90},
             {ScrollBar::HScroll_Z, 90},
             {ScrollBar::VScroll_Ölçek, 1}};
}

void BatchWindow::MessageBox(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", programName_.c_str(), text.c_str());
  messageShown_ = true;
}

void BatchWindow::ChooseFile(const std::string& dir, const std::string& name) {
  dirPath_ = dir;
  filePath_ = dir;
  fileName_ = name;
}

}  // namespace tarvenol
