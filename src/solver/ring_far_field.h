#pragma once
// The far field of the solve by the body's symmetry: the five mode sums of a ring of source
// panels (symmetric_solve.h) at a control point far from it, without the panel kernel.
//
// The field point P lies at (x, r) in the meridian plane of its column, with its normal
// n = (nX, nR) and t = (-nR, nX) in that plane and e around the axis. Source ring k is the
// panel (k, 1) and its NJ - 1 copies turned by d dPhi. In the frame of P's plane the panel is
// the trapezoid (a triangle at an end on the axis) between the ring's profile points (x1, r1)
// and (x2, r2) and the planes at -+alpha = -+pi / NJ:
//   Q(s, t) = (x(s), rho(s), t h(s)),  s, t in [-1, 1],  dA = h(s) L / 2 ds dt,
// x(s), rho(s) = R(s) cos alpha and h(s) = R(s) sin alpha linear in s from end 1 to end 2, L
// the length of its side in the meridian plane, A its area.
//
// 1. Modes. For a function f of the angle about the axis with modes f_n,
//      sum_d f(psi + d dPhi) e^(i m d dPhi) = NJ sum_{n = -m mod NJ} f_n e^(i n psi),
//    so each mode sum is NJ times the integral over panel (k, 1) of the mode -m of a point
//    source's field turned about the axis (a function of the point's x_q and r_q alone) with
//    the phase e^(-i m psi_q), plus the aliases n = -m + j NJ, j != 0.
// 2. The mode of the point's ring is its trapezoidal sum at M angles 2 pi l / M: exact but for
//    the aliases n = -m + j M.
// 3. The panel's integral is a Gauss-Legendre rule of nS points in s and nT in t; the points
//    +-t share one ring, and their phases sum to 2 cos(m psi_q).
//
// The bound. Let rho0 be a lower bound of the distance, in the meridian plane, from P to the
// panel's points, R the largest radius of the panel and u = eps / A_body the tolerance eps
// spread over the body's area. A point source moved from Q by a complex multiple z of a real
// unit vector keeps |P - Q'|^2 >= (|P - Q| - |z|)^2 (a quadratic in z whose roots lie at
// |z| = |P - Q|), so with |z| <= kappa |P - Q|, kappa = 0.6, its field stays below c / (4 pi
// |P - Q|^2), c = (1 + kappa) / (1 - kappa)^3 = 25.
// (a), (b) A point source at such a distance, turned by a complex angle theta, keeps
//    |(P - Q).(P - Q)| >= Re (P - Q).(P - Q) >= D^2 = rho0^2 - 2 r R (cosh Im(theta) - 1),
//    while the sum of the squared sizes of the components of P - Q exceeds that real part by
//    2 r_Q^2 sinh^2 Im(theta) at most. So its field is analytic for |Im theta| < eta, cosh eta
//    = 1 + rho0^2 / (2 r R), at most V(eta') = (1 + 2 R^2 sinh^2 eta' / D^2)^(1/2) / (4 pi
//    D^2) on |Im theta| = eta', and its modes at most V(eta') e^(-|n| eta'). The aliases of N
//    angles come to at most W(N) = 2 V(eta') e^(-(N - 1) eta') / (1 - e^(-N eta')), with
//    eta' = eta - 1.5 / N (about the least of the product): (a) = NJ A W(NJ) for the panels,
//    (b) = NJ A W(M) for the trapezoidal sums.
// (c), (d) A Gauss-Legendre rule of n points errs by at most 64/15 B beta^(-2n) / (1 - beta^-2)
//    for an integrand analytic, and at most B, in the ellipse with foci -+1 whose semi-axes
//    sum to beta (Trefethen, Approximation Theory and Approximation Practice, theorem 19.3).
//    A complex s moves each point along the panel's side by at most |s| l, l half the side's
//    length; with |s| l <= kappa rho0: (c) = NJ 64/15 L (h + |s| |h2 - h1| / 2) c / (4 pi
//    rho0^2) beta^(-2 nS) / (1 - beta^-2), h the mean half-width, beta from |s| = kappa rho0 /
//    l. Across, the ring of the point at t has the radius rho sqrt(1 + tau) and the phase
//    cos psi = 1 / sqrt(1 + tau), tau = t^2 tan^2 alpha, and the mode m of a ring is a function
//    of its radius squared times the radius to the m: analytic in tau. For |tau| <= T <= 3/4
//    the radius moves by at most rho T / 1.5 and the phase stays below 2; with that move at
//    most kappa rho0: (d) = NJ 64/15 L h2' 2 c / (4 pi rho0^2) beta^(-2 nT) / (1 - beta^-2),
//    h2' the larger half-width, beta from |t| = sqrt(T) / tan alpha.
// A ring is far when rho0 > 0 and rules exist with (a) + (b) <= NJ A u / 2 and (c), (d) <=
// NJ A u / 4, and they cost less than the kernel's NJ / 2 + 1 calls; the fewest points are
// taken. Each of the five sums of a far ring then errs by at most eps times the ring's share
// of the body's area, and a row's sums over all its far rings by at most eps. The source
// strengths of a mode move by at most |N^-1| eps max|sigma|, the velocities by eps max|sigma|
// and N's share of that; N's inverse (its eigenvalues on a sphere are (2n + 1) / (n + 1) <= 2)
// stays below a few for the program's bodies, and the solution within about 1e-10 of the
// stream for eps = kRingFarFieldTolerance.
//
// A ring whose panel is no such trapezoid (an end off the axis, radii of both signs) is always
// near.

