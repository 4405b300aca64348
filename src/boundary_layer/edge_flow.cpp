#include "boundary_layer/edge_flow.h"

#include <boost/math/differentiation/lanczos_smoothing.hpp>
#include <cmath>
#include <string>

#include "core/program_error.h"

namespace tarvenol {
namespace {

std::string Station(std::size_t k) {
  return "station " + std::to_string(k + 1);
}

void CheckMeridian(const Meridian& m) {
  const std::size_t n = m.s.size();
  if (m.x.size() != n || m.r0.size() != n || m.Ue.size() != n) {
    throw ProgramError(
        "The meridian's arc lengths, positions, radii and velocities differ in count.");
  }
  if (n < kLeastStations + 1) {
    throw ProgramError("The boundary layer needs at least " + std::to_string(kLeastStations + 1) +
                       " stations along the meridian; there are " + std::to_string(n) + ".");
  }
  for (std::size_t k = 0; k < n; ++k) {
    if (!std::isfinite(m.s[k]) || !std::isfinite(m.x[k]) || !std::isfinite(m.r0[k]) ||
        !std::isfinite(m.Ue[k])) {
      throw ProgramError("The meridian's " + Station(k) + " has a value that is not a number.");
    }
    if (k > 0 && !(m.s[k] > m.s[k - 1])) {
      throw ProgramError("The meridian's arc length does not increase at " + Station(k) + ".");
    }
    if (m.Ue[k] < 0 || m.r0[k] < 0 || (k > 0 && (m.Ue[k] == 0 || m.r0[k] == 0))) {
      throw ProgramError("The edge velocity or the radius at the meridian's " + Station(k) +
                         " is " + (m.Ue[k] < 0 || m.r0[k] < 0 ? "negative" : "zero") +
                         ": the boundary layer cannot be marched through it.");
    }
  }
}

// dUe/ds at every station, smoothed as the header says.
std::vector<double> SmoothedSlope(const Meridian& m) {
  CheckMeridian(m);
  const std::vector<double> s(m.s.begin() + 1, m.s.end()), Ue(m.Ue.begin() + 1, m.Ue.end());
  const boost::math::differentiation::discrete_lanczos_derivative<double> d(1.0, kHalfWindow,
                                                                            kFitDegree);
  const std::vector<double> dsdi = d(s), dUedi = d(Ue);
  std::vector<double> slope(m.s.size());
  for (std::size_t k = 0; k < s.size(); ++k) {
    // A window over stations spaced very unevenly may not see s increase; the neighbours do.
    if (dsdi[k] > 0) {
      slope[k + 1] = dUedi[k] / dsdi[k];
    } else {
      const std::size_t a = k > 0 ? k - 1 : k, b = k + 1 < s.size() ? k + 1 : k;
      slope[k + 1] = (Ue[b] - Ue[a]) / (s[b] - s[a]);
    }
  }
  slope[0] = slope[1] - (slope[2] - slope[1]) * (m.s[1] - m.s[0]) / (m.s[2] - m.s[1]);
  return slope;
}

}  // namespace

EdgeFlow::EdgeFlow(const Meridian& m) : EdgeFlow(m, SmoothedSlope(m)) {}

EdgeFlow::EdgeFlow(const Meridian& m, std::vector<double> slope)
    : begin_(m.s.front()),
      end_(m.s.back()),
      planar_(m.planar),
      Ue_(std::vector<double>(m.s), std::vector<double>(m.Ue)),
      dUeds_(std::vector<double>(m.s), std::move(slope)),
      r0_(std::vector<double>(m.s), std::vector<double>(m.r0)),
      x_(std::vector<double>(m.s), std::vector<double>(m.x)) {}

}  // namespace tarvenol
