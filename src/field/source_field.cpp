#include "field/source_field.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <numeric>
#include <span>

#include "field/solid_harmonics.h"
#include "field/source_field_terms.h"
#include "geometry/panel_outline.h"

namespace tarvenol {

using namespace source_field;

namespace {

// The bound on what the terms of degree above p leave out, at t = rho / R < 1, given
// t^(p + 1).
double Tail(double t, int p, double power) {
  return power * ((2.0 * p + 3) / (1 - t) + 2 * t / ((1 - t) * (1 - t)));
}

}  // namespace

// Corners of panel m in the field's unit of length, unit times the model's.
source_field::Corners source_field::CornersOf(const ModelState& s, int m, double unit) {
  const int nj = LoopEnd(s.NJ);
  const auto [i, j] = PanelOfNumber(m, nj);
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

namespace {

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

TARVENOL_AVX2 void ExpansionAvx2(const double* G, int flows, double dx, double dy, double dz, int p,
                                 double V[][3]) {
  AddExpansion(G, flows, dx, dy, dz, p, V);
}

TARVENOL_AVX512 void ExpansionAvx512(const double* G, int flows, double dx, double dy, double dz,
                                     int p, double V[][3]) {
  AddExpansion(G, flows, dx, dy, dz, p, V);
}

SourceField::Expansion ExpansionFor(VectorPath path) {
  return OnVectorPath<SourceField::Expansion>(path, ExpansionPlain, ExpansionAvx2, ExpansionAvx512);
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
  std::vector<std::size_t> cornerCount(static_cast<std::size_t>(count));
  double sources = 0;  // the sum of |sigma| times the area over the panels and the sets
  for (int m = 1; m <= count; ++m) {
    const auto at = static_cast<std::size_t>(m - 1);
    const Corners c = CornersOf(s, m, unit_);
    for (std::size_t k = 0; k < 4; ++k) {
      for (std::size_t a = 0; a < 3; ++a) corners[at * 12 + k * 3 + a] = c.q[k][a];
    }
    const auto [i, j] = PanelOfNumber(m, nj);
    controls[at * 3] = s.xC(i, j) * unit_;
    controls[at * 3 + 1] = s.yC(i, j) * unit_;
    controls[at * 3 + 2] = s.zC(i, j) * unit_;
    cornerCount[at] = static_cast<std::size_t>(s.NCor(i, j));
    const double area = OutlineArea(OutlineOfPanel(s, i, j)) * unit_ * unit_;
    for (const Array2* set : sigma) sources += std::fabs((*set)(i, j)) * area;
  }

  std::vector<int> order(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 1);
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
  for (std::size_t f = 0; f < sigma.size(); ++f) {
    sigma_[f].resize(order.size());
    for (std::size_t at = 0; at < order.size(); ++at) {
      const int m = order[at];
      sigma_[f][at] = (*sigma[f])(PanelOfNumber(m, nj).i, PanelOfNumber(m, nj).j);
    }
  }
  // A source q induces at most |q| / (4 pi R^2) at a distance R: beyond the distance where all
  // of them together induce less than 2^-60 of the unit stream, the stream stands alone.
  if (count > 0) {
    farDistance_ = nodes_[0].radius + std::sqrt(sources / (4 * std::numbers::pi) * 0x1p60);
  }
  if (tolerance > 0 && count > 0) Moments(s, order, tolerance, path, progress);
}

std::size_t SourceField::Build(std::vector<int>& order, int begin, int end, int depth,
                               const std::vector<double>& corners,
                               const std::vector<double>& controls,
                               const std::vector<std::size_t>& cornerCount, Progress* progress) {
  const std::size_t index = nodes_.size();
  nodes_.emplace_back();
  // A leaf holds half to all of kLeafPanels panels: about 3 count / kLeafPanels nodes in all.
  if (progress != nullptr) {
    const double nodes = 3.0 * static_cast<double>(cornerCount.size()) / kLeafPanels;
    Step(*progress, Stage::FlowField,
         kTreeDone * std::min(1.0, static_cast<double>(index) / nodes));
  }
  double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  double controlLow[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
  double controlHigh[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  // Panel m's entries in the tables, and the panels of this node.
  auto at = [](int m) { return static_cast<std::size_t>(m - 1); };
  auto corner = [&](int m, std::size_t k) { return &corners[at(m) * 12 + k * 3]; };
  auto control = [&](int m) { return &controls[at(m) * 3]; };
  const std::span<const int> panels(order.data() + begin, order.data() + end);
  for (const int m : panels) {
    for (std::size_t k = 0; k < 4; ++k) {
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
  for (const int m : panels) {
    for (std::size_t k = 0; k < cornerCount[at(m)]; ++k) {
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
  nodes_[index] = node;
  return index;
}

int SourceField::OrderFor(std::size_t n, double R) const {
  const Node& node = nodes_[n];
  const double* reach = &reach_[n * kReach];
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
  for (std::size_t f = 0; f < sigma_.size(); ++f) sigma[f] = sigma_[f].data();
  std::size_t stack[128];
  int top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const std::size_t n = stack[--top];
    const Node& node = nodes_[n];
    const double dx = scaled[0] - node.centre[0];
    const double dy = scaled[1] - node.centre[1];
    const double dz = scaled[2] - node.centre[2];
    const double R = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (budget_ > 0 && R > node.radius) {
      if (const int p = OrderFor(n, R); p >= 0) {
        expansion_(&gradient_[n * GradientSize(flows_)], flows_, dx, dy, dz, p, V);
        continue;
      }
    }
    if (node.Leaf()) {
      kernel_(panels_, node.begin, node.end, sigma, flows_, scaled, V);
    } else {
      stack[top++] = node.child[0];
      stack[top++] = node.child[1];
    }
  }
}

}  // namespace tarvenol
