#include "plot/qt_charts.h"

#include "plot/chart_file.h"
#include "plot/drag_chart.h"
#include "plot/flow_drawing.h"
#include "plot/moment_chart.h"
#include "plot/pressure_chart.h"
#include "session/results_cache.h"

namespace tarvenol {
namespace {

constexpr int kPlotWidth = 900, kPlotHeight = 560;

}  // namespace

std::string QtCharts::PressurePlot(const PressureAlongBody& pressure, PlotFormat format) {
  return PressurePlotBytes(pressure, format, kPlotWidth, kPlotHeight);
}

std::string QtCharts::MomentPlot(const ForcesTable& table, const std::string& body,
                                 PlotFormat format) {
  return ChartBytes(MakeMomentChart(table, body), format, kPlotWidth, kPlotHeight);
}

std::string QtCharts::DragPlot(const DragResult& drag, PlotFormat format) {
  return ChartBytes(MakeDragChart(drag.layer, drag.length, drag.body), format, kPlotWidth,
                    kPlotHeight);
}

std::string QtCharts::FlowPlot(const FlowPicture& picture, FlowColour colour, PlotFormat format) {
  return FlowPictureBytes(picture, format, colour, kPlotWidth);
}

}  // namespace tarvenol
