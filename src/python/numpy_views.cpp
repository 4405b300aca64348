#include "python/numpy_views.h"

#include <cmath>
#include <string>

#include "core/program_error.h"

namespace tarvenol {
namespace {

py::array ReadOnly(py::array view) {
  py::detail::array_proxy(view.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
  return view;
}

std::string ShapeText(const py::array& a) {
  std::string text = "(";
  for (py::ssize_t d = 0; d < a.ndim(); ++d) {
    if (d > 0) text += ", ";
    text += std::to_string(a.shape(d));
  }
  return text + (a.ndim() == 1 ? ",)" : ")");
}

// values as an array of doubles of ndim dimensions, the last of the given size unless 0.
py::array_t<double> RealArray(py::handle values, const char* name, py::ssize_t ndim,
                              py::ssize_t last, const char* what) {
  const py::array a = py::module_::import("numpy").attr("asarray")(values);
  const char kind = a.dtype().kind();
  if (kind != 'f' && kind != 'i' && kind != 'u') {
    throw ProgramError(std::string(name) + " must hold real numbers; its dtype is " +
                       std::string(py::str(a.dtype())) + ".");
  }
  if (a.ndim() != ndim || (last > 0 && a.shape(ndim - 1) != last)) {
    throw ProgramError(std::string(name) + " must be " + what + "; its shape is " + ShapeText(a) +
                       ".");
  }
  return py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(a);
}

void RequireFinite(double value, const char* name, py::ssize_t row) {
  if (std::isfinite(value)) return;
  throw ProgramError(std::string(name) + " holds " + std::string(py::str(py::float_(value))) +
                     " in row " + std::to_string(row) + ": every value must be a finite number.");
}

}  // namespace

py::array View(const Array1& a, py::handle owner) {
  const auto n = static_cast<py::ssize_t>(a.Limit(0));
  return ReadOnly(py::array(py::dtype::of<double>(), {n}, {py::ssize_t{sizeof(double)}},
                            n > 0 ? &a(1) : nullptr, owner));
}

py::array View(const Array2& a, py::handle owner) {
  return View<double>(a, owner, py::dtype::of<double>());
}

template <typename T>
py::array View(const DenseArray<T, 2>& a, py::handle owner, py::dtype type) {
  const auto rows = static_cast<py::ssize_t>(a.Limit(0));
  const auto columns = static_cast<py::ssize_t>(a.Limit(1));
  const py::ssize_t row = (columns + 1) * py::ssize_t{sizeof(T)};
  return ReadOnly(py::array(type, {rows, columns}, {row, py::ssize_t{sizeof(T)}},
                            rows > 0 && columns > 0 ? &a(1, 1) : nullptr, owner));
}
template py::array View<double>(const Array2&, py::handle, py::dtype);
template py::array View<std::uint8_t>(const DenseArray<std::uint8_t, 2>&, py::handle, py::dtype);
template py::array View<std::int16_t>(const DenseArray<std::int16_t, 2>&, py::handle, py::dtype);

py::array View(const Array3& a, py::handle owner, const std::vector<py::ssize_t>& rest) {
  const auto rows = static_cast<py::ssize_t>(a.Limit(0));
  const auto columns = static_cast<py::ssize_t>(a.Limit(1));
  std::vector<py::ssize_t> shape = {rows, columns};
  shape.insert(shape.end(), rest.begin(), rest.end());
  // The components' strides, innermost last, then a panel's and a row's.
  std::vector<py::ssize_t> strides(shape.size());
  py::ssize_t stride = sizeof(double);
  for (std::size_t d = shape.size(); d-- > 2;) {
    strides[d] = stride;
    stride *= shape[d];
  }
  const auto panel = static_cast<py::ssize_t>(a.Limit(2) + 1) * py::ssize_t{sizeof(double)};
  strides[1] = panel;
  strides[0] = panel * (columns + 1);
  return ReadOnly(py::array(py::dtype::of<double>(), shape, strides,
                            rows > 0 && columns > 0 ? &a(1, 1, 0) : nullptr, owner));
}

std::vector<double> RealVector(py::handle values, const char* name) {
  const py::array_t<double> a = RealArray(values, name, 1, 0, "a one-dimensional array");
  return {a.data(), a.data() + a.size()};
}

std::vector<Vector3> FinitePoints(py::handle values, const char* name) {
  const py::array_t<double> a = RealArray(values, name, 2, 3, "an array of shape (N, 3)");
  std::vector<Vector3> out(static_cast<std::size_t>(a.shape(0)));
  const double* data = a.data();
  for (std::size_t k = 0; k < out.size(); ++k) {
    for (std::size_t c = 0; c < 3; ++c) {
      out[k][c] = data[3 * k + c];
      RequireFinite(out[k][c], name, static_cast<py::ssize_t>(k));
    }
  }
  return out;
}

}  // namespace tarvenol
