#include "solver/hess_solve.h"

#include "core/program_error.h"

namespace tarvenol {

void HessSolve(ModelState&, SolverWork&, WindowOps&) {
  throw ProgramError("The panel method is not available yet.");
}

}  // namespace tarvenol
