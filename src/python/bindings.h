#pragma once
// The module's parts, each bound to it by a function of its own.

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "study/study_solution.h"

namespace tarvenol {

namespace py = pybind11;

void BindBodies(py::module_& m);
void BindSolution(py::module_& m);
void BindField(py::module_& m);
void BindSweep(py::module_& m);

// Each message as a warning of the module's category TarvenolWarning, pointing at the caller.
void Warn(const std::vector<std::string>& messages);

// Names and values as a dict, in their order; NaN, a figure that is not there, as None.
py::dict AsDict(const Figures& figures);

}  // namespace tarvenol
