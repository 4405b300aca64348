#pragma once
// Form_About: a few lines on what the program computes and whom to ask. It has no controls;
// the user closes it with the window's close box.

#include <QWidget>

namespace tarvenol {

class Form_About : public QWidget {
 public:
  // A window of its own that stays with parent and does not block it.
  explicit Form_About(QWidget* parent);
};

}  // namespace tarvenol
