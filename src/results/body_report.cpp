#include "results/body_report.h"

#include "core/program_error.h"
#include "solver/symmetric_solve.h"

namespace tarvenol {

CoarseCompanion CoarseCompanionOf(const ModelState& s, const BodyWork& body, Progress& progress) {
  const ModelState coarse = CoarserGeometry(s, body);
  const BodyFigures coarseFigures = FiguresOfPanels(coarse);
  Step(progress, Stage::Geometry, 1);
  Array2 coarsePotentials;
  const HessSolution coarseSolution = SymmetricSolve(
      coarse, IncidenceOnsetFlows(coarseFigures.centreX), progress, coarsePotentials);
  if (coarseSolution.zeroPivotRow != 0 || coarseSolution.nonFinitePanel != 0) {
    throw ProgramError(
        "The solution with half the panels around the body has no finite result, so the "
        "added masses cannot be extrapolated.");
  }
  return {AddedMassesOf(coarse, coarseFigures, coarseSolution, progress, &coarsePotentials),
          LoopEnd(coarse.NI), LoopEnd(coarse.NJ)};
}

BodyReport BodyReportOf(const ModelState& s, const BodyWork& body, const HessSolution& solution,
                        Progress& progress, const Array2* ringPotentials,
                        const std::function<CoarseCompanion(Progress&)>& companion) {
  BodyReport report;
  Step(progress, Stage::Geometry, 0);
  report.figures = FiguresOfPanels(s);
  report.solution = AddedMassesOf(s, report.figures, solution, progress, ringPotentials);
  const CoarseCompanion coarse =
      companion ? companion(progress) : CoarseCompanionOf(s, body, progress);
  report.coarse = coarse.coefficients;
  report.coarseNI = coarse.ni;
  report.coarseNJ = coarse.nj;
  report.ratio = static_cast<double>(LoopEnd(s.NJ)) / report.coarseNJ;
  report.extrapolated = Extrapolated(report.solution, report.coarse, report.ratio);
  report.spheroid = SpheroidOfProfile(body.xI, body.rI, LoopEnd(s.NI1));
  return report;
}

std::vector<std::pair<std::string, double>> BodyReportLines(const BodyReport& r) {
  std::vector<std::pair<std::string, double>> lines = {
      {"volume", r.figures.volume},
      {"wetted_area", r.figures.wettedArea},
      {"centre_x", r.figures.centreX},
      {"k1", r.solution.k1},
      {"k2", r.solution.k2},
      {"kprime", r.solution.kPrime},
      {"k1_extrapolated", r.extrapolated.k1},
      {"k2_extrapolated", r.extrapolated.k2},
      {"kprime_extrapolated", r.extrapolated.kPrime},
      {"k1_coarse", r.coarse.k1},
      {"k2_coarse", r.coarse.k2},
      {"kprime_coarse", r.coarse.kPrime},
      {"coarse_ni", r.coarseNI},
      {"coarse_nj", r.coarseNJ},
      {"displaced_inertia_z", r.figures.inertiaZ},
  };
  if (r.spheroid) {
    lines.insert(lines.end(), {{"k1_lamb", r.spheroid->k1},
                               {"k2_lamb", r.spheroid->k2},
                               {"kprime_lamb", r.spheroid->kPrime}});
  }
  return lines;
}

}  // namespace tarvenol
