#include "solver/coefficient_sample.h"

#include <algorithm>
#include <cmath>

#include "solver/coefficient_rows.h"

namespace tarvenol {
namespace {

// Field rings sampled at most: enough for the slow change of the coefficients along a body.
constexpr int kMostRings = 64;

// Panel numbers 1..panels spread evenly, by the golden ratio, so that no stride of the
// numbering falls in step with the rings; every panel where there are no more than count.
std::vector<int> SpreadPanels(double panels, int count) {
  std::vector<int> numbers;
  if (panels <= count) {
    for (int m = 1; m <= static_cast<int>(panels); ++m) numbers.push_back(m);
    return numbers;
  }
  const double golden = (std::sqrt(5.0) - 1) / 2;
  for (int k = 0; k < count; ++k) {
    const double at = std::fmod((k + 0.5) * golden, 1.0);
    numbers.push_back(1 + static_cast<int>(at * panels));
  }
  return numbers;
}

}  // namespace

CoefficientSample SampleInfluenceCoefficients(const ModelState& s, int mostPairs) {
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  CoefficientSample sample;
  if (ni < 1 || nj < 1) return sample;  // no geometry yet
  const double panels = static_cast<double>(ni) * nj;
  const int rings = std::min(ni, kMostRings);
  const SourcePanels sources(s, SpreadPanels(panels, std::max(mostPairs / rings, 1)));
  const RowFunction row = RowFor(WidestVectorPath());
  const KernelConstants c{s.PI, s.TwoPI, s.FourPI};
  const auto length = static_cast<std::size_t>(sources.count) + 1;
  std::vector<double> vn(length), vu(length), vv(length);
  RowWorkAreas work(1);
  for (int r = 0; r < rings; ++r) {
    const int i = 1 + static_cast<int>((r + 0.5) * ni / rings);
    const FieldPanel field = FieldPanelOf(s, i, 1);
    row(sources, field, c, work.Of(0), vn.data(), vu.data(), vv.data());
    sample.Vn.insert(sample.Vn.end(), vn.begin() + 1, vn.end());
    sample.Vu.insert(sample.Vu.end(), vu.begin() + 1, vu.end());
    sample.Vv.insert(sample.Vv.end(), vv.begin() + 1, vv.end());
    sample.rightHandSide.push_back(-field.ZtaX);
  }
  sample.pairsPerValue = panels * panels / static_cast<double>(sample.Vn.size());
  sample.rowsPerValue = panels / rings;
  return sample;
}

}  // namespace tarvenol
