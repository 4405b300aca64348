#pragma once
// A text box of the main window. The boxes are as narrow as the window's layout makes them (NI
// and NJ are 25 pixels wide at 96 dots per inch), too narrow for a count of three digits in the
// desktop's font: the box gives its text the room its fixed inner margins would take, and
// narrows the font, never its height, until the whole text fits, so that a count of up to seven
// digits is read whole.

#include <QFont>
#include <QLineEdit>

namespace tarvenol {

class FittingTextBox : public QLineEdit {
 public:
  FittingTextBox(const QString& text, QWidget* parent);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The width the text has in the box, in pixels.
  int TextRoom() const;
  void Fit();

  QFont desktop_;  // the font the box was given, which the fitted font narrows
};

}  // namespace tarvenol
