#include "session/view_handlers.h"

#include <string>

#include "core/text_number.h"
#include "session/guarded.h"

namespace tarvenol {
namespace {

TextBox AngleText(ScrollBar bar) {
  if (bar == ScrollBar::HScroll_Y) return TextBox::Text_AlfaY;
  if (bar == ScrollBar::HScroll_Z) return TextBox::Text_AlfaZ;
  return TextBox::Text_AlfaX;
}

}  // namespace

ViewSettings ReadViewSettings(WindowOps& win) {
  return {TextToNumber(win.GetText(TextBox::Text_AlfaX)),
          TextToNumber(win.GetText(TextBox::Text_AlfaY)),
          TextToNumber(win.GetText(TextBox::Text_AlfaZ)),
          TextToNumber(win.GetText(TextBox::Text_Ölçek))};
}

void RedrawView(const ModelState& s, ViewWork& w, WindowOps& win) {
  Guarded(win, [&] {
    DrawBody(s, w, ReadViewSettings(win), s.ShowPanels, s.ShowSolution).PaintOn(win.Picture());
  });
}

void AngleBarChanged(const ModelState& s, ViewWork& w, WindowOps& win, ScrollBar bar) {
  if (bar == ScrollBar::VScroll_Ölçek) {
    ScaleBarChanged(s, w, win);
    return;
  }
  // The bars run from 0 to 180 with 0 degrees in the middle.
  win.SetText(AngleText(bar), std::to_string(win.GetScrollValue(bar) - 90));
  RedrawView(s, w, win);
}

void ScaleBarChanged(const ModelState& s, ViewWork& w, WindowOps& win) {
  win.SetText(TextBox::Text_Ölçek, std::to_string(win.GetScrollValue(ScrollBar::VScroll_Ölçek)));
  RedrawView(s, w, win);
}

void PictureClicked(const ModelState& s, ViewWork& w, WindowOps& win) {
  win.SetText(TextBox::Text_AlfaX, "0");
  win.SetText(TextBox::Text_AlfaY, "0");
  win.SetText(TextBox::Text_AlfaZ, "0");
  RedrawView(s, w, win);
}

}  // namespace tarvenol
