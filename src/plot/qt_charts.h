#pragma once
// The session's charts drawn on Qt Charts and QPainter, at the sizes their files have: the
// plots 900 x 560 pixels, the picture of the flow 900 wide and as high as its plane needs.
// Needs a QApplication when it draws.

#include "session/charts.h"

namespace tarvenol {

class QtCharts final : public Charts {
 public:
  std::string PressurePlot(const PressureAlongBody& pressure, PlotFormat format) override;
  std::string MomentPlot(const ForcesTable& table, const std::string& body,
                         PlotFormat format) override;
  std::string DragPlot(const DragResult& drag, PlotFormat format) override;
  std::string FlowPlot(const FlowPicture& picture, FlowColour colour, PlotFormat format) override;
};

}  // namespace tarvenol
