#pragma once
// A body studied away from the window and the report, as scripts and sweeps take it: built from
// the sphere, a body file, a profile given as points or a hull family, then solved, with its
// figures. The geometry and the solution are the same bits as the window's and the batch
// tool's for the same counts; nothing is written.

#include <optional>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "geometry/body_of_revolution.h"
#include "geometry/hull_families.h"

namespace tarvenol {

struct StudyBody {
  ModelState state;  // the geometry and its panels; OutFile is empty: there is no report
  BodyWork body;
  // How the profile differs from a closed body listed from nose to tail, evenly enough spaced,
  // for a body file or a given profile: the messages the window shows.
  std::vector<std::string> warnings;
};

// Each refuses a count that is not a whole number in the program's range (core/counts.h), and
// what the geometry refuses, with a ProgramError.

// The sphere of diameter 1, ni x nj panels, as "Calculate sphere coordinates" builds it.
StudyBody SphereBody(double ni, double nj);

// The profile of the body file at path, at nj panels around, as the window reads it; with ni,
// resampled to ni panels along (ResampleProfile) as the window's "resample" does it, its
// warnings first.
StudyBody FileBody(const std::string& path, double nj, const std::optional<double>& ni = {});

// A profile given as its points x, r from the nose to the tail, at nj panels around, resampled
// to ni panels along where ni is given; name stands for it in messages, as a body file's path
// does.
StudyBody ProfileBody(const std::vector<double>& x, const std::vector<double>& r, double nj,
                      const std::string& name, const std::optional<double>& ni = {});

// The families' profiles at ni + 1 points (hull_families.h), at nj panels around.
StudyBody MyringBody(const MyringHull& hull, double ni, double nj);
StudyBody SpheroidBody(const SpheroidHull& hull, double ni, double nj);

}  // namespace tarvenol
