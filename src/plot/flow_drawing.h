#pragma once
// The picture of the flow around the body: a colour map of Cp (or of the speed) in the plane of
// the stream, at equal scales along x and y, with its colour scale, the streamlines, the body's
// section on top and a legend. Drawn on any QPainter: the window's, or an image's for a file.
// Needs a QGuiApplication, for the fonts.

#include <string>

#include "results/flow_picture.h"

class QPainter;
class QRectF;

namespace tarvenol {

enum class FlowColour { Cp, Speed };

void DrawFlowPicture(QPainter& painter, const QRectF& area, const FlowPicture& picture,
                     FlowColour colour);

// The picture at width x height pixels (a height of 0: as high as the plane of the field needs
// at that width), as SVG for a path ending in ".svg" and as PNG otherwise, written whole or not
// at all; a ProgramError when it cannot be written.
void SaveFlowPicture(const FlowPicture& picture, const std::string& path,
                     FlowColour colour = FlowColour::Cp, int width = 900, int height = 0);

}  // namespace tarvenol
