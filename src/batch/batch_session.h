#pragma once
// What the batch tool's actions act on: the program's state behind a headless window, the
// picture's canvas, the run's progress, and the steps several actions share.

#include <memory>
#include <string>
#include <vector>

#include "batch/field_actions.h"
#include "batch/stage_timer.h"
#include "batch/terminal_progress.h"
#include "core/progress.h"
#include "plot/qt_charts.h"
#include "raster/raster_canvas.h"
#include "session/headless_window.h"
#include "session/operation.h"
#include "session/program.h"

namespace tarvenol {

// A message on standard error, one line of plain text, whatever came into it.
void Say(const std::string& text);

// What the run tells of its progress: the terminal's line when standard error is a terminal,
// the stage times with --timings; nothing in a script or a log. A signal asks the work to stop.
class BatchProgress : public Progress {
 public:
  explicit BatchProgress(bool timings);
  bool Advance(Stage stage, double fraction) override;
  // The work of an action is done, and now its result is taken.
  void WorkDone();
  StageTimer& Timer() { return timer_; }

 private:
  bool timings_;
  bool terminal_;
  TerminalProgress line_{stderr};
  StageTimer timer_;
};

class BatchSession {
 public:
  explicit BatchSession(bool withTimings);

  // Runs an operation under its name, as the window runs it, and tells its times when asked.
  void Run(const char* name, std::unique_ptr<Operation> operation);

  // The file chooser shows the body file's folder, and the user clicks its name.
  void PrepareBody(const std::string& path);
  void SavePlot(const std::string& path);
  // path, and the angles FROM TO STEP when given: 0 to 90 by 5 degrees when not. The moment
  // curve as a picture for a name ending in .png or .svg, a table otherwise.
  void SaveForces(const std::vector<std::string>& values);
  // Draws the view with the current flags, as the window shows it, and writes it to path.
  void SavePicture(const std::string& path);
  // Name and value lines on standard output.
  void PrintFigures(const std::vector<std::pair<std::string, double>>& figures);

  const bool timings;
  RasterCanvas canvas;
  HeadlessWindow win{canvas};
  Program program;
  BatchProgress progress{timings};
  QtCharts charts;
  FieldActions fields{
      program, win, charts,
      [this](const char* name, std::unique_ptr<Operation> op) { Run(name, std::move(op)); }};
};

}  // namespace tarvenol
