#include "solver/source_panel_velocity.h"

#include <cmath>

#include "solver/solid_angle.h"

namespace tarvenol {

void OutlineVelocity(const PanelOutline& p, double PI, double TwoPI, double FourPI, double x,
                     double y, double z, double& u, double& v, double& w) {
  double Su = 0, Sv = 0, SA = 0;
  bool F = false;     // some edge has the field point's foot outside it
  bool mend = false;  // some edge has the point on its line beyond it
  for (int k = 0; k < p.n; ++k) {
    const int k1 = k + 1 < p.n ? k + 1 : 0;
    const double dXi = p.dXi[k], dEta = p.dEta[k], d = p.d[k];
    const double x1 = x - p.xi[k], y1 = y - p.eta[k];
    const double x2 = x - p.xi[k1], y2 = y - p.eta[k1];
    const double r1 = std::sqrt(x1 * x1 + y1 * y1 + z * z);
    const double r2 = std::sqrt(x2 * x2 + y2 * y2 + z * z);
    // Corner positions along the edge from the foot of the field point, and the foot's
    // signed distance from the edge's line, positive on the interior side.
    const double p1 = (dXi * (p.xi[k] - x) + dEta * (p.eta[k] - y)) / d;
    const double p2 = (dXi * (p.xi[k1] - x) + dEta * (p.eta[k1] - y)) / d;
    const double a = (dEta * x1 - dXi * y1) / d;
    const double L = std::log((r1 + r2 + d) / (r1 + r2 - d));
    mend = mend || OnAnEdgesLineBeyondIt(a, r1, r2, p1, p2);

    double A = 0;
    const double D = a * a * r1 * r2 + z * z * p1 * p2;
    if (D != 0) {
      const double t = a * std::fabs(z) * (r1 * p2 - r2 * p1) / D;
      A = std::atan(t);
      if (t < 0) A = A + PI;  // into [0, pi)
    }
    if (a < 0) {
      F = true;
      A = A - PI;
    }
    if (a == 0) A = A + PI;

    Su = Su - dEta * L / d;
    Sv = Sv + dXi * L / d;
    SA = SA + A;
  }
  // B - SA is the solid angle under which the panel is seen. A point in the panel's own plane
  // but outside its outline sees it edge on: the sheet's field there lies in the plane, and its
  // normal part is 0 (the edges' angles would give a quarter for each edge the point lies
  // beyond, which on a cylinder makes every panel of a meridian push on the others).
  const double B = F ? 0 : TwoPI;
  const double side = z < 0 ? -1 : 1;
  u = Su / FourPI;
  v = Sv / FourPI;
  w = z == 0 && F ? 0 : side * (B - SA) / FourPI;
  if (mend) {
    double xi[4], eta[4];
    for (int k = 0; k < 4; ++k) {
      xi[k] = p.xi[k < p.n ? k : 0];
      eta[k] = p.eta[k < p.n ? k : 0];
    }
    w = SolidAngleNormalVelocity(xi, eta, x, y, z);
  }
}

void SourcePanelVelocity(const ModelState& s, int i, int j, double x, double y, double z, double& u,
                         double& v, double& w) {
  OutlineVelocity(OutlineOfPanel(s, i, j), s.PI, s.TwoPI, s.FourPI, x, y, z, u, v, w);
}

}  // namespace tarvenol
