#pragma once
// The operations that compute: a geometry built from the sphere or a body file, and Hess's
// method applied to it.

#include <memory>
#include <string>

#include "geometry/body_of_revolution.h"
#include "geometry/profile_resample.h"
#include "session/operation.h"

namespace tarvenol {

// A geometry of the counts typed, ni and nj; a body file may bring another point count. Its
// picture is drawn as the view's boxes of win are now, while it runs.
std::unique_ptr<Operation> GeometryOperation(const ModelState& s, WindowOps& win, BodyKind kind,
                                             const std::string& bodyFile, double ni, double nj);

// A geometry of a profile already resampled, named name, with nj panels around; the report's
// profile section lists its points, and its warnings are shown when it is taken.
std::unique_ptr<Operation> ResampledGeometryOperation(const ModelState& s, WindowOps& win,
                                                      ResampledProfile resampled,
                                                      const std::string& name, double nj);

// How Hess's method is applied: the full solve builds and eliminates the influence matrices
// and reports them; the solve by the body's rotational symmetry forms none, and reports the
// matrix sections without their rows.
enum class SolveKind { Full, Symmetric };

// Hess's method on p's geometry, in the free stream (1, 0, 0), which p's state takes now; its
// picture is drawn as the view's boxes of win are now, while it runs.
std::unique_ptr<Operation> SolveOperation(Program& p, WindowOps& win,
                                          SolveKind kind = SolveKind::Full);

}  // namespace tarvenol
