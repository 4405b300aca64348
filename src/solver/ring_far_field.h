#pragma once
// The far field of the solve by the body's symmetry: the five mode sums of a ring of source
// panels (symmetric_solve.h) at a control point far from it, without the panel kernel; and
// the same for the potential of a ring whose sources go as cos theta around the axis, which
// the added masses need (body_potential.h).
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
// 2'. Or, for NJ up to kMaxCopies, the NJ copies of the point, at psi_q + d dPhi, are summed
//    as they are, with the weights cos(m d dPhi) and sin(m d dPhi): the panels' own sum, with
//    no aliases at all. The copies of the points -t mirror those of +t and sum the same.
// 3. The panel's integral is a Gauss-Legendre rule of nS points in s and nT in t; the points
//    +-t share one ring, and their phases sum to 2 cos(m psi_q).
//
// The bound. Let rho0 be a lower bound of the distance, in the meridian plane, from P to the
// panel's points, R the largest radius of the panel and u = eps / A_body the tolerance eps
// spread over the body's area. A point source moved from Q by a complex multiple z of a real
// unit vector keeps |P - Q'|^2 >= (|P - Q| - |z|)^2 (a quadratic in z whose roots lie at
// |z| = |P - Q|), so with |z| <= kappa |P - Q|, kappa = 0.6, its field stays below c / (4 pi
// |P - Q|^2), c = (1 + kappa) / (1 - kappa)^3 = 25, and its potential below c' / (4 pi
// |P - Q|), c' = 1 / (1 - kappa) = 2.5.
// (a), (b) A point source at such a distance, turned by a complex angle theta, keeps
//    |(P - Q).(P - Q)| >= Re (P - Q).(P - Q) >= D^2 = rho0^2 - 2 r R (cosh Im(theta) - 1),
//    while the sum of the squared sizes of the components of P - Q exceeds that real part by
//    2 r_Q^2 sinh^2 Im(theta) at most. So its field is analytic for |Im theta| < eta, cosh eta
//    = 1 + rho0^2 / (2 r R), at most V(eta') = (1 + 2 R^2 sinh^2 eta' / D^2)^(1/2) / (4 pi
//    D^2) on |Im theta| = eta' (its potential at most V(eta') = 1 / (4 pi D)), and its modes
//    at most V(eta') e^(-|n| eta'). The aliases of N angles come to at most W(N) = 2 V(eta')
//    e^(-(N - 1) eta') / (1 - e^(-N eta')), with eta' = eta - 1.5 / N (about the least of the
//    product): (a) = NJ A W(NJ) for the panels, (b) = NJ A W(M) for the trapezoidal sums; both
//    0 for the copies.
// (c), (d) A Gauss-Legendre rule of n points errs by at most 64/15 B beta^(-2n) / (1 - beta^-2)
//    for an integrand analytic, and at most B, in the ellipse with foci -+1 whose semi-axes
//    sum to beta (Trefethen, Approximation Theory and Approximation Practice, theorem 19.3).
//    A complex s moves each point along the panel's side by at most |s| l, l half the side's
//    length; with |s| l <= kappa rho0: (c) = NJ 64/15 L (h + |s| |h2 - h1| / 2) c / (4 pi
//    rho0^2) beta^(-2 nS) / (1 - beta^-2), h the mean half-width, beta from |s| = kappa rho0 /
//    l. Across, a complex t moves the point Q(s, 0) along the panel's width, a real unit vector,
//    by t h(s), and each turned copy of it with it; with |t| h2' <= kappa rho0 (h2' the larger
//    half-width) every copy's field stays below c / (4 pi rho0^2), and so do the mode of the
//    point's ring, a mean over real angles, and a sum of the copies over NJ:
//    (d) = NJ 64/15 L h2' c / (4 pi rho0^2) beta^(-2 nT) / (1 - beta^-2), beta from
//    |t| = kappa rho0 / h2'. For the modes, a second bound, which the slender panels of many
//    panels around favour: the ring of the point at t has the radius rho sqrt(1 + tau) and the
//    phase cos psi = 1 / sqrt(1 + tau), tau = t^2 tan^2 alpha, and the mode m of a ring is a
//    function of its radius squared times the radius to the m: analytic in tau. For |tau| <= T
//    <= 3/4 the radius moves by at most rho T / 1.5 and the phase stays below 2; with that move
//    at most kappa rho0, (d) as above with 2 c in place of c and beta from |t| = sqrt(T) /
//    tan alpha; the rule of fewer points is taken. For the potential, c' / (4 pi rho0) in place
//    of c / (4 pi rho0^2).
// A ring is far when rho0 > 0 and rules exist with (a) + (b) <= NJ A u / 2 and (c), (d) <=
// NJ A u / 4, and they cost less than the kernel's NJ / 2 + 1 calls; the cheaper of the modes
// and the copies, and the fewest points, are taken. Each of the five sums of a far ring then
// errs by at most eps times the ring's share of the body's area, and a row's sums over all its
// far rings by at most eps. The source strengths of a mode move by at most |N^-1| eps
// max|sigma|, the velocities by eps max|sigma| and N's share of that; N's inverse (its
// eigenvalues on a sphere are (2n + 1) / (n + 1) <= 2) stays below a few for the program's
// bodies, and the solution within about 1e-10 of the stream for eps = kRingFarFieldTolerance.
// The potential's sum of a far ring errs likewise by at most eps (then a length) times the
// ring's share, and a row's by eps. Beside the mode sums it takes their rules: with eps' =
// eps Db, Db the diameter of the body (so rho0 and D are at most Db), its Gauss bounds come to
// c' / (4 pi rho0 u') = rho0 / (10 Db) c / (4 pi rho0^2 u), a tenth of theirs at most, and its
// aliases' V / u' = 1 / (4 pi D u') to at most 1 / (4 pi D^2 u), theirs at least: a rule that
// meets the mode sums' bound at eps meets the potential's at eps Db (RingPotentialTolerance).
//
// A ring whose panel is no such trapezoid (an end off the axis, radii of both signs) is always
// near, and is not its own mirror image.