#include <vector>

#include "core/model_state.h"
#include "solver/vector_path.h"

namespace tarvenol {

// The bound eps of a row's far rings on each mode sum.
inline constexpr double kRingFarFieldTolerance = 1e-11;

// Whether s holds the grid of its profile's points (xB, yB, zB), which panels made by hand may
// lack.
bool HasProfileGrid(const ModelState& s);

// The field point of a row: its control point and normal in its meridian plane.
struct RingFieldPoint {
  double x = 0, r = 0;
  double nX = 0, nR = 0;
};

// How a far ring is summed; near when angles is 0.
struct RingRule {
  int along = 0, across = 0;  // Gauss points in s and t
  int angles = 0;             // M
  bool Far() const { return angles != 0; }
};

// The five mode sums of one source ring at one field point (symmetric_solve.h).
struct RingSums {
  double n0 = 0, n1 = 0, t0 = 0, t1 = 0, c1 = 0;
};

class RingFarField {
 public:
  // The rings of s's panels of column 1, whose middle lies in the plane at cos and sin of
  // phi. A tolerance of 0 takes every ring as near.
  RingFarField(const ModelState& s, double cosPhi, double sinPhi, double tolerance,
               VectorPath path = WidestVectorPath());

  // The field point of panel (i, 1).
  RingFieldPoint FieldPointOf(const ModelState& s, int i) const;

  // How ring k is summed at p: near, or the fewest points that meet the bound.
  RingRule RuleFor(const RingFieldPoint& p, int k) const;

  // The five sums of far ring k at p by rule.
  RingSums SumsOf(const RingFieldPoint& p, int k, const RingRule& rule) const;

  // Point sources of a ring's trapezoidal sums a rule evaluates, and the bytes the far field
  // holds for ni rings and nj panels around.
  static double PointsOf(const RingRule& rule);
  static double Bytes(double ni, double nj);

  // A ring's trapezoidal sum at M = 16 j - 2 angles, by the half of them from 0 to pi: 8 j
  // angles, each weighed 1 or 2.
  struct AngleTable {
    std::vector<double> oneMinusCos, cosine, sine2, weight;
  };
  // A point ring of a rule's points: its distance along x from the field point, its radius,
  // and its weights in the sums of the modes 0 and 1.
  struct PointRing {
    double dx, rq, w0, w1;
  };
  // The five sums of the rings at p, each summed at the table's M angles, times 4 pi M.
  using RingKernel = void (*)(const AngleTable& table, const PointRing* rings, int count,
                              const RingFieldPoint& p, double sums[5]);

 private:
  // The most Gauss points of a rule, and the most angles of a ring's sum: beyond them the kernel
  // is cheaper.
  static constexpr int kMaxGaussPoints = 8;
  static constexpr int kMaxAngles = 1022;
  // The strip of an alias bound lies this far, times 1 / N, inside the field's.
  static constexpr double kAliasShift = 1.5;
  // The most point rings of a rule: kMaxGaussPoints along, 3 radii across.
  static constexpr int kMaxPointRings = 3 * kMaxGaussPoints;

  // Ring k's panel in the frame of the plane: ends (x1, r1) and (x2, r2), and what the bound
  // needs.
  struct SourceRing {
    bool usable = false;
    double x1 = 0, r1 = 0, x2 = 0, r2 = 0;
    double xMid = 0, rhoMid = 0;  // the middle of the panel's side in the meridian plane
    double reach = 0;             // from there to the farthest of its points
    double L = 0, halfSide = 0;   // its side's length in the meridian plane and in space / 2
    double rMax = 0;
    double hMean = 0, hMax = 0, hStep = 0;  // half-widths: mean, larger, |h2 - h1| / 2
  };
  struct GaussRule {
    std::vector<double> s, w;  // nodes and weights, a node and its negative side by side
  };

  // The fewest angles M whose aliases and the panels' together stay within budget, 0 for none.
  int AnglesFor(double coshEtaLess1, double r, double rMax, double rho0Squared,
                double budget) const;

  double cosPhi_, sinPhi_, fourPi_;
  int nj_ = 0;
  double alpha_ = 0, cosAlpha_ = 1, tanAlpha_ = 0, u_ = 0;
  std::vector<SourceRing> rings_;        // 1..NI
  std::vector<GaussRule> gauss_;         // 1..kMaxGaussPoints points
  std::vector<AngleTable> angleTables_;  // M = 14, 30, ...
  double panelShift_ = 1;                // e^(-1.5 / NJ)
  std::vector<double> angleShift_;       // e^(-1.5 / M)
  RingKernel kernel_;
};

}  // namespace tarvenol
