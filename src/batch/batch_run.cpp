#include "batch/batch_run.h"

#include <strings.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "batch/field_actions.h"
#include "batch/interrupts.h"
#include "batch/stage_timer.h"
#include "batch/standard_output.h"
#include "batch/terminal_progress.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "flow/command_flow.h"
#include "flow/headless_window.h"
#include "flow/incidence_flow.h"
#include "flow/mach_flow.h"
#include "flow/picture_aside.h"
#include "flow/results_flow.h"
#include "flow/saved_files.h"
#include "flow/solve_estimate.h"
#include "flow/view_handlers.h"
#include "plot/chart_file.h"
#include "plot/moment_chart.h"
#include "plot/pressure_chart.h"
#include "raster/raster_canvas.h"

namespace tarvenol {
namespace {

constexpr int kPictureSize = 400;

// A message on standard error, one line of plain text, whatever came into it.
void Say(const std::string& text) {
  std::fprintf(stderr, "tarvenol-batch: %s\n", TerminalLine(text).c_str());
}

// What the run tells of its progress: the terminal's line when standard error is a terminal,
// the stage times with --timings; nothing in a script or a log. A signal asks the work to stop.
class BatchProgress : public Progress {
 public:
  explicit BatchProgress(bool timings) : timings_(timings), terminal_(isatty(STDERR_FILENO) != 0) {}
  bool Advance(Stage stage, double fraction) override {
    if (terminal_) line_.Advance(stage, fraction);
    if (timings_) timer_.Advance(stage, fraction);
    return Interrupts::Received() == 0;
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
    for (const BatchAction& action : line_.actions) {
      if (Interrupts::Received() != 0) break;
      Take(action);
      WarnAboveCriticalMach();
    }
    if (const int signal = Interrupts::Received(); signal != 0) {
      Say(std::string("stopped by ") + SignalName(signal) +
          "; the report holds the actions finished before it.");
      return 128 + signal;
    }
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
        Run("solve", PlanSolve(program_, win_, SolveKind::Full));
        break;
      case BatchAction::SolveSymmetric:
        if (line_.timings) Say("solve-symmetric: " + EstimateSolve(program_.state).symmetricText);
        Run("solve-symmetric", PlanSolve(program_, win_, SolveKind::Symmetric));
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
      case BatchAction::Mach:
        SetMach(program_, win_, v[0],
                v.size() > 1 ? std::optional<std::string>(v[1]) : std::nullopt);
        break;
      case BatchAction::Forces:
        SaveForces(v);
        break;
      case BatchAction::BodyFigures:
        Run("body-figures", PlanBodyFigures(program_, win_));
        if (program_.state.ShowSolution && program_.bodyReport) PrintBodyFigures();
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
        fields_.ProbeTable(v[0], v[1], progress_);
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
    const std::string plot =
        PressurePlotBytes(*pressure, PictureFormatOf(path).value_or(PlotFormat::Png));
    if (plot.empty()) {
      win_.MessageBox("The plot cannot be drawn.");
      return;
    }
    SaveFile(program_, win_, path, "plot", plot);
  }

  // path, and the angles FROM TO STEP when given: 0 to 90 by 5 degrees when not. The moment
  // curve as a picture for a name ending in .png or .svg, a table otherwise.
  void SaveForces(const std::vector<std::string>& v) {
    double range[3] = {0, 90, 5};
    for (std::size_t k = 1; k < v.size(); ++k) {
      const std::optional<double> number = WholeTextNumber(v[k]);
      if (!number) {
        win_.MessageBox("The angles of a table of forces are numbers of degrees; " + Shown(v[k]) +
                        " is not.");
        return;
      }
      range[k - 1] = *number;
    }
    const std::optional<PlotFormat> picture = PictureFormatOf(v[0]);
    if (!picture) {
      ExportForces(program_, win_, v[0], range[0], range[1], range[2], &progress_);
      return;
    }
    const std::optional<ForcesTable> table =
        ForcesOverAngles(program_, win_, range[0], range[1], range[2], &progress_);
    if (!table) return;
    const std::string plot =
        ChartBytes(MakeMomentChart(*table, BodyName(program_)), *picture, 900, 560);
    if (plot.empty()) {
      win_.MessageBox("The plot cannot be drawn.");
      return;
    }
    SaveFile(program_, win_, v[0], "plot", plot);
  }

  // Once for each solution, angle and Mach number whose results are locally supersonic: a
  // warning, not a message, since the results are given all the same.
  void WarnAboveCriticalMach() {
    const std::optional<std::string> warning = MachWarning(program_);
    if (!warning || *warning == warned_) return;
    Say("warning: " + *warning);
    warned_ = *warning;
  }

  void PrintBodyFigures() {
    const auto mach = MachFigures(program_, win_, progress_);
    if (!mach) return;
    std::vector<std::pair<std::string, double>> figures = BodyReportLines(*program_.bodyReport);
    figures.insert(figures.end(), mach->begin(), mach->end());
    std::string lines;
    for (const auto& [name, value] : figures) {
      char text[32];
      lines += name + " " + std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
      lines += '\n';
    }
    PrintResult(win_, lines);
  }

  // Draws the view with the current flags, as the window shows it, and writes it to path.
  void SavePicture(const std::string& path) {
    const std::size_t messages = win_.messages.size();
    RedrawView(program_.state, program_.view, win_, progress_);
    // A picture not drawn again, for a message or a signal, is not saved.
    if (win_.messages.size() != messages || Interrupts::Received() != 0) return;
    const std::string png = canvas_.PngBytes();
    if (png.empty()) {
      win_.MessageBox("The picture cannot be drawn.");
      return;
    }
    SaveFile(program_, win_, path, "picture", png);
  }

  const CommandLine& line_;
  RasterCanvas canvas_;
  HeadlessWindow win_{canvas_};
  Program program_;
  BatchProgress progress_{line_.timings};
  std::string warned_;
  FieldActions fields_{program_, win_, [this](const char* name, std::unique_ptr<Operation> op) {
                         Run(name, std::move(op));
                       }};
};

}  // namespace

int RunBatch(const CommandLine& line) {
  const Interrupts interrupts;
  // The plot's charts are widgets, drawn off any screen: they need an application, which the
  // other actions do without.
  std::unique_ptr<QApplication> application;
  const bool plots =
      std::any_of(line.actions.begin(), line.actions.end(), [](const BatchAction& a) {
        return a.kind == BatchAction::Plot || a.kind == BatchAction::Field ||
               (a.kind == BatchAction::Forces && PictureFormatOf(a.values[0]));
      });
  static int argc = 1;
  static char name[] = "tarvenol-batch";
  static char* argv[] = {name, nullptr};
  if (plots) {
    // Drawn off any screen whatever the environment asks for: a desktop's platform may not
    // start here (xcb without a display), and the batch tool shows nothing on one anyway.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the program's own messages; Qt's remarks on the desktop it
    // found are not among them. Where Qt cannot go on, the program ends with its message and
    // exit status 1, not with a core dump.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg) Say(text.toStdString());
      if (type == QtFatalMsg) std::_Exit(1);
    });
    application = std::make_unique<QApplication>(argc, argv);
  }
  return BatchRun(line).Run();
}

}  // namespace tarvenol
