#include "boundary_layer/boundary_layer.h"

#include <cmath>
#include <numbers>

#include "boundary_layer/body_drag.h"
#include "boundary_layer/lag_entrainment.h"
#include "boundary_layer/laminar_layer.h"
#include "boundary_layer/turbulent_layer.h"
#include "core/program_error.h"
#include "core/shown_text.h"

namespace tarvenol {
namespace {

void CheckSettings(const BoundaryLayerInput& in) {
  if (!(in.reynolds > 0 && in.reynolds <= kMostReynolds)) {
    throw ProgramError("The Reynolds number must be a number above 0 and at most " +
                       ShownNumber(kMostReynolds, 4) + "; " + ShownNumber(in.reynolds, 4) +
                       " is not.");
  }
  const double trip = in.transition.tripXOverL;
  if (in.transition.kind == TransitionKind::Trip && !(trip >= 0 && trip <= 1)) {
    throw ProgramError("A trip lies at an x/L from 0 to 1; " + ShownNumber(trip, 4) + " is not.");
  }
  const BodyMeasures& b = in.body;
  if (!(b.length > 0 && b.wettedArea > 0 && b.volume > 0 && b.frontalArea > 0) ||
      !std::isfinite(b.length * b.wettedArea * b.volume * b.frontalArea * b.xNose)) {
    throw ProgramError("The body has no length, area or volume to take the drag on.");
  }
}

Meridian Scaled(const Meridian& m, double length) {
  Meridian scaled = m;
  for (auto* v : {&scaled.s, &scaled.x, &scaled.r0}) {
    for (double& value : *v) value /= length;
  }
  return scaled;
}

// The table, the skin friction along the wall and the drag as the march builds them, in units
// of the body length.
class Outcome {
 public:
  Outcome(const EdgeFlow& edge, const BoundaryLayerInput& in)
      : edge_(edge), L_(in.body.length), xNose_(in.body.xNose / in.body.length) {}

  double XOverL(double s) const { return edge_.x(s) - xNose_; }

  void Add(double s, double theta, double H, double cf, double ReTheta, Regime regime) {
    const double Ue = edge_.Ue(s);
    table_.push_back({XOverL(s), s * L_, Ue, theta * L_, H * theta * L_, H, cf, ReTheta, regime});
    friction_.push_back({s, cf * Ue * Ue * edge_.dxds(s) * 2 * std::numbers::pi * edge_.r0(s)});
  }
  void Add(double s, const LaminarState& l, Regime regime = Regime::Laminar) {
    Add(s, l.theta, l.H, l.cf, l.ReTheta, regime);
  }
  void Add(double s, const TurbulentState& t, Regime regime = Regime::Turbulent) {
    Add(s, t.theta, t.H, t.cf, t.ReTheta, regime);
  }

  // The drag from the layer's momentum area and its shape over the cross-section at s, where the
  // march ended.
  BoundaryLayerResult Result(const BoundaryLayerInput& in, double s, double momentumArea,
                             double HArea) {
    BoundaryLayerResult out;
    out.stations = std::move(table_);
    DragFigures& f = out.figures;
    f.ReL = in.reynolds;
    const double area = YoungDragArea(momentumArea, edge_.Ue(s), HArea) * L_ * L_;
    const BodyMeasures& b = in.body;
    f.CDWetted = area / b.wettedArea;
    f.CDVolume = area / std::pow(b.volume, 2.0 / 3);
    f.CDFrontal = area / b.frontalArea;
    f.CFITTC57 = Ittc57Friction(in.reynolds);
    f.formFactor = f.CDWetted / f.CFITTC57;
    // The wall ahead of the first station counts with the first station's friction.
    double friction = 0, sLast = edge_.Begin();
    double fLast = friction_.empty() ? 0 : friction_.front().second;
    for (const auto& [sk, fk] : friction_) {
      friction += 0.5 * (fLast + fk) * (sk - sLast);
      sLast = sk;
      fLast = fk;
    }
    f.CDFrictionWetted = friction * L_ * L_ / b.wettedArea;
    return out;
  }

