#pragma once
// Where the keyboard focus goes when the control holding it is hidden or put out of use. Qt
// passes it on along the tab order then, and the next control may be a text box, which selects
// its text: the user's next key would replace a panel count the user never clicked.

#include <QWidget>

namespace tarvenol {

// When control, or a widget inside it, holds the focus of its window, the focus goes to rest
// first. Call it before control is hidden or disabled. Works whether or not the window is
// active, as without a window manager it often is not.
inline void PassFocusTo(QWidget* rest, QWidget* control) {
  QWidget* focus = control->window()->focusWidget();
  if (focus != nullptr && (focus == control || control->isAncestorOf(focus))) {
    rest->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace tarvenol
