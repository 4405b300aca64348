#pragma once
// The program's arrays as numpy arrays without copies. A DenseArray keeps its elements in one
// block, row after row, each dimension from 0 to its limit, and the program leaves index 0
// unused: a view starts at element 1 of each dimension (0 of a dimension of components) and
// steps over the unused elements by its strides, so that it has exactly the shape of the
// panels. The views are read-only, and keep the Python object that owns the array alive.
// Numbers that come in from Python are checked here: their shape, their type, and that they
// are finite.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <vector>

#include "core/array.h"
#include "solver/onset_flow.h"

namespace tarvenol {

namespace py = pybind11;

// (limit 0,) from element 1.
py::array View(const Array1& a, py::handle owner);
// (limit 0, limit 1) from element (1, 1).
py::array View(const Array2& a, py::handle owner);
template <typename T>
py::array View(const DenseArray<T, 2>& a, py::handle owner, py::dtype type);
// (limit 0, limit 1, rest...) from element (1, 1, 0), rest the shape of the last dimension's
// limit + 1 components: (3,) for points, (4, 3) for four corners.
py::array View(const Array3& a, py::handle owner, const std::vector<py::ssize_t>& rest);

// A one-dimensional array of real numbers, named name in messages.
std::vector<double> RealVector(py::handle values, const char* name);
// An (N, 3) array of finite real numbers.
std::vector<Vector3> FinitePoints(py::handle values, const char* name);

}  // namespace tarvenol
