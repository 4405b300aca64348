#include "solver/body_potential.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "geometry/panel_outline.h"
#include "solver/mode_sums.h"
#include "solver/ring_far_field.h"
#include "solver/source_panel_potential.h"

namespace tarvenol {
namespace {

// Rows times rings below which the rows run on one thread: waking the others would cost more
// than it saves.
constexpr double kParallelPairs = 4e4;

// The potential of unit source strength on panel (k, jk), its outline given, at the control
// point of panel (i, j), in the source panel's axes as the influence coefficients take it.
double PanelPotential(const ModelState& s, const PanelOutline& outline, int i, int j, int k,
                      int jk) {
  const double dx = s.xC(i, j) - s.xC(k, jk);
  const double dy = s.yC(i, j) - s.yC(k, jk);
  const double dz = s.zC(i, j) - s.zC(k, jk);
  const double x = s.XsiX(k, jk) * dx + s.XsiY(k, jk) * dy + s.XsiZ(k, jk) * dz;
  const double y = s.ItaX(k, jk) * dx + s.ItaY(k, jk) * dy + s.ItaZ(k, jk) * dz;
  const double z = s.ZtaX(k, jk) * dx + s.ZtaY(k, jk) * dy + s.ZtaZ(k, jk) * dz;
  return OutlinePotential(outline, s.FourPI, x, y, z);
}

// Ring k's exact share of the potential at (i, j); where both are mirror images, panel j + d
// and j - d lie alike to the control point and one potential serves both.
double NearRing(const ModelState& s, const Array2& Sigma, const PanelOutline* outlines, int i,
                int j, int k, bool mirrored) {
  const int nj = LoopEnd(s.NJ);
  const auto column = [nj](int c) { return (c - 1 + 2 * nj) % nj + 1; };
  double sum = 0;
  if (!mirrored) {
    for (int jk = 1; jk <= nj; ++jk) {
      sum += Sigma(k, jk) * PanelPotential(s, outlines[jk - 1], i, j, k, jk);
    }
    return sum;
  }
  for (int d = 0; 2 * d <= nj; ++d) {
    const int ahead = column(j + d), behind = column(j - d);
    const double sigma = ahead == behind ? Sigma(k, ahead) : Sigma(k, ahead) + Sigma(k, behind);
    sum += sigma * PanelPotential(s, outlines[ahead - 1], i, j, k, ahead);
  }
  return sum;
}

}  // namespace

PotentialOnBody MeridianPotential(const ModelState& s, const Array2& Sigma, int j,
                                  double farTolerance, Progress& progress) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  std::vector<PanelOutline> outlines;
  outlines.reserve(static_cast<std::size_t>(ni) * static_cast<std::size_t>(nj));
  for (int k = 1; k <= ni; ++k) {
    for (int jk = 1; jk <= nj; ++jk) outlines.push_back(OutlineOfPanel(s, k, jk));
  }
  // The far field in the frame of column 1: the same sums as in column j, turned.
  const std::vector<Column> phi = ColumnAngles(s, nj);
  const RingFarField far(s, phi[1].c, phi[1].s, farTolerance);
  PotentialOnBody out{Array1(ArrayLimit(s.NI)), 0};
  for (int k = 1; k <= ni; ++k) out.farBound = std::max(out.farBound, std::fabs(Sigma(k, j)));
  out.farBound *= farTolerance;
  std::atomic<int> rowsDone = 0;
  std::atomic<bool> stop = false;
  const bool parallel = static_cast<double>(ni) * ni > kParallelPairs;
#pragma omp parallel for schedule(dynamic, 1) if (parallel)
  for (int i = 1; i <= ni; ++i) {
    // A stopped run skips the rows left; a worksharing loop cannot be left early.
    if (stop.load(std::memory_order_relaxed)) continue;
    // The far field's sums need the control point in its column's mirror plane.
    const bool mirrored = far.Mirrored(i);
    const RingFieldPoint p = far.FieldPointOf(s, i);
    double sum = 0;
    for (int k = 1; k <= ni; ++k) {
      const RingRule rule = mirrored ? far.RuleFor(p, k, RingQuantity::Potential) : RingRule{};
      const PanelOutline* ring = &outlines[static_cast<std::size_t>((k - 1) * nj)];
      sum += rule.Far() ? Sigma(k, j) * far.PotentialOf(p, k, rule)
                        : NearRing(s, Sigma, ring, i, j, k, mirrored && far.Mirrored(k));
    }
    out.phi(i) = sum;
    const int done = rowsDone.fetch_add(1, std::memory_order_relaxed) + 1;
    if (omp_get_thread_num() == 0 &&
        !progress.Advance(Stage::BodyPotential, static_cast<double>(done) / ni)) {
      stop.store(true, std::memory_order_relaxed);
    }
  }
  if (stop) throw Cancelled();
  return out;
}

}  // namespace tarvenol
