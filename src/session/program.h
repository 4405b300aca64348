#pragma once
// The model state together with the work arrays of the modules that keep their own.

#include <optional>

#include "core/model_state.h"
#include "geometry/body_of_revolution.h"
#include "report/report_lock.h"
#include "results/goethert.h"
#include "session/drag_settings.h"
#include "session/results_cache.h"
#include "solver/hess_solve.h"
#include "view/draw_body.h"

namespace tarvenol {

struct Program {
  ModelState state;
  BodyWork body;
  SolverWork solver;
  ViewWork view;
  // The last solution taken: its source strengths and surface velocities, for the results.
  // 1 - Cp is in the model state; the solution belongs to the geometry only while ShowSolution.
  HessSolution solution;
  // The angle of attack of the results, in degrees: a setting of what is shown and exported,
  // not of the solve, which carries the axial and the transverse stream.
  double alphaDegrees = 0;
  // The Reynolds number and the transition of the drag, settings of the results as well.
  DragSettings drag;
  // The Mach number of the results and its rule, a setting like the angle
  // (session/mach_commands.h); above 0, the affine body of the solution taken, solved once for that
  // Mach number.
  MachSetting mach;
  std::optional<AffineBody> affine;
  // Grows by one with each solution taken, so that what is kept of one can tell it is stale.
  unsigned solutionCount = 0;
  // What the results of the solution taken have computed, for every window and action.
  ResultsCache results;
  ReportLock report;  // held from start-up to the end
};

}  // namespace tarvenol
