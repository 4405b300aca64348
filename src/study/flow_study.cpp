#include "study/flow_study.h"

#include "core/counts.h"
#include "core/program_error.h"
#include "core/shown_text.h"
#include "solver/incidence.h"

namespace tarvenol {
namespace {

constexpr double kMostFieldPoints = 10000;

void RequireFieldCount(double count, const char* name) {
  if (IsWholeCount(count, 2, kMostFieldPoints)) return;
  throw ProgramError(std::string(name) + " must be a whole number from 2 to 10000; " +
                     ShownNumber(count, 10) + " is not.");
}

}  // namespace

ProbedFlow ProbeStudy(const StudyBody& body, const StudySolution& solved,
                      const std::vector<Vector3>& points, double alphaDegrees) {
  RequireAngleOfAttack(alphaDegrees);
  const BodyFlow flow(body.state, body.body, solved.solution);
  ProbedFlow probed;
  IgnoredProgress unwatched;
  probed.flows = FlowAtPoints(flow, points, IncidenceOf(alphaDegrees), unwatched);
  for (std::size_t k = 0; k < points.size(); ++k) {
    if (probed.flows[k] || probed.masked++ > 0) continue;
    const Vector3& p = points[k];
    probed.maskedMessage = "point " + std::to_string(k) + ", (" + ShownNumber(p[0], 10) + ", " +
                           ShownNumber(p[1], 10) + ", " + ShownNumber(p[2], 10) + ")";
  }
  if (probed.masked > 0) {
    probed.maskedMessage = std::to_string(probed.masked) + " of the " +
                           std::to_string(points.size()) +
                           " points lie inside the body, or on its surface (within " +
                           ShownNumber(flow.Shape().Clearance(), 10) +
                           "), where the flow has no "
                           "velocity; the first is " +
                           probed.maskedMessage + ".";
  }
  return probed;
}

FieldGrid StudyFieldGrid(const StudyBody& body, const StudySolution& solved, double nx, double ny,
                         Progress& progress) {
  RequireFieldCount(nx, "nx");
  RequireFieldCount(ny, "ny");
  Step(progress, Stage::FlowField, 0);
  const BodyFlow flow(body.state, body.body, solved.solution, kFarFieldTolerance, &progress);
  return ComputeFieldGrid(
      flow, GridAroundBody(flow.Shape(), static_cast<int>(nx), static_cast<int>(ny)), progress);
}

}  // namespace tarvenol