 private:
  const EdgeFlow& edge_;
  double L_, xNose_;
  std::vector<LayerStation> table_;
  std::vector<std::pair<double, double>> friction_;
};

std::string SeparationWarning(const char* layer, double xOverL) {
  return std::string("The ") + layer + " layer separates at x/L = " + ShownNumber(xOverL, 4) +
         ": the march stops there, and the drag is Young's formula applied there, an estimate.";
}

BoundaryLayerResult MarchLayers(const BoundaryLayerInput& in) {
  const Meridian m = Scaled(in.meridian, in.body.length);
  const EdgeFlow edge(m);
  const double nu = 1 / in.reynolds;
  const TransitionSetting& t = in.transition;
  Outcome out(edge, in);

  const std::vector<double> stations(m.s.begin() + 1, m.s.end());
  const double tripX = t.kind == TransitionKind::Trip
                           ? std::max(in.body.xNose / in.body.length + t.tripXOverL, m.x[1])
                           : HUGE_VAL;
  const LaminarRun laminar =
      MarchLaminar(edge, nu, stations, t.kind != TransitionKind::Laminar, tripX);
  for (std::size_t k = 0; k < laminar.s.size(); ++k) out.Add(laminar.s[k], laminar.layer[k]);
  const double sLaminar = laminar.sEnd;
  const LaminarState& atEnd = laminar.atEnd;
  if (laminar.end == LaminarEnd::Separation && laminar.s.empty()) {
    throw ProgramError(
        "The laminar layer separates at the stagnation point: the edge velocity does not rise "
        "from the nose, so the boundary layer cannot be taken.");
  }
  // The laminar layer is thin: its momentum area is r0 theta.
  const double laminarArea = edge.r0(sLaminar) * atEnd.theta;
  if (laminar.end == LaminarEnd::Tail) return out.Result(in, sLaminar, laminarArea, atEnd.H);
  if (laminar.end == LaminarEnd::Separation && t.kind == TransitionKind::Laminar) {
    out.Add(sLaminar, atEnd, Regime::Separated);
    BoundaryLayerResult r = out.Result(in, sLaminar, laminarArea, atEnd.H);
    r.end = LayerEnd::LaminarSeparation;
    r.figures.xSeparation = out.XOverL(sLaminar);
    r.warnings.push_back(SeparationWarning("laminar", out.XOverL(sLaminar)));
    return r;
  }

  // Transition: the laminar layer's end and the turbulent layer's start side by side.
  std::vector<double> after;
  for (const double s : stations) {
    if (s > sLaminar) after.push_back(s);
  }
  const TurbulentRun turbulent = in.turbulent == TurbulentMethod::Head
                                     ? MarchTurbulent(edge, nu, sLaminar, atEnd.theta, after)
                                     : MarchLagEntrainment(edge, nu, sLaminar, atEnd.theta, after);
  out.Add(sLaminar, atEnd);
  out.Add(sLaminar, turbulent.atStart);
  for (std::size_t k = 0; k < turbulent.s.size(); ++k) out.Add(turbulent.s[k], turbulent.layer[k]);
  const TurbulentState& last = turbulent.atEnd;
  const bool separated = turbulent.end == TurbulentEnd::Separation;
  if (separated) out.Add(turbulent.sEnd, last, Regime::Separated);
  BoundaryLayerResult r = out.Result(in, turbulent.sEnd, last.momentumArea, last.HArea);
  r.figures.xTransition = out.XOverL(sLaminar);
  if (laminar.end == LaminarEnd::Separation) {
    r.separationBubble = true;
    r.warnings.push_back(
        "The laminar layer separates at x/L = " + ShownNumber(out.XOverL(sLaminar), 4) +
        " before it turns turbulent: it is taken to turn turbulent there.");
  }
  if (separated) {
    r.end = LayerEnd::TurbulentSeparation;
    r.figures.xSeparation = out.XOverL(turbulent.sEnd);
    r.warnings.push_back(SeparationWarning("turbulent", out.XOverL(turbulent.sEnd)));
  }
  return r;
}

}  // namespace

BoundaryLayerResult MarchBoundaryLayer(const BoundaryLayerInput& in) {
  CheckSettings(in);
  BoundaryLayerResult r = MarchLayers(in);
  const DragFigures& f = r.figures;
  // A figure without a value is no drag, whatever the march met on its way.
  if (!std::isfinite(f.CDWetted * f.CDVolume * f.CDFrontal * f.formFactor * f.CDFrictionWetted)) {
    throw ProgramError("The boundary layer's march met a state without a value: it gives no drag.");
  }
  return r;
}

}  // namespace tarvenol
