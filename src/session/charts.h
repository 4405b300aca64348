#pragma once
// The charts and pictures of the results that are saved as files. The session decides what is
// drawn, where it goes and why nothing is written (chart_commands.h); the drawing is done by
// whatever implements Charts: the plot library, on Qt Charts (plot/qt_charts.h), for the window
// and the batch tool alike.

#include <optional>
#include <string>

namespace tarvenol {

struct DragResult;
struct FlowPicture;
struct ForcesTable;
struct PressureAlongBody;

enum class PlotFormat { Png, Svg };

// What colours the picture of the flow: the pressure coefficient or the speed.
enum class FlowColour { Cp, Speed };

// The picture a file's name asks for: SVG for a name ending in ".svg", PNG for ".png" (in any
// case); nothing for another name.
std::optional<PlotFormat> PictureFormatOf(const std::string& path);

class Charts {
 public:
  virtual ~Charts() = default;

  // The bytes of a file of each chart, drawn at the size files of it have; empty when it cannot
  // be drawn.
  virtual std::string PressurePlot(const PressureAlongBody& pressure, PlotFormat format) = 0;
  virtual std::string MomentPlot(const ForcesTable& table, const std::string& body,
                                 PlotFormat format) = 0;
  virtual std::string DragPlot(const DragResult& drag, PlotFormat format) = 0;
  virtual std::string FlowPlot(const FlowPicture& picture, FlowColour colour,
                               PlotFormat format) = 0;
};

}  // namespace tarvenol
