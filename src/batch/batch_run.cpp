#include "batch/batch_run.h"

#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "batch/field_actions.h"
#include "batch/headless_window.h"
#include "batch/stage_timer.h"
#include "batch/terminal_progress.h"
#include "core/shown_text.h"
#include "flow/command_flow.h"
#include "flow/results_flow.h"
#include "flow/solve_estimate.h"
#include "flow/view_handlers.h"
#include "plot/pressure_chart.h"
#include "raster/raster_canvas.h"

namespace tarvenol {
namespace {

constexpr int kPictureSize = 400;

void Say(const std::string& text) {
  std::fprintf(stderr, "tarvenol-batch: %s\n", text.c_str());
}

// What the run tells of its progress: the terminal's line when standard error is a terminal,
// the stage times with --timings; nothing in a script or a log.
class BatchProgress : public Progress {
 public:
  explicit BatchProgress(bool timings) : timings_(timings), terminal_(isatty(STDERR_FILENO) != 0) {}
  bool Advance(Stage stage, double fraction) override {
    if (terminal_) line_.Advance(stage, fraction);
    if (timings_) timer_.Advance(stage, fraction);
    return true;
  }
  // The work of an action is done, and now its result is taken.
  void WorkDone() {
    line_.End();
    timer_.Begin("picture and state");
  }
  StageTimer& Timer() { return timer_; }

 private:
  bool timings_;
  bool terminal_;
  TerminalProgress line_{stderr};
  StageTimer timer_;
};

class BatchRun {
 public:
  explicit BatchRun(const CommandLine& line) : line_(line), canvas_(kPictureSize, kPictureSize) {
    win_.onMessage = Say;
  }

  int Run() {
    if (!StartUp(program_, win_)) return 1;
    for (const BatchAction& action : line_.actions) Take(action);
    return win_.messages.empty() ? 0 : 1;
  }

 private:
  void Take(const BatchAction& action) {
    const auto& v = action.values;
    switch (action.kind) {
      case BatchAction::Ni:
        win_.SetText(TextBox::Text_NI, v[0]);
        break;
      case BatchAction::Nj:
        win_.SetText(TextBox::Text_NJ, v[0]);
        break;
      case BatchAction::Angles:
        win_.SetText(TextBox::Text_AlfaX, v[0]);
        win_.SetText(TextBox::Text_AlfaY, v[1]);
        win_.SetText(TextBox::Text_AlfaZ, v[2]);
        break;
      case BatchAction::Scale:
        win_.SetText(TextBox::Text_Ölçek, v[0]);
        break;
      case BatchAction::Sphere:
        ShowSphereCommand(program_, win_);
        Run("sphere", PlanPrepareSphere(program_, win_));
        break;
      case BatchAction::Body:
        PrepareBody(v[0]);
        break;
      case BatchAction::Solve:
        if (line_.timings) Say("solve: " + EstimateSolve(program_.state).text);
        Run("solve", PlanApplyHessMethod(program_, win_));
        break;
      case BatchAction::Plot:
        SavePlot(v[0]);
        break;
      case BatchAction::Vtk:
        ExportVtk(program_, win_, v[0]);
        break;
      case BatchAction::Csv:
        ExportCsv(program_, win_, v[0]);
        break;
      case BatchAction::Png:
        SavePicture(v[0]);
        break;
      case BatchAction::Alpha:
        SetAngleOfAttack(program_, win_, v[0]);
        break;
      case BatchAction::Field:
        fields_.SavePicture(v[0]);
        break;
      case BatchAction::FieldVtk:
        fields_.SaveVtk(v[0]);
        break;
      case BatchAction::Probe:
        fields_.Probe(v[0], v[1], v[2]);
        break;
      case BatchAction::ProbeCsv:
        fields_.ProbeTable(v[0], v[1]);
        break;
    }
  }

  // The file chooser shows the body file's folder, and the user clicks its name.
  void PrepareBody(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
      win_.MessageBox("The body file " + ShownPath(path) + " cannot be found: " + error.message() +
                      ".");
      return;
    }
    ShowFileChooser(program_, win_);
    win_.ChooseFile(absolute.parent_path().string(), absolute.filename().string());
    Run("body", PlanPrepareBodyFile(program_, win_));
  }

  void Run(const char* name, std::unique_ptr<Operation> operation) {
    if (!operation) return;
    operation->Run(progress_);
    progress_.WorkDone();
    operation->Finish(program_, win_);
    if (line_.timings) Say(std::string(name) + ": " + progress_.Timer().Take());
  }

  void SavePlot(const std::string& path) {
    const std::optional<PressureAlongBody> pressure = CurrentPressure(program_);
    if (!pressure) {
      win_.MessageBox("There is no solution to plot yet: apply Hess's panel method first.");
      return;
    }
    if (const std::string fault = SavePressurePlot(*pressure, path); !fault.empty()) {
      win_.MessageBox("The plot cannot be written to " + ShownPath(path) + ": " + fault + ".");
    }
  }

  // Draws the view with the current flags, as the window shows it, and writes it to path.
  void SavePicture(const std::string& path) {
    const std::size_t messages = win_.messages.size();
    RedrawView(program_.state, program_.view, win_);
    if (win_.messages.size() != messages) return;
    if (const std::string fault = canvas_.SavePng(path); !fault.empty()) {
      win_.MessageBox("The picture cannot be written to " + ShownPath(path) + ": " + fault + ".");
    }
  }

  const CommandLine& line_;
  RasterCanvas canvas_;
  HeadlessWindow win_{canvas_};
  Program program_;
  BatchProgress progress_{line_.timings};
  FieldActions fields_{program_, win_, [this](const char* name, std::unique_ptr<Operation> op) {
                         Run(name, std::move(op));
                       }};
};

}  // namespace

int RunBatch(const CommandLine& line) {
  // The plot's charts are widgets, drawn off any screen: they need an application, which the
  // other actions do without.
  std::unique_ptr<QApplication> application;
  const bool plots =
      std::any_of(line.actions.begin(), line.actions.end(), [](const BatchAction& a) {
        return a.kind == BatchAction::Plot || a.kind == BatchAction::Field;
      });
  static int argc = 1;
  static char name[] = "tarvenol-batch";
  static char* argv[] = {name, nullptr};
  if (plots) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the program's own messages; Qt's remarks on the desktop it
    // found are not among them.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg) Say(text.toStdString());
    });
    application = std::make_unique<QApplication>(argc, argv);
  }
  return BatchRun(line).Run();
}

}  // namespace tarvenol
