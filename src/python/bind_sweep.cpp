#include <pybind11/stl.h>

#include "python/bindings.h"
#include "python/python_progress.h"
#include "study/sweep_design.h"

namespace tarvenol {

void BindSweep(py::module_& m) {
  m.def(
      "_sweep_row",
      [](const DesignRow& row) {
        const SweepOutcome outcome =
            Released([&](Progress& progress) { return SweepRow(row, progress); });
        py::dict out;
        out["figures"] = outcome.figures;
        out["drag"] = outcome.drag;
        out["error"] = outcome.error.empty() ? py::object(py::none()) : py::str(outcome.error);
        out["warnings"] = outcome.warnings;
        return out;
      },
      py::arg("row"),
      R"(One row of a sweep, its columns as (name, text) pairs: a dict of figures, a list of
(name, value) pairs; drag, drag-figures' (name, value) pairs where the row names a Reynolds
number, None for a place that is not there; error, None or the message that refused or failed
the row; and warnings.
What tarvenol.sweep calls for each design, serially or on a Dask worker.)");
}

}  // namespace tarvenol
