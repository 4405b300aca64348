#include "study/study_body.h"

#include <cmath>
#include <string>

#include "core/counts.h"
#include "core/program_error.h"
#include "geometry/panels.h"
#include "geometry/profile_checks.h"

namespace tarvenol {
namespace {

// The constants and counts of a new state, as the program sets them at start-up.
ModelState Started(double ni, double nj) {
  ModelState s;
  s.PI = std::atan(1.0) * 4;
  s.TwoPI = 2 * s.PI;
  s.FourPI = 4 * s.PI;
  s.NI = ni;
  s.NI1 = ni + 1;
  s.NJ = nj;
  s.NJ1 = nj + 1;
  return s;
}

// The panels of the grid built, the geometry made ready.
StudyBody Paneled(StudyBody study) {
  BuildPanels(study.state);
  study.state.GeometryReady = true;
  study.state.ShowPanels = true;
  return study;
}

StudyBody Given(const BodyProfile& profile, double nj, const std::string& name, bool checked) {
  RequireWholeCount(nj, "NJ", kMinNJ);
  StudyBody study{Started(0, nj), {}, {}};
  BuildGivenProfile(study.state, study.body, profile.x, profile.r, name);
  // A family's profile is a closed body by its construction.
  if (!checked) study.warnings = ProfileWarnings(study.state, study.body);
  return Paneled(std::move(study));
}

}  // namespace

StudyBody SphereBody(double ni, double nj) {
  RequireWholeCount(ni, "NI", kMinNI);
  RequireWholeCount(nj, "NJ", kMinNJ);
  StudyBody study{Started(ni, nj), {}, {}};
  BuildBodyGeometry(study.state, study.body, BodyKind::Sphere);
  return Paneled(std::move(study));
}

StudyBody FileBody(const std::string& path, double nj) {
  RequireWholeCount(nj, "NJ", kMinNJ);
  StudyBody study{Started(0, nj), {}, {}};
  study.state.BodyFile = path;
  BuildBodyGeometry(study.state, study.body, BodyKind::GivenBody);
  study.warnings = ProfileWarnings(study.state, study.body);
  return Paneled(std::move(study));
}

StudyBody ProfileBody(const std::vector<double>& x, const std::vector<double>& r, double nj,
                      const std::string& name) {
  return Given(BodyProfile{x, r}, nj, name, false);
}

StudyBody MyringBody(const MyringHull& hull, double ni, double nj) {
  return Given(MyringProfile(hull, ni), nj, "Myring's hull", true);
}

StudyBody SpheroidBody(const SpheroidHull& hull, double ni, double nj) {
  return Given(SpheroidProfile(hull, ni), nj, "the spheroid", true);
}

}  // namespace tarvenol
