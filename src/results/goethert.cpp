#include "results/goethert.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/program_error.h"
#include "core/shown_text.h"
#include "geometry/panels.h"
#include "results/compressibility.h"
#include "solver/symmetric_solve.h"

namespace tarvenol {
namespace {

std::string PanelName(int m, int nj) {
  const auto [i, j] = PanelOfNumber(m, nj);
  return "(" + std::to_string(i) + ", " + std::to_string(j) + ")";
}

// The geometry of the profile with its radii multiplied by beta, at the counts of s.
ModelState AffineGeometry(const ModelState& s, const BodyWork& body, double beta) {
  ModelState affine;
  affine.PI = s.PI;
  affine.TwoPI = s.TwoPI;
  affine.FourPI = s.FourPI;
  affine.BodyFile = s.BodyFile;
  affine.NI = s.NI;
  affine.NI1 = s.NI1;
  affine.NJ = s.NJ;
  affine.NJ1 = s.NJ1;
  BodyWork profile;
  profile.kind = body.kind;
  profile.xI = body.xI;
  profile.rI = body.rI;
  for (int i = 1; i <= LoopEnd(s.NI1); ++i) profile.rI(i) *= beta;
  RevolveProfile(affine, profile);
  BuildPanels(affine);
  affine.GeometryReady = true;
  return affine;
}

// The rule's Cp from the affine body's incompressible one, at M > 0.
double RuleCp(double cpAffine, const MachSetting& m, double beta) {
  const double Cp = cpAffine / (beta * beta);
  if (m.rule == PressureRule::GoethertKarmanTsien) return KarmanTsien(beta * Cp, m.mach);
  return Cp;
}

}  // namespace

Incidence AffineIncidence(const Incidence& a, double beta) {
  const double across = beta * a.sinA;
  const double speed = std::hypot(a.cosA, across);
  return {std::atan2(across, a.cosA) * 180 / std::numbers::pi, a.cosA / speed, across / speed};
}

AffineBody SolveAffineBody(const ModelState& s, const BodyWork& body, double beta,
                           Progress& progress) {
  AffineBody out{beta, AffineGeometry(s, body, beta), {}};
  const std::vector<OnsetFlow> streams{{{1, 0, 0}, {}, {}}, {{0, 1, 0}, {}, {}}};
  out.solution = SymmetricSolve(out.s, streams, progress);
  const int nj = LoopEnd(s.NJ);
  const std::string what = "The body with its radii multiplied by " + ShownNumber(beta, 6);
  if (out.solution.nonFinitePanel != 0) {
    throw ProgramError(what + " has no solution: its panel " +
                       PanelName(out.solution.nonFinitePanel, nj) + " gives no finite number.");
  }
  if (out.solution.zeroPivotRow != 0) {
    throw ProgramError(what + " has no solution: the elimination met a zero pivot at panel " +
                       PanelName(out.solution.zeroPivotRow, nj) + ".");
  }
  return out;
}

PressureAtMach PressureFromSolution(const ModelState& s, const HessSolution& solution,
                                    const Incidence& a, const MachSetting& m, double beta) {
  const bool incompressible = m.mach == 0;
  const FlowSolution flow =
      SolutionAtIncidence(solution, incompressible ? a : AffineIncidence(a, beta));
  const int ni = LoopEnd(s.NI), nj = LoopEnd(s.NJ);
  PressureAtMach out;
  out.setting = m;
  out.beta = beta;
  out.incidence = a;
  out.Cp = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  out.OneMinusCp = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  out.speed = Array2(ArrayLimit(s.NI), ArrayLimit(s.NJ));
  out.CpStar = SonicPressureCoefficient(m.mach);
  for (int i = 1; i <= ni; ++i) {
    for (int j = 1; j <= nj; ++j) {
      const double ut = flow.Ut(i, j), vt = flow.Vt(i, j);
      const double q2 = ut * ut + vt * vt;
      if (incompressible) {
        out.OneMinusCp(i, j) = q2;
        out.Cp(i, j) = 1 - q2;
        out.speed(i, j) = std::sqrt(q2);
      } else {
        const double Cp = RuleCp(1 - q2, m, beta);
        if (std::isinf(Cp)) {
          throw ProgramError(
              "Kármán–Tsien's correction has no value at M = " + ShownNumber(m.mach, 6) +
              ": the suction at x = " + ShownNumber(s.xC(i, j), 6) +
              " is beyond it, far past sonic. Lower the Mach number, or take "
              "Göthert's rule alone.");
        }
        out.Cp(i, j) = Cp;
        out.OneMinusCp(i, j) = 1 - Cp;
        out.speed(i, j) = IsentropicSpeed(Cp, m.mach);
      }
      if (out.iCpMin == 0 || out.Cp(i, j) < out.CpMin) {
        out.CpMin = out.Cp(i, j);
        out.iCpMin = i;
        out.jCpMin = j;
      }
    }
  }
  if (out.iCpMin != 0) out.xCpMin = s.xC(out.iCpMin, out.jCpMin);
  out.supersonic = out.CpMin < out.CpStar;
  return out;
}

PressureAtMach PressureAtMachOf(const ModelState& s, const BodyWork& body,
                                const HessSolution& solution, const Incidence& a,
                                const MachSetting& m, Progress& progress) {
  RequireSubsonicMach(m.mach);
  if (m.mach == 0) return PressureFromSolution(s, solution, a, m, 1);
  const double beta = BetaOfMach(m.mach);
  const AffineBody affine = SolveAffineBody(s, body, beta, progress);
  return PressureFromSolution(s, affine.solution, a, m, beta);
}

double ExactCpAtMach(const Spheroid& body, const Incidence& a, const MachSetting& m, double x,
                     double y, double z) {
  if (m.mach == 0) return 1 - ExactOneMinusCpAtIncidence(body, a.cosA, a.sinA, x, y, z);
  const double beta = BetaOfMach(m.mach);
  const Spheroid affine = SpheroidOf(body.centre, body.a, beta * body.b);
  const Incidence stream = AffineIncidence(a, beta);
  const double cpAffine =
      1 - ExactOneMinusCpAtIncidence(affine, stream.cosA, stream.sinA, x, beta * y, beta * z);
  return RuleCp(cpAffine, m, beta);
}

}  // namespace tarvenol
