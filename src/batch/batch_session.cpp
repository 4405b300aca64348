#include "batch/batch_session.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>

#include "batch/interrupts.h"
#include "batch/standard_output.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "session/chart_commands.h"
#include "session/commands.h"
#include "session/incidence_commands.h"
#include "session/picture_aside.h"
#include "session/results_commands.h"
#include "session/saved_files.h"
#include "session/view_handlers.h"

namespace tarvenol {
namespace {

constexpr int kPictureSize = 400;

}  // namespace

void Say(const std::string& text) {
  std::fprintf(stderr, "tarvenol-batch: %s\n", TerminalLine(text).c_str());
}

BatchProgress::BatchProgress(bool timings)
    : timings_(timings), terminal_(isatty(STDERR_FILENO) != 0) {}

bool BatchProgress::Advance(Stage stage, double fraction) {
  if (terminal_) line_.Advance(stage, fraction);
  if (timings_) timer_.Advance(stage, fraction);
  return Interrupts::Received() == 0;
}

void BatchProgress::WorkDone() {
  line_.End();
  timer_.Begin("picture and state");
}

BatchSession::BatchSession(bool withTimings)
    : timings(withTimings), canvas(kPictureSize, kPictureSize) {
  win.onMessage = Say;
  win.showsPictures = false;
}

void BatchSession::Run(const char* name, std::unique_ptr<Operation> operation) {
  if (!operation) return;
  operation->Run(progress);
  progress.WorkDone();
  operation->Finish(program, win);
  if (timings) Say(std::string(name) + ": " + progress.Timer().Take());
}

void BatchSession::PrepareBody(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) {
    win.MessageBox("The body file " + ShownPath(path) + " cannot be found: " + error.message() +
                   ".");
    return;
  }
  ShowFileChooser(program, win);
  win.ChooseFile(absolute.parent_path().string(), absolute.filename().string());
  Run("body", PlanPrepareBodyFile(program, win));
}

void BatchSession::SavePlot(const std::string& path) {
  SavePressurePlot(program, win, charts, path);
}

void BatchSession::SaveForces(const std::vector<std::string>& values) {
  double range[3] = {0, 90, 5};
  for (std::size_t k = 1; k < values.size(); ++k) {
    const std::optional<double> number = WholeTextNumber(values[k]);
    if (!number) {
      win.MessageBox("The angles of a table of forces are numbers of degrees; " + Shown(values[k]) +
                     " is not.");
      return;
    }
    range[k - 1] = *number;
  }
  const std::string& path = values[0];
  if (PictureFormatOf(path)) {
    SaveMomentPlot(program, win, charts, path, range[0], range[1], range[2], &progress);
  } else {
    ExportForces(program, win, path, range[0], range[1], range[2], &progress);
  }
}

void BatchSession::SavePicture(const std::string& path) {
  const std::size_t messages = win.messages.size();
  RedrawView(program.state, program.view, win, progress);
  // A picture not drawn again, for a message or a signal, is not saved.
  if (win.messages.size() != messages || Interrupts::Received() != 0) return;
  const std::string png = canvas.PngBytes();
  SaveDrawnFile(program, win, path, "picture", png);
}

void BatchSession::PrintFigures(const std::vector<std::pair<std::string, double>>& figures) {
  std::string lines;
  for (const auto& [name, value] : figures) {
    char text[32];
    lines += name + " " + std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    lines += '\n';
  }
  PrintResult(win, lines);
}

}  // namespace tarvenol
