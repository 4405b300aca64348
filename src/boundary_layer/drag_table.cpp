#include "boundary_layer/drag_table.h"

#include <charconv>
#include <optional>

namespace tarvenol {
namespace {

void Append(std::string& out, double v) {
  char text[32];
  out.append(text, std::to_chars(text, text + sizeof text, v).ptr);
}

const char* RegimeName(Regime r) {
  switch (r) {
    case Regime::Laminar:
      return "laminar";
    case Regime::Turbulent:
      return "turbulent";
    case Regime::Separated:
      return "separated";
  }
  return "";
}

}  // namespace

std::string DragCsv(const BoundaryLayerResult& result) {
  std::string out = "x_over_L,s,Ue,theta,delta_star,H,cf,Re_theta,regime\n";
  for (const LayerStation& k : result.stations) {
    for (const double v : {k.xOverL, k.s, k.Ue, k.theta, k.deltaStar, k.H, k.cf, k.ReTheta}) {
      Append(out, v);
      out += ',';
    }
    out += RegimeName(k.regime);
    out += '\n';
  }
  return out;
}

std::string DragFigureLines(const BoundaryLayerResult& result) {
  const DragFigures& f = result.figures;
  std::string out;
  auto line = [&](const char* name, std::optional<double> v) {
    out += name;
    out += ' ';
    if (v) {
      Append(out, *v);
    } else {
      out += "none";
    }
    out += '\n';
  };
  line("Re_L", f.ReL);
  line("CD_wetted", f.CDWetted);
  line("CD_volume", f.CDVolume);
  line("CD_frontal", f.CDFrontal);
  line("CF_ITTC57", f.CFITTC57);
  line("form_factor", f.formFactor);
  line("x_transition", f.xTransition);
  line("x_separation", f.xSeparation);
  line("CD_friction_wetted", f.CDFrictionWetted);
  return out;
}

}  // namespace tarvenol
