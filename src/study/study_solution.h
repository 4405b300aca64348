#pragma once
// A studied body solved, and what is taken from its solution: the body's figures with the added
// masses (the second solution the batch tool's body-figures makes), the suction peak, the
// surface and the forces at an angle of attack. Every result is the batch tool's bits for the
// same body, counts and solve.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "results/body_report.h"
#include "results/panel_results.h"
#include "solver/hess_solve.h"
#include "study/study_body.h"

namespace tarvenol {

struct StudySolution {
  HessSolution solution;  // the axial and transverse streams and the pitch turn
  bool symmetric = true;  // solved by the body's symmetry, or by the full matrices
  Array2 ringPotentials;  // by the symmetry: the rings' potential sums, for the added masses
  // The elimination met an exactly zero diagonal element: every source strength is 0.
  std::vector<std::string> warnings;
};

// Hess's method on the body in the onset flows of IncidenceOnsetFlows at its centre of volume:
// by the body's rotational symmetry (tarvenol-batch's solve-symmetric), or with the full
// matrices (its solve). Refuses a size that cannot fit in memory before anything is allocated,
// and a solution that is not finite; tells progress, which may stop it (Cancelled).
StudySolution SolveStudy(const StudyBody& body, bool symmetric, Progress& progress);

using Figures = std::vector<std::pair<std::string, double>>;

// The lines of tarvenol-batch's body-figures at the angle of attack (degrees): the body's
// figures (BodyReportLines), the second solution from companion where given; then Cp_min, the
// least Cp over the panels, and x_Cp_min, the x of that panel's control point, incompressible
// where no Mach number is given and by Göthert's rule at it where one is (0 <= M < 1); and
// there M_critical, the critical Mach number (NaN where there is none below 1), whose search
// solves the affine body several times. Refuses what body-figures refuses (a body too coarse
// for the second solution, a zero diagonal element, a Mach number outside 0..1).
Figures StudyFigures(const StudyBody& body, const StudySolution& solved, double alphaDegrees,
                     const std::optional<double>& mach, Progress& progress,
                     const std::function<CoarseCompanion(Progress&)>& companion = {});

// Refuses an angle of attack outside -90..90 degrees, or one that is not a number, with the
// batch tool's message.
void RequireAngleOfAttack(double degrees);

// The panels at the angle of attack, as tarvenol-batch's csv writes them.
std::vector<PanelResult> StudyPanels(const StudyBody& body, const StudySolution& solved,
                                     double alphaDegrees);

// The force and moment of the pressure at the angle of attack about the centre of volume: the
// columns of a row of tarvenol-batch's forces table by their names, Munk's moment only where
// the body is a spheroid.
Figures StudyForces(const StudyBody& body, const StudySolution& solved, double alphaDegrees);

}  // namespace tarvenol
