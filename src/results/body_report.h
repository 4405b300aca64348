#pragma once
// The body's figures and added masses as the program reports them: from the solution, from a
// second solution with half the panels around the body (and along the sphere), and Richardson's
// estimate from the two; with their names as the batch tool prints them.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "geometry/body_of_revolution.h"
#include "results/added_masses.h"

namespace tarvenol {

// The second solution's added masses, with half the panels around the body (and along the
// sphere), and its counts: BodyReportOf's unless it is given one.
struct CoarseCompanion {
  AddedMassCoefficients coefficients;
  int ni = 0, nj = 0;
};
CoarseCompanion CoarseCompanionOf(const ModelState& s, const BodyWork& body, Progress& progress);

// The report of the panels of s and body, solved as solution (carrying the onset flows of
// IncidenceOnsetFlows at the body's centre of volume), with its rings' potential sums where its
// solve by the symmetry gathered them (AddedMassesOf). The second solution is by the body's
// symmetry: the full solve's within 1e-10, in a fraction of its time and memory; companion,
// where given, gives it (CoarseCompanionOf's, made beside the solution). Refuses a body too
// coarse for it, or whose second solution has no finite result; tells progress, which may stop
// it (Cancelled).
BodyReport BodyReportOf(const ModelState& s, const BodyWork& body, const HessSolution& solution,
                        Progress& progress, const Array2* ringPotentials = nullptr,
                        const std::function<CoarseCompanion(Progress&)>& companion = {});

// The figures as name and value, in the order the batch tool prints them.
std::vector<std::pair<std::string, double>> BodyReportLines(const BodyReport& r);

}  // namespace tarvenol
