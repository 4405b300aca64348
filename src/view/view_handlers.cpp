#include "view/view_handlers.h"

#include <string>

namespace tarvenol {
namespace {

TextBox AngleText(ScrollBar bar) {
  if (bar == ScrollBar::HScroll_Y) return TextBox::Text_AlfaY;
  if (bar == ScrollBar::HScroll_Z) return TextBox::Text_AlfaZ;
  return TextBox::Text_AlfaX;
}

void Redraw(const ModelState& s, ViewWork& w, WindowOps& win) {
  DrawBody(s, w, win, s.ShowPanels, s.ShowSolution);
}

}  // namespace

void AngleBarChanged(const ModelState& s, ViewWork& w, WindowOps& win, ScrollBar bar) {
  if (bar == ScrollBar::VScroll_Ölçek) {
    ScaleBarChanged(s, w, win);
    return;
  }
  // The bars run from 0 to 180 with 0 degrees in the middle.
  win.SetText(AngleText(bar), std::to_string(win.GetScrollValue(bar) - 90));
  Redraw(s, w, win);
}

void ScaleBarChanged(const ModelState& s, ViewWork& w, WindowOps& win) {
  win.SetText(TextBox::Text_Ölçek, std::to_string(win.GetScrollValue(ScrollBar::VScroll_Ölçek)));
  Redraw(s, w, win);
}

void PictureClicked(const ModelState& s, ViewWork& w, WindowOps& win) {
  win.SetText(TextBox::Text_AlfaX, "0");
  win.SetText(TextBox::Text_AlfaY, "0");
  win.SetText(TextBox::Text_AlfaZ, "0");
  Redraw(s, w, win);
}

}  // namespace tarvenol
