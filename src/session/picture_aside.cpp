#include "session/picture_aside.h"

#include "session/guarded.h"
#include "session/view_handlers.h"

namespace tarvenol {

PictureAside::PictureAside(WindowOps& win, bool always)
    : drawn_(always || win.ShowsPictures()), settings_(ReadViewSettings(win)) {
  if (drawn_) aside_ = win.Picture().Aside();
}

void PictureAside::Draw(const ModelState& s, const Array2& OneMinusCp, bool ShowPanels,
                        bool ShowSolution, Progress& progress) {
  if (!drawn_) return;
  picture_ = DrawBody(s, OneMinusCp, view_, settings_, ShowPanels, ShowSolution, progress);
  if (aside_) picture_.PaintOn(*aside_, progress);
}

void PictureAside::Follow(const ModelState& s, WindowOps& win, bool ShowPanels, bool ShowSolution) {
  const ViewSettings now = ReadViewSettings(win);
  if (!drawn_ || now == settings_) return;
  picture_ = DrawBody(s, view_, now, ShowPanels, ShowSolution);
  aside_.reset();
}

void PictureAside::Show(ViewWork& view, WindowOps& win) {
  // Unseen, the view's arrays of an earlier picture go as well: they no longer fit the body.
  view = std::move(view_);
  if (!drawn_) return;
  if (aside_) {
    win.Picture().ShowAside(*aside_);
  } else {
    picture_.PaintOn(win.Picture());
  }
}

void RedrawView(const ModelState& s, ViewWork& w, WindowOps& win, Progress& progress) {
  Guarded(win, [&] {
    PictureAside picture(win, true);
    picture.Draw(s, s.OneMinusCp, s.ShowPanels, s.ShowSolution, progress);
    picture.Show(w, win);
  });
}

}  // namespace tarvenol
