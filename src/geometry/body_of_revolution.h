#pragma once
// The body of revolution: a meridian profile (the sphere test case or a body file)
// revolved about the x axis into the surface grid xB, yB, zB.

#include <string>
#include <vector>

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"

namespace tarvenol {

enum class BodyKind { Sphere, GivenBody };

// The profile and the meridian angles, kept between builds.
struct BodyWork {
  BodyKind kind = BodyKind::Sphere;  // where the profile came from
  Array1 xI;                         // axial coordinate of profile point i, 1..NI1
  Array1 rI;                         // radius of profile point i, 1..NI1
  Array1 Phi;                        // angle of meridian j, 1..NJ1
};

// Profile, meridian angles and surface grid. A body file's point count replaces NI and NI1.
// Once the profile is known, and before any grid is made, refuses a profile too large or too
// small for the panel arithmetic, and a geometry too large for the memory.
void BuildBodyGeometry(ModelState& s, BodyWork& w, BodyKind kind);
// The same, telling progress where it stands at Stage::Geometry 0 to 0.5, and throwing
// Cancelled when asked to stop.
void BuildBodyGeometry(ModelState& s, BodyWork& w, BodyKind kind, Progress& progress);

// The same from a profile given as its points x, r, nose first, named name in messages in
// place of a body file (BodyFile becomes name): NI and NI1 follow the point count. Refuses,
// as a body file is refused, a point count outside 3..kMaxBodyPoints, x and r of different
// lengths, and a value that is not a finite number.
void BuildGivenProfile(ModelState& s, BodyWork& w, const std::vector<double>& x,
                       const std::vector<double>& r, const std::string& name);

// The sphere of diameter 1 with its nose at x = 0, points evenly spaced in polar angle.
void SphereProfile(ModelState& s, BodyWork& w);

// The meridian angles and the surface grid of the profile in w, revolved at NJ1 meridians.
void RevolveProfile(ModelState& s, BodyWork& w);
void RevolveProfile(ModelState& s, BodyWork& w, Progress& progress);

// The panels of the same body with half the panels around it, and, for the sphere, half along
// it too, whose results beside the full ones tell how fast they converge; the report plays no
// part. Refuses, as BuildPanels does, panels without axes.
ModelState CoarserGeometry(const ModelState& s, const BodyWork& w);

}  // namespace tarvenol
