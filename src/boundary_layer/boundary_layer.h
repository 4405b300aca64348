#pragma once
// The boundary layer along the meridian of a body of revolution in an axial stream, marched on
// the potential flow's edge velocity, and the drag of the body from it:
// - the edge velocity as a smooth function of arc length (boundary_layer/edge_flow.h);
// - laminar from the forward stagnation point by Thwaites' method with the body's radius
//   (boundary_layer/laminar_layer.h);
// - transition free by Michel's criterion, or at a trip at the latest (a trip forces the layer
//   turbulent where it lies, at the first station if it lies ahead of it, but cannot keep a layer
//   laminar that Michel's criterion has already turned), or none; a laminar layer that separates
//   before transition turns turbulent there, which the result says;
// - turbulent by Green's lag-entrainment method (boundary_layer/lag_entrainment.h), or by Head's
//   entrainment method with Ludwieg & Tillmann's skin friction (boundary_layer/turbulent_layer.h),
//   both in the thicknesses over the layer's cross-section (boundary_layer/thick_layer.h), so
//   that they hold where the layer grows thicker than the body's radius, as it does near a
//   closing tail; lag-entrainment is the default, its skin friction a log law that holds at the
//   Reynolds numbers of ships, where Ludwieg & Tillmann's power law falls short (docs/drag.md);
// - separation where the laminar lambda falls to -0.09 (with no transition) or the turbulent H
//   reaches 2.4: the march stops there, and the drag is taken there, an estimate;
// - the drag by Young's formula where the march ends, at the tail or at separation, in the
//   layer's momentum area and its shape over the cross-section, and the skin friction's part
//   beside it (boundary_layer/body_drag.h).
// The potential flow's stagnation at a closing tail makes the turbulent layer separate just
// ahead of it; the layer is then a near wake many times thicker than the radius, Young's quantity
// Theta (Ue / U)^((H_a + 5) / 2) varies by 4 % over the last 5 % of a hull such as the DARPA
// SUBOFF's, and the drag is taken at the separation, with a warning. The
// displacement's effect on the outer flow, and the pressure's variation across a thick layer,
// are left out.

#include <optional>
#include <string>
#include <vector>

#include "boundary_layer/meridian.h"

namespace tarvenol {

enum class TransitionKind { Free, Trip, Laminar };

struct TransitionSetting {
  TransitionKind kind = TransitionKind::Free;
  double tripXOverL = 0;  // for a trip, in 0..1
};

// The largest Reynolds number taken: far beyond ships and airships.
inline constexpr double kMostReynolds = 1e10;

// The turbulent layer's method: Head's entrainment method, or Green's lag-entrainment method.
enum class TurbulentMethod { Head, LagEntrainment };

struct BoundaryLayerInput {
  Meridian meridian;
  BodyMeasures body;
  double reynolds = 0;  // U L / nu on the body length
  TransitionSetting transition;
  TurbulentMethod turbulent = TurbulentMethod::LagEntrainment;
};

enum class Regime { Laminar, Turbulent, Separated };

// The layer at a station, in the body's units: theta, delta* and H those of the wall's profile
// (of a thick layer too, whose areas are not r0 times them: boundary_layer/thick_layer.h); cf on
// the edge velocity, tau_w / (rho Ue^2 / 2).
struct LayerStation {
  double xOverL = 0;  // from the nose
  double s = 0, Ue = 0, theta = 0, deltaStar = 0, H = 0, cf = 0, ReTheta = 0;
  Regime regime = Regime::Laminar;
};

struct DragFigures {
  double ReL = 0;
  double CDWetted = 0, CDVolume = 0, CDFrontal = 0;  // on the wetted area, V^(2/3), pi r_max^2
  double CFITTC57 = 0;
  double formFactor = 0;  // CD_wetted / CF_ITTC57
  double CDFrictionWetted = 0;
  std::optional<double> xTransition, xSeparation;  // x/L
};

enum class LayerEnd { Tail, TurbulentSeparation, LaminarSeparation };

struct BoundaryLayerResult {
  // The stations marched through; at transition the laminar layer's end and the turbulent
  // layer's start, both at the point of transition; last, a separation.
  std::vector<LayerStation> stations;
  DragFigures figures;
  LayerEnd end = LayerEnd::Tail;
  bool separationBubble = false;  // the laminar layer separated before it turned turbulent
  std::vector<std::string> warnings;
};

// Refuses, with a ProgramError, a Reynolds number that is not a number, not above 0 or above
// kMostReynolds, a trip outside 0..1, a body without length, area or volume, and a meridian the
// edge flow refuses.
BoundaryLayerResult MarchBoundaryLayer(const BoundaryLayerInput& in);

}  // namespace tarvenol