#include <vector>

#include "core/model_state.h"
#include "solver/vector_path.h"

namespace tarvenol {

// The bound eps of a row's far rings on each mode sum.
inline constexpr double kRingFarFieldTolerance = 1e-11;

// Whether s holds the grid of its profile's points (xB, yB, zB), which panels made by hand may
// lack.
bool HasProfileGrid(const ModelState& s);

// The bound eps Db on a row's far rings of the potential's sums that the rules of the mode sums
// at tolerance eps keep, Db the diameter of the body's profile turned about the axis; 0 without
// a profile's grid.
double RingPotentialTolerance(const ModelState& s, double tolerance);

// The field point of a row: its control point and normal in its meridian plane.
struct RingFieldPoint {
  double x = 0, r = 0;
  double nX = 0, nR = 0;
};

// What a far ring gives: the five mode sums of the velocity, or the potential's sum of mode 1.
enum class RingQuantity { Velocity, Potential };

// How a far ring is summed; near when angles is 0.
struct RingRule {
  int along = 0, across = 0;  // Gauss points in s and t
  int angles = 0;             // M, or NJ for the copies
  bool copies = false;        // the NJ copies of each point as they are (2'.)
  bool Far() const { return angles != 0; }
};

// The five mode sums of one source ring at one field point (symmetric_solve.h), and where asked
// the potential's sum of mode 1 (PotentialOf's).
struct RingSums {
  double n0 = 0, n1 = 0, t0 = 0, t1 = 0, c1 = 0;
  double p1 = 0;
};

class RingFarField {
 public:
  // The rings of s's panels of column 1, whose middle lies in the plane at cos and sin of
  // phi. A tolerance of 0 takes every ring as near.
  RingFarField(const ModelState& s, double cosPhi, double sinPhi, double tolerance,
               VectorPath path = WidestVectorPath());

  // The field point of panel (i, 1).
  RingFieldPoint FieldPointOf(const ModelState& s, int i) const;

  // How ring k is summed at p for the quantity: near, or the cheapest rule that meets the
  // bound.
  RingRule RuleFor(const RingFieldPoint& p, int k,
                   RingQuantity quantity = RingQuantity::Velocity) const;

  // The five sums of far ring k at p by rule, and with the potential's where asked: the same
  // bits as PotentialOf's.
  RingSums SumsOf(const RingFieldPoint& p, int k, const RingRule& rule,
                  bool withPotential = false) const;

