#pragma once
// The body and its solution as the module's classes hold them: a StudyBody, and the solution
// with a shared hold on its body, so that either outlives the other as Python keeps them; and
// the arrays the program keeps in separate pieces, gathered once into one when first asked for.

#include <memory>
#include <optional>

#include "core/array.h"
#include "study/study_solution.h"

namespace tarvenol {

class PythonBody {
 public:
  explicit PythonBody(StudyBody study) : study_(std::move(study)) {}
  const StudyBody& Study() const { return study_; }

  // [1..NI, 1..NJ, 0..2]: the control points, the unit normals out of the body; [1..NI,
  // 1..NJ, 0..11]: the four corners of each panel, three coordinates each (a triangle repeats
  // one); [1..NI, 1..NJ]: the panels' areas.
  const Array3& ControlPoints();
  const Array3& Normals();
  const Array3& Corners();
  const Array2& Areas();

 private:
  StudyBody study_;
  std::optional<Array3> controlPoints_, normals_, corners_;
  std::optional<Array2> areas_;
};

struct PythonSolution {
  std::shared_ptr<PythonBody> body;
  StudySolution solved;
};

}  // namespace tarvenol
