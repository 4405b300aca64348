// The expansions of the source field: the moments of the panels' Gauss points about the
// centres of the tree's nodes, and the coefficients of the velocity they give.

#include <omp.h>

#include <algorithm>
#include <boost/math/quadrature/gauss.hpp>
#include <cmath>
#include <numbers>

#include "results/source_field.h"
#include "results/source_field_terms.h"

namespace tarvenol {
namespace {

using namespace source_terms;

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

}  // namespace

void SourceField::Moments(const ModelState& s, const std::vector<int>& order, double tolerance,
                          VectorPath path, Progress& progress) {
  // Each of the four passes over the panels or the nodes a quarter of the stage.
  ParallelStop stop(progress, Stage::FlowField);
  const auto stopping = [&stop](int pass, int item, std::size_t items) {
    return stop.Stopping((pass + static_cast<double>(item) / static_cast<double>(items)) / 4);
  };
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
  std::vector<double> gx(sources), gy(sources), gz(sources), charge[kMaxFieldFlows];
  for (int f = 0; f < flows_; ++f) charge[f].resize(sources);
#pragma omp parallel for
  for (int at = 0; at < static_cast<int>(order.size()); ++at) {
    if (stopping(0, at, order.size())) continue;
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

  const auto nodeCount = static_cast<int>(nodes_.size());
  constexpr std::size_t kMoments = HarmonicCount(kMaxOrder);
  const std::size_t perNode = static_cast<std::size_t>(flows_) * kMoments;
  const auto Set = [](int f) { return static_cast<std::size_t>(f) * kMoments; };
  // The moments M_lm of each node and set about the node's centre, real and imaginary parts.
  std::vector<double> Mre(static_cast<std::size_t>(nodeCount) * perNode);
  std::vector<double> Mim(Mre.size());
  reach_.assign(static_cast<std::size_t>(nodeCount) * kReach, 0);
  const double* divisors = RegularDivisors();
  const double* charges[kMaxFieldFlows] = {};
  for (int f = 0; f < flows_; ++f) charges[f] = charge[f].data();
  const MomentsFunction moments = MomentsFor(path);

  stop.ThrowIfStopped();
#pragma omp parallel for schedule(dynamic)
  for (int n = 0; n < nodeCount; ++n) {
    if (stopping(1, n, nodes_.size())) continue;
    const Node& node = nodes_[static_cast<std::size_t>(n)];
    const std::size_t first = static_cast<std::size_t>(node.begin) * kPerPanel;
    const std::size_t last = static_cast<std::size_t>(node.end) * kPerPanel;
    // The sum of |q| (r / rho)^k over the node's sources, k = 0..kMaxOrder + 1.
    double* reach = &reach_[static_cast<std::size_t>(n) * kReach];
    for (std::size_t g = first; g < last; ++g) {
      double q = 0;
      for (int f = 0; f < flows_; ++f) q += std::fabs(charge[f][g]);
      const double r =
          std::sqrt(std::pow(gx[g] - node.centre[0], 2) + std::pow(gy[g] - node.centre[1], 2) +
                    std::pow(gz[g] - node.centre[2], 2));
      const double ratio = node.radius > 0 ? std::min(r / node.radius, 1.0) : 0;
      double power = 1;
      for (int k = 0; k <= kMaxOrder + 1; ++k, power *= ratio) reach[k] += q * power;
    }
    if (node.child[0] >= 0) continue;
    const Sources points{gx.data(), gy.data(), gz.data(), charges, flows_};
    moments(points, first, last, node.centre, divisors, &Mre[static_cast<std::size_t>(n) * perNode],
            &Mim[static_cast<std::size_t>(n) * perNode]);
  }

  // Inner nodes, a depth at a time from the deepest: the children's moments moved to the
  // parent's centre,
  //   M'_lm = sum over j, k of M_jk conj(R_l-j,m-k(child centre - parent centre)).
  stop.ThrowIfStopped();
  int deepest = 0;
  for (const Node& node : nodes_) deepest = std::max(deepest, node.depth);
  for (int depth = deepest; depth >= 0; --depth) {
#pragma omp parallel for schedule(dynamic)
    for (int n = 0; n < nodeCount; ++n) {
      const Node& node = nodes_[static_cast<std::size_t>(n)];
      if (node.child[0] < 0 || node.depth != depth) continue;
      if (stopping(2, deepest - depth, static_cast<std::size_t>(deepest) + 1)) continue;
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
  }

  // The velocity -grad(Phi) / (4 pi) of Phi = sum M_lm I_lm, through the derivatives of I.
  stop.ThrowIfStopped();
  gradient_.assign(static_cast<std::size_t>(nodeCount) * GradientSize(flows_), 0);
#pragma omp parallel for
  for (int n = 0; n < nodeCount; ++n) {
    if (stopping(3, n, nodes_.size())) continue;
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

  stop.ThrowIfStopped();
  const double A = reach_[0];
  // No sources at all: every expansion is exactly 0.
  budget_ = A > 0 ? 4 * std::numbers::pi * tolerance / A : HUGE_VAL;
}

}  // namespace tarvenol