  // sum_d phi_d cos(d dPhi) of far ring k at p by rule, phi_d the potential of unit source
  // strength on panel (k, 1 + d).
  double PotentialOf(const RingFieldPoint& p, int k, const RingRule& rule) const;

  // Whether ring k's panels are each their own mirror image in the plane through their middle.
  bool Mirrored(int k) const;

  // Point sources of a ring's sums a rule evaluates, and the bytes the far field holds for ni
  // rings and nj panels around.
  static double PointsOf(const RingRule& rule);
  static double Bytes(double ni, double nj);

  // The angles of a ring's sums: a trapezoidal sum at M = 16 j - 2 angles, by the half of them
  // from 0 to pi, 8 j angles, each weighed 1 or 2, mode1 their cosines; or the NJ copies of a
  // point at psi, at psi + d dPhi, mode1 cos(d dPhi), sine2 sin(psi + d dPhi) sin(d dPhi), and
  // angles of weight 0 to fill the last 8.
  struct AngleTable {
    std::vector<double> oneMinusCos, cosine, mode1, sine2, weight;
  };
  // A point ring of a rule's points: its distance along x from the field point, its radius,
  // and its weights in the sums of the modes 0 and 1.
  struct PointRing {
    double dx, rq, w0, w1;
    const AngleTable* table;  // the angles its sums take
  };
  // The five sums of the rings at p, each summed at the table's angles, times 4 pi, and the
  // potential's sum of mode 1 times -4 pi (or 0); and that alone.
  using RingKernel = void (*)(const PointRing* rings, int count, const RingFieldPoint& p,
                              double sums[6]);
  using PotentialKernel = double (*)(const PointRing* rings, int count, const RingFieldPoint& p);

 private:
  // The most Gauss points of a rule, and the most angles of a ring's sum: beyond them the kernel
  // is cheaper.
  static constexpr int kMaxGaussPoints = 12;
  static constexpr int kMaxAngles = 1022;
  // The most Gauss points across (an even number), and the most panels around whose copies
  // are summed as they are.
  static constexpr int kMaxAcross = 12;
  static constexpr int kMaxCopies = 64;
  // The strip of an alias bound lies this far, times 1 / N, inside the field's.
  static constexpr double kAliasShift = 1.5;
  // The most point rings of a rule: kMaxGaussPoints along, kMaxAcross / 2 radii across.
  static constexpr int kMaxPointRings = kMaxAcross / 2 * kMaxGaussPoints;

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

  // The kernels of the vector path.
  static RingKernel KernelFor(VectorPath path, bool withPotential);
  static PotentialKernel PotentialKernelFor(VectorPath path);
  // The Gauss rules and the angles' tables.
  void MakeTables(double twoPi);
  // The fewest angles M of the first tables whose aliases and the panels' together stay
  // within budget, 0 for none.
  int AnglesFor(double coshEtaLess1, double r, double rMax, double rho0Squared, double budget,
                RingQuantity quantity, std::size_t tables) const;
  // The point rings of far ring k's rule at p; their count.
  int PointRingsOf(const RingFieldPoint& p, int k, const RingRule& rule, PointRing* rings) const;
  const AngleTable& ModeTable(const RingRule& rule) const;

  double cosPhi_, sinPhi_, fourPi_;
  int nj_ = 0;
  double alpha_ = 0, cosAlpha_ = 1, sinAlpha_ = 0, tanAlpha_ = 0, u_ = 0;
  std::vector<SourceRing> rings_;             // 1..NI
  std::vector<GaussRule> gauss_;              // 1..kMaxGaussPoints points
  std::vector<std::vector<double>> stretch_;  // sqrt(1 + (t tan alpha)^2) at each rule's nodes
  std::vector<AngleTable> angleTables_;       // M = 14, 30, ...
  // The copies at the positive nodes of the rules of 2, 4, ... kMaxAcross points across.
  std::vector<std::vector<AngleTable>> copyTables_;
  double panelShift_ = 1;           // e^(-1.5 / NJ)
  std::vector<double> angleShift_;  // e^(-1.5 / M)
  RingKernel kernel_, kernelWithPotential_;
  PotentialKernel potentialKernel_;
};

}  // namespace tarvenol
