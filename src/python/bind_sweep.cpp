#include <pybind11/stl.h>

#include <cmath>

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
        py::list figures;
        for (const auto& [name, value] : outcome.figures) {
          figures.append(py::make_tuple(
              name, std::isnan(value) ? py::object(py::none()) : py::object(py::float_(value))));
        }
        out["figures"] = figures;
        out["drag"] = outcome.drag;
        out["error"] = outcome.error.empty() ? py::object(py::none()) : py::str(outcome.error);
        out["warnings"] = outcome.warnings;
        return out;
      },
      py::arg("row"),
      R"(One row of a sweep, its columns as (name, text) pairs: a dict of figures, a list of
(name, value) pairs, None for a figure that is not there (no critical Mach number below 1); drag, drag-figures' (name, value) pairs where the row names a Reynolds
number, None for a place that is not there; error, None or the message that refused or failed
the row; and warnings.
What tarvenol.sweep calls for each design, serially or on a Dask worker.)");
}

}  // namespace tarvenol
