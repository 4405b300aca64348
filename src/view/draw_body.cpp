#include "view/draw_body.h"

namespace tarvenol {

void DrawBody(const ModelState&, ViewWork&, WindowOps& win, bool, bool) {
  win.Picture().Clear();
}

}  // namespace tarvenol
