#include <pybind11/stl.h>

#include "core/program_error.h"
#include "python/bindings.h"
#include "python/numpy_views.h"
#include "python/python_body.h"
#include "python/python_progress.h"
#include "solver/incidence.h"
#include "study/flow_study.h"

namespace tarvenol {
namespace {

struct PythonField {
  std::shared_ptr<PythonSolution> solution;
  FieldGrid grid;
};

const char* EndName(Streamline::End end) {
  switch (end) {
    case Streamline::End::Body:
      return "body";
    case Streamline::End::Edge:
      return "edge";
    case Streamline::End::Stagnation:
      return "stagnation";
    case Streamline::End::Length:
      break;
  }
  return "length";
}

py::array Axis(int n, double start, double step) {
  py::array_t<double> axis(n);
  for (int k = 0; k < n; ++k) axis.mutable_data()[k] = start + k * step;
  return axis;
}

// The field at the angle of attack as views of one FieldAtIncidence, which the arrays keep.
py::dict FieldAtAngle(const PythonField& f, double alpha) {
  RequireAngleOfAttack(alpha);
  auto* field = new FieldAtIncidence(FieldAt(f.grid, IncidenceOf(alpha)));
  const py::capsule owner(field, [](void* p) { delete static_cast<FieldAtIncidence*>(p); });
  const GridSpan& span = field->span;
  py::dict out;
  out["alpha"] = alpha;
  out["x"] = Axis(span.nx, span.x0, span.dx);
  out["y"] = Axis(span.ny, span.y0, span.dy);
  out["vx"] = View(field->Vx, owner);
  out["vy"] = View(field->Vy, owner);
  out["vz"] = View(field->Vz, owner);
  out["speed"] = View(field->speed, owner);
  out["cp"] = View(field->Cp, owner);
  out["masked"] = View(field->masked, owner, py::dtype("bool"));
  return out;
}

py::list Streamlines(const PythonField& f, double alpha, int seeds) {
  RequireAngleOfAttack(alpha);
  if (seeds < 1 || seeds > 10000) {
    throw ProgramError("seeds must be a whole number from 1 to 10000; " + std::to_string(seeds) +
                       " is not.");
  }
  const std::vector<Streamline> lines =
      TraceStreamlines(FieldAt(f.grid, IncidenceOf(alpha)), seeds);
  py::list out;
  for (const Streamline& line : lines) {
    py::array_t<double> points({static_cast<py::ssize_t>(line.points.size()), py::ssize_t{2}});
    for (std::size_t k = 0; k < line.points.size(); ++k) {
      points.mutable_data()[2 * k] = line.points[k][0];
      points.mutable_data()[2 * k + 1] = line.points[k][1];
    }
    py::dict entry;
    entry["points"] = points;
    entry["end"] = EndName(line.end);
    out.append(entry);
  }
  return out;
}

}  // namespace

void BindField(py::module_& m) {
  py::class_<PythonField, std::shared_ptr<PythonField>>(
      m, "FlowField",
      R"(The flow in the plane of the stream and the axis (z = 0) on a grid over the body and a
margin of half its size on every side, computed once for the axial and the transverse stream:
at() and streamlines() take it at any angle of attack by their sum, at once. Made by
Solution.flow_field().)")
      .def_property_readonly(
          "solution", [](const PythonField& f) { return f.solution; }, "The solution it is of.")
      .def("at", &FieldAtAngle, py::arg("alpha") = 0.0,
           R"(The field at the angle of attack alpha (degrees) as a dict: x (nx,) and y (ny,),
the grid's lines (length); vx, vy, vz (units of U), speed and cp, each (nx, ny), the first index
along x; masked (nx, ny), True inside the body or on its surface, where the velocity and cp are
NaN. The arrays are read-only views of one computed field, which they keep alive.)")
      .def("streamlines", &Streamlines, py::arg("alpha") = 0.0, py::arg("seeds") = kStreamlineSeeds,
           R"(Streamlines at the angle of attack alpha (degrees), traced from seeds spread evenly
across the stream at the grid's upstream edge (Runge-Kutta Cash-Karp with error control, on
the grid's velocity taken bilinearly): a list of dicts, points an (M, 2) array of x, y (length)
and end, where it stopped: "body", "edge", "stagnation" or "length".)");

  auto solution =
      py::reinterpret_borrow<py::class_<PythonSolution, std::shared_ptr<PythonSolution>>>(
          m.attr("Solution"));
  solution.def(
      "flow_field",
      [](const std::shared_ptr<PythonSolution>& s, double nx, double ny) {
        auto field = std::make_shared<PythonField>();
        field->solution = s;
        field->grid = Released([&](Progress& progress) {
          return StudyFieldGrid(s->body->Study(), s->solved, nx, ny, progress);
        });
        return field;
      },
      py::arg("nx") = kFieldPoints, py::arg("ny") = kFieldPoints,
      R"(The flow in the plane of the stream on nx x ny points (2 to 10000 each), for both
streams at once, as the window's "Flow around the body" computes it: through the panels'
multipole expansions, within 2e-8 of the stream. Ctrl-C stops it.)");
}

}  // namespace tarvenol
