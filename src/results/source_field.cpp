#include "results/source_field.h"

#include <omp.h>
#include <algorithm>
#include <boost/math/quadrature/gauss.hpp>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

#include "geometry/panel_outline.h"
#include "results/loop_progress.h"
#include "results/solid_harmonics.h"

namespace tarvenol {
namespace {

// Panels of a leaf of the tree: few enough that the exact formula is cheap beside an
// expansion, enough that a leaf's expansion pays.
constexpr int kLeafPanels = 32;

// The shares of the work told to progress, roughly as they take time: the tree, the charges of
// the Gauss points, the moments of the leaves, their translations up the tree, the gradients.
constexpr double kTreeDone = 0.05, kChargesDone = 0.1, kLeavesDone = 0.65, kTranslationsDone = 0.9;
// Sources of a node between two questions whether to stop: about a millisecond's work.
constexpr std::size_t kSourcesAsked = 1 << 14;

// The highest order of the expansions: with it a node meets the bound from about 2.2 to 2.8 of
// its radii on, the farther the fewer.
constexpr int kMaxOrder = 22;
// Lanes of the sums of an expansion's terms; its coefficients are kept in whole sets of them.
constexpr int kTermLanes = 8;
constexpr int Padded(int n) {
  return (n + kTermLanes - 1) / kTermLanes * kTermLanes;
}
constexpr int kCoefficients = Padded(HarmonicCount(kMaxOrder + 1));
static_assert(kMaxOrder <= kMaxHarmonicDegree);
// Entries of reach_ for each node: k = 0..kMaxOrder + 1.
constexpr std::size_t kReach = kMaxOrder + 2;
// Entries of gradient_ for each node: for each set and component, real then imaginary parts.
constexpr std::size_t GradientSize(int flows) {
  return static_cast<std::size_t>(flows) * 3 * 2 * kCoefficients;
}

// Gauss-Legendre points along each side of a panel, on its bilinear map from the unit square:
// a polynomial of degree l in the point, times the map's Jacobian (linear for a plane
// quadrilateral or a triangle), has degree l + 1 along each side; n points integrate it exactly
// for l + 1 <= 2n - 1.
constexpr int kGaussPoints = 6;
constexpr int kExactDegree = 2 * kGaussPoints - 2;

// The bound on what the terms of degree above p leave out, at t = rho / R < 1, given
// t^(p + 1).
double Tail(double t, int p, double power) {
  return power * ((2.0 * p + 3) / (1 - t) + 2 * t / ((1 - t) * (1 - t)));
}

// Adds X to the coefficient of I_lm in a sum whose real part is taken; a negative m goes to
// I_l,-m through I_l,-m = (-1)^m conj(I_lm).
void AddTerm(Complex* G, int l, int m, Complex X) {
  if (m >= 0) {
    G[HarmonicIndex(l, m)] += X;
  } else {
    G[HarmonicIndex(l, -m)] += (-m) % 2 != 0 ? -std::conj(X) : std::conj(X);
  }
}

struct Corners {
  double q[4][3];  // a triangle repeats its last corner
};

// Corners of panel m in the field's unit of length, unit times the model's.
Corners CornersOf(const ModelState& s, int m, double unit) {
  const int nj = LoopEnd(s.NJ);
  const int i = (m - 1) / nj + 1, j = (m - 1) % nj + 1;
  Corners c{};
  const int n = s.NCor(i, j);
  for (int k = 0; k < 4; ++k) {
    const int corner = k < n ? k + 1 : n;
    c.q[k][0] = s.xCor(i, j, corner) * unit;
    c.q[k][1] = s.yCor(i, j, corner) * unit;
    c.q[k][2] = s.zCor(i, j, corner) * unit;
  }
  return c;
}

// A power of two that brings the largest corner coordinate to between 1 and 2: multiplying by
// it is exact, so the field's velocities, which lengths do not change, are the same bits in
// either unit; and the harmonics of the expansions, of degree up to 23 in the lengths, stay
// within the range of a double at every size the program takes (1e-30 to 1e30).
double LengthUnit(const ModelState& s, int count) {
  double largest = 0;
  for (int m = 1; m <= count; ++m) {
    const Corners c = CornersOf(s, m, 1);
    for (const auto& q : c.q) {
      for (const double v : q) largest = std::max(largest, std::fabs(v));
    }
  }
  return largest > 0 && std::isfinite(largest) ? std::ldexp(1.0, -std::ilogb(largest)) : 1;
}

// Adds to V[f] the velocity of node's expansion to order p at (dx, dy, dz) from its centre:
// Re sum G_lm I_lm over l = 1..p + 1, each lane of the sums taking every kTermLanes-th term.
[[gnu::always_inline]] inline void AddExpansion(const double* G, int flows, double dx, double dy,
                                                double dz, int p, double V[][3]) {
  alignas(64) double re[kCoefficients] = {}, im[kCoefficients] = {};
  IrregularHarmonics(dx, dy, dz, p + 1, re, im);
  const int terms = Padded(HarmonicCount(p + 1));
  for (int h = HarmonicCount(p + 1); h < terms; ++h) {
    re[h] = 0;
    im[h] = 0;
  }
  for (int fc = 0; fc < flows * 3; ++fc) {
    const double* Gre = G + static_cast<std::ptrdiff_t>(fc) * 2 * kCoefficients;
    const double* Gim = Gre + kCoefficients;
    double lanes[kTermLanes] = {};
    for (int h = 0; h < terms; h += kTermLanes) {
      for (int k = 0; k < kTermLanes; ++k) {
        lanes[k] += Gre[h + k] * re[h + k] - Gim[h + k] * im[h + k];
      }
    }
    double sum = 0;
    for (const double lane : lanes) sum += lane;
    V[fc / 3][fc % 3] += sum;
  }
}

void ExpansionPlain(const double* G, int flows, double dx, double dy, double dz, int p,
                    double V[][3]) {
  AddExpansion(G, flows, dx, dy, dz, p, V);
}

#if defined(__x86_64__)
TARVENOL_AVX2 void ExpansionAvx2(const double* G, int flows, double dx, double dy, double dz, int p,
                                 double V[][3]) {
  AddExpansion(G, flows, dx, dy, dz, p, V);
}

TARVENOL_AVX512 void ExpansionAvx512(const double* G, int flows, double dx, double dy, double dz,
                                     int p, double V[][3]) {
  AddExpansion(G, flows, dx, dy, dz, p, V);
}
#endif

// The Gauss points' sources: where they are, and their strength in each set.
struct Sources {
  const double *x, *y, *z;
  const double* const* q;
  int flows;
};

// Adds to re, im (kMoments for each set, one set after another) the moments about centre of
// sources first..last - 1: M_lm = sum of q conj(R_lm(point - centre)).
[[gnu::always_inline]] inline void AddMoments(const Sources& s, std::size_t first, std::size_t last,
                                              const double centre[3], const double* divisors,
                                              double* re, double* im) {
  constexpr int kMoments = HarmonicCount(kMaxOrder);
  double Rre[kMoments], Rim[kMoments];
  for (std::size_t g = first; g < last; ++g) {
    RegularHarmonics(s.x[g] - centre[0], s.y[g] - centre[1], s.z[g] - centre[2], kMaxOrder,
                     divisors, Rre, Rim);
    for (int f = 0; f < s.flows; ++f) {
      const double q = s.q[f][g];
      double* __restrict setRe = re + static_cast<std::ptrdiff_t>(f) * kMoments;
      double* __restrict setIm = im + static_cast<std::ptrdiff_t>(f) * kMoments;
      for (int h = 0; h < kMoments; ++h) {
        setRe[h] += q * Rre[h];
        setIm[h] -= q * Rim[h];
      }
    }
  }
}

using MomentsFunction = void (*)(const Sources&, std::size_t, std::size_t, const double*,
                                 const double*, double*, double*);

void MomentsPlain(const Sources& s, std::size_t first, std::size_t last, const double* centre,
                  const double* divisors, double* re, double* im) {
  AddMoments(s, first, last, centre, divisors, re, im);
}

#if defined(__x86_64__)
TARVENOL_AVX2 void MomentsAvx2(const Sources& s, std::size_t first, std::size_t last,
                               const double* centre, const double* divisors, double* re,
                               double* im) {
  AddMoments(s, first, last, centre, divisors, re, im);
}

TARVENOL_AVX512 void MomentsAvx512(const Sources& s, std::size_t first, std::size_t last,
                                   const double* centre, const double* divisors, double* re,
                                   double* im) {
  AddMoments(s, first, last, centre, divisors, re, im);
}
#endif

MomentsFunction MomentsFor(VectorPath path) {
#if defined(__x86_64__)
  if (path == VectorPath::Avx512) return MomentsAvx512;
  if (path == VectorPath::Avx2) return MomentsAvx2;
#endif
  (void)path;
  return MomentsPlain;
}

SourceField::Expansion ExpansionFor(VectorPath path) {
#if defined(__x86_64__)
  if (path == VectorPath::Avx512) return ExpansionAvx512;
  if (path == VectorPath::Avx2) return ExpansionAvx2;
#endif
  (void)path;
  return ExpansionPlain;
}

}  // namespace

SourceField::SourceField(const ModelState& s, const std::vector<const Array2*>& sigma,
                         double tolerance, VectorPath path, Progress* progress)
    : flows_(static_cast<int>(sigma.size())),
      kernel_(FieldKernelFor(path)),
      expansion_(ExpansionFor(path)) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  const int count = ni * nj;
  unit_ = LengthUnit(s, count);
  std::vector<double> corners(static_cast<std::size_t>(count) * 12);
  std::vector<double> controls(static_cast<std::size_t>(count) * 3);
  std::vector<int> cornerCount(static_cast<std::size_t>(count));
  double sources = 0;  // the sum of |sigma| times the area over the panels and the sets
  for (int m = 1; m <= count; ++m) {
    const auto at = static_cast<std::size_t>(m - 1);
    const Corners c = CornersOf(s, m, unit_);
    for (int k = 0; k < 4; ++k) {
      for (int a = 0; a < 3; ++a)
        corners[at * 12 + static_cast<std::size_t>(k * 3 + a)] = c.q[k][a];
    }
    const int i = (m - 1) / nj + 1, j = (m - 1) % nj + 1;
    controls[at * 3] = s.xC(i, j) * unit_;
    controls[at * 3 + 1] = s.yC(i, j) * unit_;
    controls[at * 3 + 2] = s.zC(i, j) * unit_;
    cornerCount[at] = s.NCor(i, j);
    const double area = OutlineArea(OutlineOfPanel(s, i, j)) * unit_ * unit_;
    for (const Array2* set : sigma) sources += std::fabs((*set)(i, j)) * area;
  }

