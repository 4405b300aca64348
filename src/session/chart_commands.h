#pragma once
// The charts of the results saved as pictures, for the window and the batch tool alike: SVG for
// a name ending in ".svg", PNG otherwise. Each says here, and only here, why nothing is written:
// no solution yet, a chart that cannot be drawn, or a file that cannot be written.

#include <string>

#include "core/progress.h"
#include "core/window_ops.h"
#include "session/charts.h"
#include "session/program.h"

namespace tarvenol {

// The plot of the pressure along the body of the solution shown.
void SavePressurePlot(const Program& p, WindowOps& win, Charts& charts, const std::string& path);

// The pitching moment against the angle, from..to by step, as ForcesOverAngles gives it.
void SaveMomentPlot(Program& p, WindowOps& win, Charts& charts, const std::string& path,
                    double from, double to, double step, Progress* progress = nullptr);

// cf, theta and H of the boundary layer along the body.
void SaveDragPlot(const Program& p, WindowOps& win, Charts& charts, const DragResult& drag,
                  const std::string& path);

// The picture of the flow in the plane of the stream.
void SaveFlowPicture(const Program& p, WindowOps& win, Charts& charts, const FlowPicture& picture,
                     FlowColour colour, const std::string& path);

}  // namespace tarvenol
