#include "session/chart_commands.h"

#include <optional>

#include "session/incidence_commands.h"
#include "session/results_commands.h"
#include "session/saved_files.h"

namespace tarvenol {
namespace {

PlotFormat FormatOf(const std::string& path) {
  return PictureFormatOf(path).value_or(PlotFormat::Png);
}

}  // namespace

void SavePressurePlot(const Program& p, WindowOps& win, Charts& charts, const std::string& path) {
  const std::optional<PressureAlongBody> pressure = CurrentPressure(p);
  if (!pressure) {
    win.MessageBox("There is no solution to plot yet: apply Hess's panel method first.");
    return;
  }
  SaveDrawnFile(p, win, path, "plot", charts.PressurePlot(*pressure, FormatOf(path)));
}

void SaveMomentPlot(Program& p, WindowOps& win, Charts& charts, const std::string& path,
                    double from, double to, double step, Progress* progress) {
  const std::optional<ForcesTable> table = ForcesOverAngles(p, win, from, to, step, progress);
  if (!table) return;
  SaveDrawnFile(p, win, path, "plot", charts.MomentPlot(*table, BodyName(p), FormatOf(path)));
}

void SaveDragPlot(const Program& p, WindowOps& win, Charts& charts, const DragResult& drag,
                  const std::string& path) {
  SaveDrawnFile(p, win, path, "plot", charts.DragPlot(drag, FormatOf(path)));
}

void SaveFlowPicture(const Program& p, WindowOps& win, Charts& charts, const FlowPicture& picture,
                     FlowColour colour, const std::string& path) {
  SaveDrawnFile(p, win, path, "picture", charts.FlowPlot(picture, colour, FormatOf(path)),
                "picture of the flow");
}

}  // namespace tarvenol
