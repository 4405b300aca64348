// tarvenol: the program's main window. The report Tarvenol.txt is written to the working
// directory the program was started in.

#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tarvenol");
  tarvenol::Form1 window;
  window.show();
  return QApplication::exec();
}
