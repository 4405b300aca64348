// The module tarvenol._tarvenol, which the package tarvenol presents.

#include <pybind11/pybind11.h>

#include <cmath>

#include "core/program_error.h"
#include "python/bindings.h"

namespace tarvenol {

void Warn(const std::vector<std::string>& messages) {
  if (messages.empty()) return;
  const py::object category = py::module_::import("tarvenol._tarvenol").attr("TarvenolWarning");
  for (const std::string& message : messages) {
    if (PyErr_WarnEx(category.ptr(), message.c_str(), 1) != 0) throw py::error_already_set();
  }
}

py::dict AsDict(const Figures& figures) {
  py::dict out;
  // A figure that is not there (no critical Mach number below 1) is None, never a silent NaN.
  for (const auto& [name, value] : figures) {
    out[py::str(name)] = std::isnan(value) ? py::object(py::none()) : py::float_(value);
  }
  return out;
}

}  // namespace tarvenol

PYBIND11_MODULE(_tarvenol, m) {
  namespace py = pybind11;
  m.doc() = "Hess's source panel method for bodies of revolution: the compiled part of tarvenol.";
  // The program's refusals are bad input, named by its own messages.
  py::register_exception<tarvenol::ProgramError>(m, "Error", PyExc_ValueError);
  m.attr("TarvenolWarning") = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "tarvenol.TarvenolWarning",
      "A body taken as it stands that may not be what was meant: a profile that is not a "
      "closed body listed from nose to tail, evenly enough spaced, or a solution whose "
      "elimination met a zero diagonal element.",
      PyExc_UserWarning, nullptr));
  tarvenol::BindBodies(m);
  tarvenol::BindSolution(m);
  tarvenol::BindField(m);
  tarvenol::BindSweep(m);
}
