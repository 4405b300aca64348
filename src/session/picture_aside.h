#pragma once
// The picture of a new geometry or solution, made while the operation runs: the view's arrays
// and drawing, painted on a surface aside where the window's picture offers one, so that the
// window's thread only puts it in place. Both steps tell progress and stop when asked.

#include <memory>

#include "core/window_ops.h"
#include "view/draw_body.h"

namespace tarvenol {

class PictureAside {
 public:
  // On the window's thread, when the operation is planned: the view's boxes as they are.
  // The picture is drawn where the window shows the pictures of operations, or always.
  explicit PictureAside(WindowOps& win, bool always = false);

  // While the operation runs: s drawn with the mesh of OneMinusCp.
  void Draw(const ModelState& s, const Array2& OneMinusCp, bool ShowPanels, bool ShowSolution,
            Progress& progress);
  // On the window's thread, before anything is taken: drawn again, here, where the view's
  // boxes have changed since. May throw, and then nothing is shown.
  void Follow(const ModelState& s, WindowOps& win, bool ShowPanels, bool ShowSolution);
  // Once everything else is taken: the view's arrays into view, the picture into the window.
  void Show(ViewWork& view, WindowOps& win);

 private:
  bool drawn_;
  ViewSettings settings_;
  std::unique_ptr<Canvas> aside_;
  ViewWork view_;
  Drawing picture_;
};

// The picture drawn again from s, as RedrawView draws it, telling progress; a cancel leaves the
// one shown as it was.
void RedrawView(const ModelState& s, ViewWork& w, WindowOps& win, Progress& progress);

}  // namespace tarvenol
