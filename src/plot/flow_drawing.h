#pragma once
// The picture of the flow around the body: a colour map of Cp (or of the speed) in the plane of
// the stream, at equal scales along x and y, with its colour scale, the streamlines, the body's
// section on top and a legend. Drawn on any QPainter: the window's, or an image's for a file.
// Needs a QGuiApplication, for the fonts.

#include <string>

#include "field/flow_picture.h"
#include "plot/chart_file.h"

class QPainter;
class QRectF;

namespace tarvenol {

void DrawFlowPicture(QPainter& painter, const QRectF& area, const FlowPicture& picture,
                     FlowColour colour);

// The bytes of a file of the picture at width x height pixels (a height of 0: as high as the
// plane of the field needs at that width); empty when it cannot be drawn.
std::string FlowPictureBytes(const FlowPicture& picture, PlotFormat format,
                             FlowColour colour = FlowColour::Cp, int width = 900, int height = 0);

}  // namespace tarvenol
