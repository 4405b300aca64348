#pragma once
// Form1, the program's main window: the NI and NJ boxes, the two command buttons, the
// body-file chooser, the picture with the view's controls, and the menus. Its events go to
// the command flow and the view's handlers, with the one program state the window owns.

#include <QMainWindow>
#include <memory>

#include "flow/program.h"
#include "raster/raster_canvas.h"
#include "ui/qt_window_ops.h"

namespace tarvenol {

class PictureArea;

// No signals of its own: its controls' events go straight to the handlers.
class Form1 : public QMainWindow {
 public:
  // Starts the program up: the report is emptied before the window is first shown.
  explicit Form1(MessageSink sink = {});
  ~Form1() override;

  const Program& program() const { return program_; }
  // False when another running program holds the report: this one must end at once.
  bool Started() const { return started_; }

 private:
  Form1Controls BuildControls();
  void BuildMenus();
  void ConnectEvents(const Form1Controls& controls);
  // Runs an operation that computes, under a busy cursor.
  template <typename Operation>
  void Compute(Operation&& operation);
  // The view may have drawn: show the picture again.
  void ShowPicture();

  Program program_;
  RasterCanvas canvas_;
  PictureArea* Pic1_ = nullptr;
  std::unique_ptr<QtWindowOps> ops_;
  bool started_ = false;
};

}  // namespace tarvenol
