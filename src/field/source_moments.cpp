// The source field's expansions, in four phases: the charges of the panels' Gauss points, the
// moments of the leaves of the tree (and every node's reach, for the bound), the moments of
// the inner nodes translated up the tree from their children's, and the coefficients of the
// gradient that the sums at a point take.

#include <omp.h>

#include <algorithm>
#include <boost/math/quadrature/gauss.hpp>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/loop_progress.h"
#include "field/solid_harmonics.h"
#include "field/source_field.h"
#include "field/source_field_terms.h"

namespace tarvenol {

using namespace source_field;

namespace {

// Left unset until a loop sets them: a large body's arrays are not cleared first.
std::unique_ptr<double[]> Uncleared(std::size_t n) {
  return std::make_unique_for_overwrite<double[]>(n);
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

// The Gauss points' sources: where they are, and their strength in each set.
struct Sources {
  const double *x, *y, *z;
  const double* const* q;
  std::size_t flows;
};

// Adds to re, im (kMoments for each set, one set after another) the moments about centre of
// sources first..last - 1: M_lm = sum of q conj(R_lm(point - centre)).
[[gnu::always_inline]] inline void AddMoments(const Sources& s, std::size_t first, std::size_t last,
                                              const double centre[3], const double* divisors,
                                              double* re, double* im) {
  double Rre[kMoments], Rim[kMoments];
  for (std::size_t g = first; g < last; ++g) {
    RegularHarmonics(s.x[g] - centre[0], s.y[g] - centre[1], s.z[g] - centre[2], kMaxOrder,
                     divisors, Rre, Rim);
    for (std::size_t f = 0; f < s.flows; ++f) {
      const double q = s.q[f][g];
      double* __restrict setRe = re + f * kMoments;
      double* __restrict setIm = im + f * kMoments;
      for (std::size_t h = 0; h < kMoments; ++h) {
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

MomentsFunction MomentsFor(VectorPath path) {
  return OnVectorPath<MomentsFunction>(path, MomentsPlain, MomentsAvx2, MomentsAvx512);
}

// The Gauss-Legendre rule on [0, 1]: its points u and weights.
struct GaussRule {
  double u[kGaussPoints], weight[kGaussPoints];
};

GaussRule GaussRuleOnUnit() {
  using Gauss = boost::math::quadrature::gauss<double, kGaussPoints>;
  const auto& x = Gauss::abscissa();
  const auto& w = Gauss::weights();
  GaussRule rule{};
  int n = 0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    for (const double sign : {-1.0, 1.0}) {
      if (x[k] == 0 && sign > 0) continue;
      rule.u[n] = (1 + sign * x[k]) / 2;
      rule.weight[n] = w[k] / 2;
      ++n;
    }
  }
  return rule;
}

}  // namespace

void SourceField::Moments(const ModelState& s, const std::vector<int>& order, double tolerance,
                          VectorPath path, Progress* progress) {
  const GaussSources sources = GaussCharges(s, order, progress);
  NodeMoments moments = LeafMoments(sources, path, progress);
  TranslateMoments(moments, progress);
  Gradients(moments, progress);
  const double A = reach_[0];
  // No sources at all: every expansion is exactly 0.
  budget_ = A > 0 ? 4 * std::numbers::pi * tolerance / A : HUGE_VAL;
}

// Every panel as the sources of its Gauss points, kPerPanel of them a panel, in the tree's order.
SourceField::GaussSources SourceField::GaussCharges(const ModelState& s,
                                                    const std::vector<int>& order,
                                                    Progress* progress) const {
  const GaussRule rule = GaussRuleOnUnit();
  const std::size_t panels = order.size(), count = panels * kPerPanel;
  const auto flows = static_cast<std::size_t>(flows_);
  GaussSources g{Uncleared(count), Uncleared(count), Uncleared(count), {}};
  for (std::size_t f = 0; f < flows; ++f) g.q[f] = Uncleared(count);
  LoopProgress charges(progress, Stage::FlowField, kTreeDone, kChargesDone,
                       static_cast<long>(panels));
#pragma omp parallel for
  for (std::size_t panel = 0; panel < panels; ++panel) {
    if (charges.Stopped()) continue;
    charges.StepDone();
    const Corners c = CornersOf(s, order[panel], unit_);
    std::size_t k = panel * kPerPanel;
    for (int a = 0; a < kGaussPoints; ++a) {
      for (int b = 0; b < kGaussPoints; ++b, ++k) {
        const double sa = rule.u[a], tb = rule.u[b];
        double ds[3], dt[3];
        double* point[3] = {&g.x[k], &g.y[k], &g.z[k]};
        for (int e = 0; e < 3; ++e) {
          *point[e] = (1 - sa) * (1 - tb) * c.q[0][e] + sa * (1 - tb) * c.q[1][e] +
                      sa * tb * c.q[2][e] + (1 - sa) * tb * c.q[3][e];
          ds[e] = (1 - tb) * (c.q[1][e] - c.q[0][e]) + tb * (c.q[2][e] - c.q[3][e]);
          dt[e] = (1 - sa) * (c.q[3][e] - c.q[0][e]) + sa * (c.q[2][e] - c.q[1][e]);
        }
        const double jacobian = std::sqrt(std::pow(ds[1] * dt[2] - ds[2] * dt[1], 2) +
                                          std::pow(ds[2] * dt[0] - ds[0] * dt[2], 2) +
                                          std::pow(ds[0] * dt[1] - ds[1] * dt[0], 2));
        for (std::size_t f = 0; f < flows; ++f) {
          g.q[f][k] = sigma_[f][panel] * rule.weight[a] * rule.weight[b] * jacobian;
        }
      }
    }
  }
  charges.ThrowIfStopped();
  return g;
}

// The moments of every leaf about its centre, and every node's reach: the sum of
// |q| (r / rho)^k over its sources, k = 0..kMaxOrder + 1. Every node's moments are cleared here.
SourceField::NodeMoments SourceField::LeafMoments(const GaussSources& g, VectorPath path,
                                                  Progress* progress) {
  const std::size_t nodeCount = nodes_.size();
  const auto flows = static_cast<std::size_t>(flows_);
  const std::size_t perNode = flows * kMoments;
  NodeMoments M{Uncleared(nodeCount * perNode), Uncleared(nodeCount * perNode)};
  reach_.assign(nodeCount * kReach, 0);
  const double* divisors = RegularDivisors();
  const double* chargeOf[kMaxFieldFlows] = {};
  for (std::size_t f = 0; f < flows; ++f) chargeOf[f] = g.q[f].get();
  const Sources points{g.x.get(), g.y.get(), g.z.get(), chargeOf, flows};
  const MomentsFunction moments = MomentsFor(path);
  LoopProgress leaves(progress, Stage::FlowField, kChargesDone, kLeavesDone,
                      static_cast<long>(nodeCount));
#pragma omp parallel for schedule(dynamic)
  for (std::size_t n = 0; n < nodeCount; ++n) {
    if (leaves.Stopped()) continue;
    double* re = &M.re[n * perNode];
    double* im = &M.im[n * perNode];
    std::fill_n(re, perNode, 0.0);
    std::fill_n(im, perNode, 0.0);
    const Node& node = nodes_[n];
    const std::size_t first = static_cast<std::size_t>(node.begin) * kPerPanel;
    const std::size_t last = static_cast<std::size_t>(node.end) * kPerPanel;
    double* reach = &reach_[n * kReach];
    for (std::size_t k = first; k < last; ++k) {
      // The nodes near the root hold most of the sources: ask again within one of them.
      if ((k - first) % kSourcesAsked == kSourcesAsked - 1 && leaves.Asked()) break;
      double q = 0;
      for (std::size_t f = 0; f < flows; ++f) q += std::fabs(chargeOf[f][k]);
      const double r =
          std::sqrt(std::pow(g.x[k] - node.centre[0], 2) + std::pow(g.y[k] - node.centre[1], 2) +
                    std::pow(g.z[k] - node.centre[2], 2));
      const double ratio = node.radius > 0 ? std::min(r / node.radius, 1.0) : 0;
      double power = 1;
      for (std::size_t p = 0; p < kReach; ++p, power *= ratio) reach[p] += q * power;
    }
    if (node.Leaf()) moments(points, first, last, node.centre, divisors, re, im);
    leaves.StepDone();
  }
  leaves.ThrowIfStopped();
  return M;
}

// Inner nodes, a depth at a time from the deepest: the children's moments moved to the
// parent's centre,
//   M'_lm = sum over j, k of M_jk conj(R_l-j,m-k(child centre - parent centre)).
void SourceField::TranslateMoments(NodeMoments& M, Progress* progress) const {
  const std::size_t nodeCount = nodes_.size();
  const auto flows = static_cast<std::size_t>(flows_);
  const std::size_t perNode = flows * kMoments;
  const double* divisors = RegularDivisors();
  int deepest = 0;
  for (const Node& node : nodes_) deepest = std::max(deepest, node.depth);
  for (int depth = deepest; depth >= 0; --depth) {
    const double share = (kTranslationsDone - kLeavesDone) / (deepest + 1);
    const double begun = kLeavesDone + share * (deepest - depth);
    LoopProgress translations(progress, Stage::FlowField, begun, begun + share,
                              static_cast<long>(nodeCount));
#pragma omp parallel for schedule(dynamic)
    for (std::size_t n = 0; n < nodeCount; ++n) {
      if (translations.Stopped()) continue;
      translations.StepDone();
      const Node& node = nodes_[n];
      if (node.Leaf() || node.depth != depth) continue;
      for (const std::size_t c : node.child) {
        const Node& child = nodes_[c];
        double Rre[kMoments], Rim[kMoments];
        RegularHarmonics(child.centre[0] - node.centre[0], child.centre[1] - node.centre[1],
                         child.centre[2] - node.centre[2], kMaxOrder, divisors, Rre, Rim);
        double Dre[FullCount(kMaxOrder)], Dim[FullCount(kMaxOrder)];
        FullHarmonics(Rre, Rim, kMaxOrder, Dre, Dim);
        for (std::size_t f = 0; f < flows; ++f) {
          const std::size_t from = c * perNode + f * kMoments;
          const std::size_t to = n * perNode + f * kMoments;
          double Fre[FullCount(kMaxOrder)], Fim[FullCount(kMaxOrder)];
          FullHarmonics(&M.re[from], &M.im[from], kMaxOrder, Fre, Fim);
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
              const auto h = static_cast<std::size_t>(HarmonicIndex(l, m));
              M.re[to + h] += sumRe;
              M.im[to + h] += sumIm;
            }
          }
        }
      }
    }
    translations.ThrowIfStopped();
  }
}

// The velocity -grad(Phi) / (4 pi) of Phi = sum M_lm I_lm, through the derivatives of I. Every
// entry is set here: not cleared first.
void SourceField::Gradients(const NodeMoments& M, Progress* progress) {
  const std::size_t nodeCount = nodes_.size();
  const auto flows = static_cast<std::size_t>(flows_);
  const std::size_t perNode = flows * kMoments;
  gradient_ = Uncleared(nodeCount * GradientSize(flows_));
  LoopProgress gradients(progress, Stage::FlowField, kTranslationsDone, 1,
                         static_cast<long>(nodeCount));
#pragma omp parallel for
  for (std::size_t n = 0; n < nodeCount; ++n) {
    if (gradients.Stopped()) continue;
    gradients.StepDone();
    for (std::size_t f = 0; f < flows; ++f) {
      const std::size_t at = n * perNode + f * kMoments;
      double Fre[FullCount(kMaxOrder)], Fim[FullCount(kMaxOrder)];
      FullHarmonics(&M.re[at], &M.im[at], kMaxOrder, Fre, Fim);
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
      for (std::size_t c = 0; c < 3; ++c) {
        double* out = &gradient_[n * GradientSize(flows_) + (f * 3 + c) * 2 * kCoefficients];
        for (int h = 0; h < kCoefficients; ++h) {
          out[h] = G[c][h].real();
          out[kCoefficients + h] = G[c][h].imag();
        }
      }
    }
  }
  gradients.ThrowIfStopped();
}

}  // namespace tarvenol