  std::vector<int> order(static_cast<std::size_t>(count));
  for (int m = 1; m <= count; ++m) order[static_cast<std::size_t>(m - 1)] = m;
  if (count > 0) Build(order, 0, count, 0, corners, controls, cornerCount, progress);
  panels_ = FieldPanelsOf(s, order);
  for (std::size_t k = 0; k < 4; ++k) {
    for (std::vector<double>* lengths : {&panels_.xi[k], &panels_.eta[k], &panels_.d[k]}) {
      for (double& v : *lengths) v *= unit_;
    }
  }
  for (std::vector<double>* lengths : {&panels_.xC, &panels_.yC, &panels_.zC}) {
    for (double& v : *lengths) v *= unit_;
  }
  for (int f = 0; f < flows_; ++f) {
    sigma_[static_cast<std::size_t>(f)].resize(order.size());
    for (std::size_t at = 0; at < order.size(); ++at) {
      const int m = order[at];
      sigma_[static_cast<std::size_t>(f)][at] =
          (*sigma[static_cast<std::size_t>(f)])((m - 1) / nj + 1, (m - 1) % nj + 1);
    }
  }
  // A source q induces at most |q| / (4 pi R^2) at a distance R: beyond the distance where all
  // of them together induce less than 2^-60 of the unit stream, the stream stands alone.
  if (count > 0) {
    farDistance_ = nodes_[0].radius + std::sqrt(sources / (4 * std::numbers::pi) * 0x1p60);
  }
  if (tolerance > 0 && count > 0) Moments(s, order, tolerance, path, progress);
}

