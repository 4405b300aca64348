#pragma once
// What the view's own controls do: a scroll bar or a click on the picture changes the
// matching texts, then the picture is drawn again with the current display flags.

#include "core/model_state.h"
#include "core/window_ops.h"
#include "view/draw_body.h"

namespace tarvenol {

// HScroll_X, HScroll_Y or HScroll_Z changed: its angle text becomes value - 90.
// (VScroll_Ölçek is passed on to ScaleBarChanged.)
void AngleBarChanged(const ModelState& s, ViewWork& w, WindowOps& win, ScrollBar bar);
// VScroll_Ölçek changed: Text_Ölçek becomes its value.
void ScaleBarChanged(const ModelState& s, ViewWork& w, WindowOps& win);
// Pic1 clicked: the three angle texts become "0"; the bars stay where they are.
void PictureClicked(const ModelState& s, ViewWork& w, WindowOps& win);

// The angles and the scale as their boxes give them, each the number its text begins with.
ViewSettings ReadViewSettings(WindowOps& win);
// The picture drawn again from s with the current display flags and the view's boxes. A
// picture that cannot be made leaves the one shown as it was, with a message.
void RedrawView(const ModelState& s, ViewWork& w, WindowOps& win);

}  // namespace tarvenol
