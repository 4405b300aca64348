// tarvenol: the program's main window. The report Tarvenol.txt is written to the working
// directory the program was started in.

#include <QApplication>
#include <cstdio>
#include <string_view>

#include "core/standard_streams.h"
#include "ui/main_window.h"

namespace {

constexpr const char* kUsage =
    "Usage: tarvenol [OPTION]... [QT OPTION]...\n"
    "Opens the window that computes the potential flow around a body of revolution by Hess's\n"
    "source panel method. The report Tarvenol.txt in the working directory is emptied when the\n"
    "window opens, then holds the results of what is done in it.\n"
    "\n"
    "Options:\n"
    "  -h, --help    print this help and do nothing else\n"
    "  --version     print the program's version and do nothing else\n"
    "\n"
    "Qt's own options, such as -platform NAME, are taken as well.\n";

}  // namespace

int main(int argc, char** argv) {
  tarvenol::OpenClosedStandardStreams();
  // Answered before the application starts: they need no display, and the window, which
  // empties the report, is not made.
  for (int a = 1; a < argc; ++a) {
    const std::string_view arg = argv[a];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::puts("tarvenol " TARVENOL_VERSION);
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tarvenol");
  tarvenol::Form1 window;
  // Another running program holds the report of this folder: this one has said so, and ends.
  if (!window.Started()) return 1;
  window.show();
  return QApplication::exec();
}