int SourceField::Build(std::vector<int>& order, int begin, int end, int depth,
                       const std::vector<double>& corners, const std::vector<double>& controls,
                       const std::vector<int>& cornerCount, Progress* progress) {
  const int index = static_cast<int>(nodes_.size());
  nodes_.emplace_back();
  // A leaf holds half to all of kLeafPanels panels: about 3 count / kLeafPanels nodes in all.
  if (progress != nullptr) {
    const double nodes = 3.0 * static_cast<double>(cornerCount.size()) / kLeafPanels;
    Step(*progress, Stage::FlowField, kTreeDone * std::min(1.0, index / nodes));
  }
  double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  double controlLow[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
  double controlHigh[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  auto corner = [&](int m, int k) {
    return &corners[static_cast<std::size_t>(m - 1) * 12 + static_cast<std::size_t>(k * 3)];
  };
  auto control = [&](int m) { return &controls[static_cast<std::size_t>(m - 1) * 3]; };
  for (int at = begin; at < end; ++at) {
    const int m = order[static_cast<std::size_t>(at)];
    for (int k = 0; k < 4; ++k) {
      for (int a = 0; a < 3; ++a) {
        low[a] = std::min(low[a], corner(m, k)[a]);
        high[a] = std::max(high[a], corner(m, k)[a]);
      }
    }
    for (int a = 0; a < 3; ++a) {
      controlLow[a] = std::min(controlLow[a], control(m)[a]);
      controlHigh[a] = std::max(controlHigh[a], control(m)[a]);
    }
  }
  Node node;
  node.begin = begin;
  node.depth = depth;
  node.end = end;
  for (int a = 0; a < 3; ++a) node.centre[a] = (low[a] + high[a]) / 2;
  for (int at = begin; at < end; ++at) {
    const int m = order[static_cast<std::size_t>(at)];
    for (int k = 0; k < cornerCount[static_cast<std::size_t>(m - 1)]; ++k) {
      double fromCentre = 0, fromControl = 0;
      for (int a = 0; a < 3; ++a) {
        fromCentre += std::pow(corner(m, k)[a] - node.centre[a], 2);
        fromControl += std::pow(corner(m, k)[a] - control(m)[a], 2);
      }
      node.radius = std::max(node.radius, std::sqrt(fromCentre));
      node.panelRadius = std::max(node.panelRadius, std::sqrt(fromControl));
    }
  }
  if (end - begin > kLeafPanels) {
    // Halved across the longest side of the control points' box, at the median.
    int axis = 0;
    for (int a = 1; a < 3; ++a) {
      if (controlHigh[a] - controlLow[a] > controlHigh[axis] - controlLow[axis]) axis = a;
    }
    const int middle = begin + (end - begin) / 2;
    std::nth_element(order.begin() + begin, order.begin() + middle, order.begin() + end,
                     [&](int p, int q) { return control(p)[axis] < control(q)[axis]; });
    node.child[0] =
        Build(order, begin, middle, depth + 1, corners, controls, cornerCount, progress);
    node.child[1] = Build(order, middle, end, depth + 1, corners, controls, cornerCount, progress);
  }
  nodes_[static_cast<std::size_t>(index)] = node;
  return index;
}

void SourceField::Moments(const ModelState& s, const std::vector<int>& order, double tolerance,
                          VectorPath path, Progress* progress) {
  // Every panel as the sources of its Gauss points, kGaussPoints^2 of them a panel.
  using Gauss = boost::math::quadrature::gauss<double, kGaussPoints>;
  double u[kGaussPoints], weight[kGaussPoints];  // points and weights on [0, 1]
  {
    const auto& x = Gauss::abscissa();
    const auto& w = Gauss::weights();
    int n = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
      for (const double sign : {-1.0, 1.0}) {
        if (x[k] == 0 && sign > 0) continue;
        u[n] = (1 + sign * x[k]) / 2;
        weight[n] = w[k] / 2;
        ++n;
      }
    }
  }
  constexpr auto kPerPanel = static_cast<std::size_t>(kGaussPoints) * kGaussPoints;
  const std::size_t sources = order.size() * kPerPanel;
  // Left unset until the loop below sets them: a large body's arrays are not cleared first.
  const auto array = [](std::size_t n) { return std::make_unique_for_overwrite<double[]>(n); };
  const std::unique_ptr<double[]> gx = array(sources), gy = array(sources), gz = array(sources);
  std::unique_ptr<double[]> charge[kMaxFieldFlows];
  for (int f = 0; f < flows_; ++f) charge[f] = array(sources);
  LoopProgress charges(progress, Stage::FlowField, kTreeDone, kChargesDone,
                       static_cast<long>(order.size()));
#pragma omp parallel for
  for (int at = 0; at < static_cast<int>(order.size()); ++at) {
    if (charges.Stopped()) continue;
    charges.StepDone();
    const Corners c = CornersOf(s, order[static_cast<std::size_t>(at)], unit_);
    std::size_t g = static_cast<std::size_t>(at) * kPerPanel;
    for (int a = 0; a < kGaussPoints; ++a) {
      for (int b = 0; b < kGaussPoints; ++b, ++g) {
        const double sa = u[a], tb = u[b];
        double ds[3], dt[3];
        double* point[3] = {&gx[g], &gy[g], &gz[g]};
        for (int k = 0; k < 3; ++k) {
          *point[k] = (1 - sa) * (1 - tb) * c.q[0][k] + sa * (1 - tb) * c.q[1][k] +
                      sa * tb * c.q[2][k] + (1 - sa) * tb * c.q[3][k];
          ds[k] = (1 - tb) * (c.q[1][k] - c.q[0][k]) + tb * (c.q[2][k] - c.q[3][k]);
          dt[k] = (1 - sa) * (c.q[3][k] - c.q[0][k]) + sa * (c.q[2][k] - c.q[1][k]);
        }
        const double jacobian = std::sqrt(std::pow(ds[1] * dt[2] - ds[2] * dt[1], 2) +
                                          std::pow(ds[2] * dt[0] - ds[0] * dt[2], 2) +
                                          std::pow(ds[0] * dt[1] - ds[1] * dt[0], 2));
        for (int f = 0; f < flows_; ++f) {
          charge[f][g] = sigma_[static_cast<std::size_t>(f)][static_cast<std::size_t>(at)] *
                         weight[a] * weight[b] * jacobian;
        }
      }
    }
  }
  charges.ThrowIfStopped();

  const auto nodeCount = static_cast<int>(nodes_.size());
  constexpr std::size_t kMoments = HarmonicCount(kMaxOrder);
  const std::size_t perNode = static_cast<std::size_t>(flows_) * kMoments;
  const auto Set = [](int f) { return static_cast<std::size_t>(f) * kMoments; };
  // The moments M_lm of each node and set about the node's centre, real and imaginary parts.
  // Each node's cleared by the loop of the leaves, every node's first.
  const std::unique_ptr<double[]> Mre = array(static_cast<std::size_t>(nodeCount) * perNode);
  const std::unique_ptr<double[]> Mim = array(static_cast<std::size_t>(nodeCount) * perNode);
  reach_.assign(static_cast<std::size_t>(nodeCount) * kReach, 0);
  const double* divisors = RegularDivisors();
  const double* chargeOf[kMaxFieldFlows] = {};
  for (int f = 0; f < flows_; ++f) chargeOf[f] = charge[f].get();
  const MomentsFunction moments = MomentsFor(path);

  LoopProgress leaves(progress, Stage::FlowField, kChargesDone, kLeavesDone, nodeCount);
#pragma omp parallel for schedule(dynamic)
  for (int n = 0; n < nodeCount; ++n) {
    if (leaves.Stopped()) continue;
    std::fill_n(&Mre[static_cast<std::size_t>(n) * perNode], perNode, 0.0);
    std::fill_n(&Mim[static_cast<std::size_t>(n) * perNode], perNode, 0.0);
    const Node& node = nodes_[static_cast<std::size_t>(n)];
    const std::size_t first = static_cast<std::size_t>(node.begin) * kPerPanel;
    const std::size_t last = static_cast<std::size_t>(node.end) * kPerPanel;
    // The sum of |q| (r / rho)^k over the node's sources, k = 0..kMaxOrder + 1.
    double* reach = &reach_[static_cast<std::size_t>(n) * kReach];
    for (std::size_t g = first; g < last; ++g) {
      // The nodes near the root hold most of the sources: ask again within one of them.
      if ((g - first) % kSourcesAsked == kSourcesAsked - 1 && leaves.Asked()) break;
      double q = 0;
      for (int f = 0; f < flows_; ++f) q += std::fabs(charge[f][g]);
      const double r =
          std::sqrt(std::pow(gx[g] - node.centre[0], 2) + std::pow(gy[g] - node.centre[1], 2) +
                    std::pow(gz[g] - node.centre[2], 2));
      const double ratio = node.radius > 0 ? std::min(r / node.radius, 1.0) : 0;
      double power = 1;
      for (int k = 0; k <= kMaxOrder + 1; ++k, power *= ratio) reach[k] += q * power;
    }
    if (node.child[0] < 0) {
      const Sources points{gx.get(), gy.get(), gz.get(), chargeOf, flows_};
      moments(points, first, last, node.centre, divisors,
              &Mre[static_cast<std::size_t>(n) * perNode],
              &Mim[static_cast<std::size_t>(n) * perNode]);
    }
    leaves.StepDone();
  }
  leaves.ThrowIfStopped();

  // Inner nodes, a depth at a time from the deepest: the children's moments moved to the
  // parent's centre,
  //   M'_lm = sum over j, k of M_jk conj(R_l-j,m-k(child centre - parent centre)).
  int deepest = 0;
  for (const Node& node : nodes_) deepest = std::max(deepest, node.depth);
  for (int depth = deepest; depth >= 0; --depth) {
    const double share = (kTranslationsDone - kLeavesDone) / (deepest + 1);
    const double begun = kLeavesDone + share * (deepest - depth);
    LoopProgress translations(progress, Stage::FlowField, begun, begun + share, nodeCount);
#pragma omp parallel for schedule(dynamic)
    for (int n = 0; n < nodeCount; ++n) {
      if (translations.Stopped()) continue;
      translations.StepDone();
      const Node& node = nodes_[static_cast<std::size_t>(n)];
      if (node.child[0] < 0 || node.depth != depth) continue;
      for (const int c : node.child) {
        const Node& child = nodes_[static_cast<std::size_t>(c)];
        double Rre[kMoments], Rim[kMoments];
        RegularHarmonics(child.centre[0] - node.centre[0], child.centre[1] - node.centre[1],
                         child.centre[2] - node.centre[2], kMaxOrder, divisors, Rre, Rim);
        double Dre[FullCount(kMaxOrder)], Dim[FullCount(kMaxOrder)];
        FullHarmonics(Rre, Rim, kMaxOrder, Dre, Dim);
        for (int f = 0; f < flows_; ++f) {
          const std::size_t from = static_cast<std::size_t>(c) * perNode + Set(f);
          const std::size_t to = static_cast<std::size_t>(n) * perNode + Set(f);
          double Fre[FullCount(kMaxOrder)], Fim[FullCount(kMaxOrder)];
          FullHarmonics(&Mre[from], &Mim[from], kMaxOrder, Fre, Fim);
          for (int l = 0; l <= kMaxOrder; ++l) {
            for (int m = 0; m <= l; ++m) {
              double sumRe = 0, sumIm = 0;
              for (int j = 0; j <= l; ++j) {
                for (int k = std::max(-j, m - (l - j)); k <= std::min(j, m + (l - j)); ++k) {
                  // (a + ib) conj(c + id)
                  const double a = Fre[FullIndex(j, k)], b = Fim[FullIndex(j, k)];
                  const double cr = Dre[FullIndex(l - j, m - k)], ci = Dim[FullIndex(l - j, m - k)];
                  sumRe += a * cr + b * ci;
                  sumIm += b * cr - a * ci;
                }
              }
              Mre[to + static_cast<std::size_t>(HarmonicIndex(l, m))] += sumRe;
              Mim[to + static_cast<std::size_t>(HarmonicIndex(l, m))] += sumIm;
            }
          }
        }
      }
    }
    translations.ThrowIfStopped();
  }

  // The velocity -grad(Phi) / (4 pi) of Phi = sum M_lm I_lm, through the derivatives of I.
  // Every entry is set below: not cleared first.
  gradient_ = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(nodeCount) *
                                                       GradientSize(flows_));
  LoopProgress gradients(progress, Stage::FlowField, kTranslationsDone, 1, nodeCount);
#pragma omp parallel for
  for (int n = 0; n < nodeCount; ++n) {
    if (gradients.Stopped()) continue;
    gradients.StepDone();
    for (int f = 0; f < flows_; ++f) {
      const std::size_t at = static_cast<std::size_t>(n) * perNode + Set(f);
      double Fre[FullCount(kMaxOrder)], Fim[FullCount(kMaxOrder)];
      FullHarmonics(&Mre[at], &Mim[at], kMaxOrder, Fre, Fim);
      Complex G[3][kCoefficients] = {};
      const Complex minusHalfI(0, -0.5);
      for (int l = 0; l <= kMaxOrder; ++l) {
        for (int m = -l; m <= l; ++m) {
          const Complex X =
              -Complex(Fre[FullIndex(l, m)], Fim[FullIndex(l, m)]) / (4 * std::numbers::pi);
          AddTerm(G[0], l + 1, m + 1, X / 2.0);
          AddTerm(G[0], l + 1, m - 1, -X / 2.0);
          AddTerm(G[1], l + 1, m + 1, minusHalfI * X);
          AddTerm(G[1], l + 1, m - 1, minusHalfI * X);
          AddTerm(G[2], l + 1, m, -X);
        }
      }
      for (int c = 0; c < 3; ++c) {
        double* out = &gradient_[static_cast<std::size_t>(n) * GradientSize(flows_) +
                                 static_cast<std::size_t>(f * 3 + c) * 2 * kCoefficients];
        for (int h = 0; h < kCoefficients; ++h) {
          out[h] = G[c][h].real();
          out[kCoefficients + h] = G[c][h].imag();
        }
      }
    }
  }

  gradients.ThrowIfStopped();

  const double A = reach_[0];
  // No sources at all: every expansion is exactly 0.
  budget_ = A > 0 ? 4 * std::numbers::pi * tolerance / A : HUGE_VAL;
}

