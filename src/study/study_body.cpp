#include "study/study_body.h"

#include <cmath>
#include <string>

#include "core/counts.h"
#include "core/program_error.h"
#include "geometry/panels.h"
#include "geometry/profile_checks.h"
#include "geometry/profile_resample.h"

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

// The profile re-panelled as the window's "resample" does it, the resampling's warnings before
// the profile's.
StudyBody Resampled(const BodyProfile& given, double nj, const std::string& name, double ni) {
  RequireWholeCount(nj, "NJ", kMinNJ);
  ResampledProfile resampled = ResampleProfile(given, ni);
  StudyBody study = Given(resampled.profile, nj, name, false);
  resampled.warnings.insert(resampled.warnings.end(), study.warnings.begin(), study.warnings.end());
  study.warnings = std::move(resampled.warnings);
  return study;
}

}  // namespace

StudyBody SphereBody(double ni, double nj) {
  RequireWholeCount(ni, "NI", kMinNI);
  RequireWholeCount(nj, "NJ", kMinNJ);
  StudyBody study{Started(ni, nj), {}, {}};
  BuildBodyGeometry(study.state, study.body, BodyKind::Sphere);
  return Paneled(std::move(study));
}

StudyBody FileBody(const std::string& path, double nj, const std::optional<double>& ni) {
  RequireWholeCount(nj, "NJ", kMinNJ);
  StudyBody study{Started(0, nj), {}, {}};
  study.state.BodyFile = path;
  BuildBodyGeometry(study.state, study.body, BodyKind::GivenBody);
  if (ni) {
    BodyProfile given;
    for (int i = 1; i <= LoopEnd(study.state.NI1); ++i) {
      given.x.push_back(study.body.xI(i));
      given.r.push_back(study.body.rI(i));
    }
    return Resampled(given, nj, path, *ni);
  }
  study.warnings = ProfileWarnings(study.state, study.body);
  return Paneled(std::move(study));
}

StudyBody ProfileBody(const std::vector<double>& x, const std::vector<double>& r, double nj,
                      const std::string& name, const std::optional<double>& ni) {
  if (ni) return Resampled(BodyProfile{x, r}, nj, name, *ni);
  return Given(BodyProfile{x, r}, nj, name, false);
}

StudyBody MyringBody(const MyringHull& hull, double ni, double nj) {
  return Given(MyringProfile(hull, ni), nj, "Myring's hull", true);
}

StudyBody SpheroidBody(const SpheroidHull& hull, double ni, double nj) {
  return Given(SpheroidProfile(hull, ni), nj, "the spheroid", true);
}

}  // namespace tarvenol
