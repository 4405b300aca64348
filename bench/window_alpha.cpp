// A move of the angle of attack as the window takes it, on a sphere of 100 x 100 panels (10 000,
// solved by the body's symmetry): the slider of "Body at incidence" moved a degree at a time,
// each move followed until the pressure plot, the incidence window and the flow around the body
// have painted it. Prints the least, the median and the largest time of a move.
// Usage: window_alpha [panels along and around, default 100]

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/field_window.h"
#include "ui/main_window.h"

namespace {

template <typename T>
T* Control(QWidget* form, const char* name) {
  T* control = form->findChild<T*>(name);
  if (control == nullptr) {
    std::fprintf(stderr, "no control %s\n", name);
    std::exit(1);
  }
  return control;
}

}  // namespace

int main(int argc, char** argv) {
  using tarvenol::Form1;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const std::string count = argc > 1 ? argv[1] : "100";
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tarvenol-alpha";
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);

  Form1 form([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); },
             [](const std::string&) { return true; });  // yes: the solve by the symmetry
  form.show();
  const auto wait = [](auto done) {
    if (!QTest::qWaitFor(done, 600000)) {
      std::fprintf(stderr, "the work did not end in ten minutes\n");
      std::exit(1);
    }
  };
  const auto settle = [&] { wait([&] { return !form.Working(); }); };
  Control<QAction>(&form, "Mn_Sphere")->trigger();
  Control<QLineEdit>(&form, "Text_NI")->setText(QString::fromStdString(count));
  Control<QLineEdit>(&form, "Text_NJ")->setText(QString::fromStdString(count));
  Control<QPushButton>(&form, "Command_Sphere")->click();
  settle();
  Control<QPushButton>(&form, "Command_HessPan")->click();
  settle();
  Control<QAction>(&form, "Mn_Pressure")->trigger();
  Control<QAction>(&form, "Mn_Incidence")->trigger();
  Control<QAction>(&form, "Mn_Field")->trigger();
  auto* field = Control<tarvenol::FieldWindow>(&form, "Form_Field");
  wait([&] { return !field->Working(); });
  QApplication::processEvents();

  auto* slider = Control<QSlider>(&form, "HScroll_Alpha");
  QWidget* pressure = Control<QWidget>(&form, "Form_Pressure");
  QWidget* incidence = Control<QWidget>(&form, "Form_Incidence");
  // Each result window alone, then all three: what a move costs each, and together.
  const std::vector<std::pair<const char*, std::vector<QWidget*>>> cases = {
      {"pressure along the body", {pressure}},
      {"body at incidence", {incidence}},
      {"flow around the body", {field}},
      {"all three", {pressure, incidence, field}}};
  int degrees = 0;
  for (const auto& [name, windows] : cases) {
    for (QWidget* w : {pressure, incidence, static_cast<QWidget*>(field)}) {
      w->setVisible(std::find(windows.begin(), windows.end(), w) != windows.end());
    }
    QApplication::processEvents();
    std::vector<double> ms;
    for (int move = 0; move < 15; ++move) {
      QElapsedTimer timer;
      timer.start();
      slider->setValue(++degrees);
      for (QWidget* w : windows) w->repaint();
      QApplication::processEvents();
      ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "%s x %s panels, a move of the angle of attack, %s: least %.1f ms, median %.1f ms, "
        "largest %.1f ms\n",
        count.c_str(), count.c_str(), name, ms.front(), ms[ms.size() / 2], ms.back());
  }
  std::filesystem::current_path("/");
  std::filesystem::remove_all(folder);
  return 0;
}
