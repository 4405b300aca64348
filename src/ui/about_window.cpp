#include "ui/about_window.h"

#include <QLabel>

#include "core/canvas.h"
#include "ui/twips.h"

namespace tarvenol {
namespace {

struct AboutLine {
  const char* name;
  const char* text;
  int left, top, width, height;  // twips
  double points;
  QColor colour;  // invalid: the desktop's text colour
};

const QColor kDarkGreen(0, 128, 0);

}  // namespace

Form_About::Form_About(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Form_About");
  setWindowTitle("About");
  const double dpi = logicalDpiX();
  setFixedSize(TwipsToPixels(3600, dpi), TwipsToPixels(3585, dpi));

  const Colour b = kPictureBackground;
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(b.red, b.green, b.blue));
  setPalette(palette);
  setAutoFillBackground(true);

  const AboutLine lines[] = {
      {"Label2", "This program calculates", 600, 120, 2415, 255, 9.75, kDarkGreen},
      {"Label9", "the potential flow around", 480, 480, 2535, 255, 9.75, kDarkGreen},
      {"Label3", "a body of revolution", 720, 840, 2055, 375, 9.75, kDarkGreen},
      {"Label6", "by using", 1320, 1200, 975, 255, 9.75, kDarkGreen},
      {"Label1", "Hess's source panel method", 360, 1560, 2895, 375, 9.75, kDarkGreen},
      {"Label7", "Tarvenol developers", 600, 2040, 2535, 255, 8.25, {}},
      {"Label8", "Last modified : 15 Feb 2015", 600, 2400, 2535, 255, 8.25, {}},
      {"Label4", "For comments and questions e-mail to", 120, 3000, 3375, 255, 8.25, {}},
      {"Label5", "tarvenol@example.org", 840, 3240, 1935, 255, 8.25, QColor(0, 0, 255)},
  };
  for (const AboutLine& line : lines) {
    auto* label = new QLabel(line.text, this);
    label->setObjectName(line.name);
    label->setGeometry(TwipsRect(line.left, line.top, line.width, line.height, dpi));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Verdana where it is installed; else DejaVu Sans, the close substitute Debian has.
    QFont font;
    font.setFamilies({"Verdana", "DejaVu Sans"});
    font.setPointSizeF(line.points);
    font.setWeight(QFont::Normal);
    label->setFont(font);
    WidenToText(label);
    if (line.colour.isValid()) {
      QPalette text = label->palette();
      text.setColor(QPalette::WindowText, line.colour);
      label->setPalette(text);
    }
  }
}

}  // namespace tarvenol
