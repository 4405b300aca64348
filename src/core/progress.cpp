#include "core/progress.h"

namespace tarvenol {

const char* StageName(Stage stage) {
  switch (stage) {
    case Stage::Geometry:
      return "geometry";
    case Stage::Coefficients:
      return "influence coefficients";
    case Stage::MatrixReport:
      return "matrix report";
    case Stage::Elimination:
      return "elimination";
    case Stage::SurfaceVelocity:
      return "surface velocities";
    case Stage::Report:
      return "report";
    case Stage::FlowField:
      return "flow field";
    case Stage::Streamlines:
      return "streamlines";
    case Stage::BodyPotential:
      return "potential on the body";
    case Stage::Points:
      return "points";
    case Stage::Picture:
      return "picture";
    case Stage::Forces:
      return "forces";
    case Stage::BoundaryLayer:
      return "boundary layer";
  }
  return "work";
}

}  // namespace tarvenol