int SourceField::OrderFor(int n, double R) const {
  const Node& node = nodes_[static_cast<std::size_t>(n)];
  const double* reach = &reach_[static_cast<std::size_t>(n) * kReach];
  const double t = node.radius / R;
  const double gap = R - node.radius;
  const double tau = node.panelRadius / gap;
  if (!(tau < 1)) return -1;
  double tauPower = tau;
  for (int k = 0; k < kExactDegree; ++k) tauPower *= tau;
  // The node's share of the budget, less what the Gauss rule may leave out, in units of R^-2.
  const double allowed =
      (reach[0] * budget_ - reach[0] * 2 * Tail(tau, kExactDegree, tauPower) / (gap * gap)) * R * R;
  if (!(allowed > 0)) return -1;
  double power = t;
  for (int p = 0; p <= kMaxOrder; ++p, power *= t) {
    if (reach[p + 1] * Tail(t, p, power) <= allowed) return p;
  }
  return -1;
}

void SourceField::AddInduced(const double point[3], double V[][3]) const {
  if (nodes_.empty()) return;
  const double scaled[3] = {point[0] * unit_, point[1] * unit_, point[2] * unit_};
  const Node& root = nodes_[0];
  const double far = std::hypot(scaled[0] - root.centre[0], scaled[1] - root.centre[1],
                                scaled[2] - root.centre[2]);
  if (!(far <= farDistance_)) return;
  const double* sigma[kMaxFieldFlows];
  for (int f = 0; f < flows_; ++f) sigma[f] = sigma_[static_cast<std::size_t>(f)].data();
  int stack[128];
  int top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const int n = stack[--top];
    const Node& node = nodes_[static_cast<std::size_t>(n)];
    const double dx = scaled[0] - node.centre[0];
    const double dy = scaled[1] - node.centre[1];
    const double dz = scaled[2] - node.centre[2];
    const double R = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (budget_ > 0 && R > node.radius) {
      if (const int p = OrderFor(n, R); p >= 0) {
        expansion_(&gradient_[static_cast<std::size_t>(n) * GradientSize(flows_)], flows_, dx, dy,
                   dz, p, V);
        continue;
      }
    }
    if (node.child[0] < 0) {
      kernel_(panels_, node.begin, node.end, sigma, flows_, scaled, V);
    } else {
      stack[top++] = node.child[0];
      stack[top++] = node.child[1];
    }
  }
}

}  // namespace tarvenol
