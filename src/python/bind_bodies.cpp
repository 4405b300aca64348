#include <pybind11/stl.h>

#include "geometry/body_figures.h"
#include "python/bindings.h"
#include "python/numpy_views.h"
#include "python/python_body.h"
#include "python/python_progress.h"

namespace tarvenol {
namespace {

using BodyHandle = std::shared_ptr<PythonBody>;

// A body built with the lock released, its warnings given.
template <typename Build>
BodyHandle Built(Build&& build) {
  StudyBody study;
  {
    py::gil_scoped_release release;
    study = build();
  }
  Warn(study.warnings);
  return std::make_shared<PythonBody>(std::move(study));
}

constexpr const char* kBodyDoc = R"(A body of revolution cut into NI x NJ panels.

Made by sphere(), body_file(), profile(), myring() or spheroid(); solve() solves the flow around
it. Lengths are in the units of the profile (the sphere has diameter 1); the body's axis is x,
its nose at the profile's first point. Panel (i, j) is row i along the profile from the nose,
column j around the axis, as in the report; arrays of panels have the shape (NI, NJ).
Arrays are read-only numpy views of the body's own memory, kept alive by them.)";

void BindBodyClass(py::module_& m) {
  py::class_<PythonBody, BodyHandle>(m, "Body", kBodyDoc)
      .def_property_readonly(
          "ni", [](const PythonBody& b) { return LoopEnd(b.Study().state.NI); },
          "Panels along the profile, NI.")
      .def_property_readonly(
          "nj", [](const PythonBody& b) { return LoopEnd(b.Study().state.NJ); },
          "Panels around the axis, NJ.")
      .def_property_readonly(
          "x", [](py::object self) { return View(self.cast<PythonBody&>().Study().body.xI, self); },
          "x of the NI + 1 profile points, nose first (length).")
      .def_property_readonly(
          "r", [](py::object self) { return View(self.cast<PythonBody&>().Study().body.rI, self); },
          "Radius of the NI + 1 profile points (length).")
      .def_property_readonly(
          "control_points",
          [](py::object self) { return View(self.cast<PythonBody&>().ControlPoints(), self, {3}); },
          "Control points, (NI, NJ, 3): the mean of each panel's corners (length).")
      .def_property_readonly(
          "normals",
          [](py::object self) { return View(self.cast<PythonBody&>().Normals(), self, {3}); },
          "Unit normals out of the body, (NI, NJ, 3).")
      .def_property_readonly(
          "corners",
          [](py::object self) {
            return View(self.cast<PythonBody&>().Corners(), self, {4, 3});
          },
          "Corners of the panels, (NI, NJ, 4, 3) (length). The first and last rows are\n"
          "triangles: corner_counts is 3 there, and one corner repeats another.")
      .def_property_readonly(
          "corner_counts",
          [](py::object self) {
            return View(self.cast<PythonBody&>().Study().state.NCor, self, py::dtype("int16"));
          },
          "Corners of each panel, 3 or 4, (NI, NJ).")
      .def_property_readonly(
          "areas", [](py::object self) { return View(self.cast<PythonBody&>().Areas(), self); },
          "Area of each panel, (NI, NJ) (length squared).")
      .def_property_readonly(
          "warnings", [](const PythonBody& b) { return b.Study().warnings; },
          "How the profile differs from a closed body listed from nose to tail, evenly\n"
          "enough spaced: the messages the window shows, also given as warnings.")
      .def(
          "solid",
          [](const PythonBody& b) {
            const BodyFigures f = FiguresOfPanels(b.Study().state);
            return AsDict({{"volume", f.volume},
                           {"wetted_area", f.wettedArea},
                           {"centre_x", f.centreX},
                           {"displaced_inertia_z", f.inertiaZ}});
          },
          "The panelled body as a solid, exactly: volume (length cubed), wetted_area (length\n"
          "squared), centre_x, the x of the centre of volume (length), and displaced_inertia_z,\n"
          "the moment of inertia of the displaced fluid about the transverse axis through the\n"
          "centre, per unit density (length to the fifth).")
      .def("__repr__", [](const PythonBody& b) {
        return "<tarvenol.Body " + std::to_string(LoopEnd(b.Study().state.NI)) + " x " +
               std::to_string(LoopEnd(b.Study().state.NJ)) + " panels>";
      });
}

}  // namespace

void BindBodies(py::module_& m) {
  BindBodyClass(m);
  m.def(
      "sphere", [](double ni, double nj) { return Built([&] { return SphereBody(ni, nj); }); },
      py::arg("ni") = 16, py::arg("nj") = 16,
      R"(The sphere of diameter 1, its nose at x = 0, with ni panels along its profile (points
evenly spaced in polar angle) and nj around: the window's "Test case for sphere".)");
  m.def(
      "body_file",
      [](const std::string& path, double nj, std::optional<double> ni) {
        return Built([&] { return FileBody(path, nj, ni); });
      },
      py::arg("path"), py::kw_only(), py::arg("nj") = 16, py::arg("ni") = py::none(),
      R"(The body whose profile the .body file at path holds, with nj panels around. ni=None
keeps the file's points: NI is its point count less one; a number re-panels the profile with ni
panels along it, crowded where it turns (a smooth curve through the points, corners kept), as
the window's resampling does. A file that cannot be read raises tarvenol.Error naming the place
of the fault; a profile that is not a closed body listed from nose to tail is taken with a
TarvenolWarning, as the window takes it.)");
  m.def(
      "profile",
      [](py::object x, py::object r, double nj, std::optional<double> ni, const std::string& name) {
        std::vector<double> xs = RealVector(x, "x");
        std::vector<double> rs = RealVector(r, "r");
        return Built([&] { return ProfileBody(xs, rs, nj, name, ni); });
      },
      py::arg("x"), py::arg("r"), py::kw_only(), py::arg("nj") = 16, py::arg("ni") = py::none(),
      py::arg("name") = "given as arrays",
      R"(The body whose profile runs through the points x, r (one-dimensional arrays of real
numbers, nose first, both ends on the axis; lengths in any unit) with nj panels around. ni=None
keeps the points: NI is their count less one; a number re-panels the profile with ni panels, as
body_file() does. Arrays of another shape or dtype, NaN or infinity raise tarvenol.Error (a
ValueError); a profile that is not a closed body listed from nose to tail is taken with a
TarvenolWarning. name stands for the profile in messages.)");
  m.def(
      "myring",
      [](double a, double b, double c, double d, double n, double theta, double ni, double nj) {
        return Built([&] { return MyringBody({a, b, c, d, n, theta}, ni, nj); });
      },
      py::arg("a"), py::arg("b"), py::arg("c"), py::arg("d"), py::arg("n"), py::arg("theta"),
      py::kw_only(), py::arg("ni") = 100, py::arg("nj") = 16,
      R"(Myring's hull (Myring 1976): a nose of length a, a cylindrical midbody of length b
and a tail of length c on the diameter d; n is the nose exponent (2: elliptic) and theta the
tail's half-angle at its end, in degrees, from 0 to atan(3d / 2c). The profile has ni + 1
points spaced evenly along its arc; nj panels around. Parameters outside their ranges raise
tarvenol.Error naming the parameter.

  nose     r = d/2 (1 - ((x - a)/a)^2)^(1/n)                          0 <= x <= a
  midbody  r = d/2                                                    a <= x <= a + b
  tail     r = d/2 - (3d/(2c^2) - tan(theta)/c) u^2
                   + (d/c^3 - tan(theta)/c^2) u^3,  u = x - a - b     0 <= u <= c)");
  m.def(
      "spheroid",
      [](double a, double b, double ni, double nj) {
        return Built([&] { return SpheroidBody({a, b}, ni, nj); });
      },
      py::arg("a"), py::arg("b"), py::kw_only(), py::arg("ni") = 100, py::arg("nj") = 16,
      R"(The spheroid x^2/a^2 + r^2/b^2 = 1 with semi-axis a along the axis and b across it,
its nose at x = 0: ni + 1 profile points evenly spaced in the angle t of x = a (1 + cos t),
r = b sin t, as the sphere's are (the profile, panels and solution of spheroid(0.5, 0.5,
ni=16, nj=16) are sphere(16, 16)'s to the bit; its figures' second solution halves only NJ, as
for any profile, where the sphere's halves NI too); nj panels around.)");
}

}  // namespace tarvenol
