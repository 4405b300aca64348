#include <pybind11/stl.h>

#include <cmath>

#include "core/program_error.h"
#include "python/bindings.h"
#include "python/numpy_views.h"
#include "python/python_body.h"
#include "python/python_progress.h"
#include "study/flow_study.h"
#include "study/study_drag.h"

namespace tarvenol {
namespace {

using SolutionHandle = std::shared_ptr<PythonSolution>;

constexpr const char* kSolutionDoc = R"(The flow around a body by Hess's source panel method.

Made by solve(). It carries the axial stream (1, 0, 0) of the report, the transverse stream
(0, 1, 0) and a unit pitch turn about the centre of volume: the stream (cos a, sin a, 0) at any
angle of attack a is their sum, with no new solve, so a is an argument of the results.
Velocities are in units of the stream's speed U; pressures are Cp = 1 - (V/U)^2. Arrays of
panels have the shape (NI, NJ), row i along the profile from the nose, column j around; the
attributes are read-only numpy views of the solution's own memory, kept alive by them.)";

// The surface at the angle of attack, as tarvenol-batch's csv writes it.
py::dict Surface(const PythonSolution& s, double alpha) {
  const StudyBody& study = s.body->Study();
  const std::vector<PanelResult> panels = StudyPanels(study, s.solved, alpha);
  const auto ni = static_cast<py::ssize_t>(LoopEnd(study.state.NI));
  const auto nj = static_cast<py::ssize_t>(LoopEnd(study.state.NJ));
  py::array_t<double> sources({ni, nj}), oneMinusCp({ni, nj}), cp({ni, nj});
  py::array_t<double> velocities({ni, nj, py::ssize_t{3}});
  double* q = sources.mutable_data();
  double* v = velocities.mutable_data();
  double* o = oneMinusCp.mutable_data();
  double* c = cp.mutable_data();
  for (std::size_t k = 0; k < panels.size(); ++k) {
    q[k] = panels[k].sigma;
    v[3 * k] = panels[k].Vx;
    v[3 * k + 1] = panels[k].Vy;
    v[3 * k + 2] = panels[k].Vz;
    o[k] = panels[k].oneMinusCp;
    c[k] = panels[k].Cp;
  }
  py::dict out;
  out["alpha"] = alpha;
  out["sources"] = sources;
  out["velocities"] = velocities;
  out["one_minus_cp"] = oneMinusCp;
  out["cp"] = cp;
  return out;
}

py::array Probe(const PythonSolution& s, py::handle points, double alpha,
                const std::string& inside) {
  if (inside != "raise" && inside != "nan") {
    throw ProgramError("inside must be \"raise\" or \"nan\"; \"" + inside + "\" is neither.");
  }
  RequireAngleOfAttack(alpha);
  const std::vector<Vector3> at = FinitePoints(points, "points");
  const ProbedFlow probed =
      Released([&](Progress&) { return ProbeStudy(s.body->Study(), s.solved, at, alpha); });
  if (probed.masked > 0 && inside == "raise") throw ProgramError(probed.maskedMessage);
  py::array_t<double> velocities({static_cast<py::ssize_t>(at.size()), py::ssize_t{3}});
  double* v = velocities.mutable_data();
  for (std::size_t k = 0; k < at.size(); ++k) {
    for (std::size_t c = 0; c < 3; ++c) {
      v[3 * k + c] = probed.flows[k] ? probed.flows[k]->V[c] : std::nan("");
    }
  }
  return velocities;
}

// The transition a Python value names: "free", "laminar" or the x/L of a trip.
TransitionSetting TransitionOf(py::handle transition) {
  const bool text = py::isinstance<py::str>(transition);
  const bool number =
      !text && !py::isinstance<py::bool_>(transition) &&
      (py::isinstance<py::float_>(transition) || py::isinstance<py::int_>(transition));
  std::optional<TransitionSetting> named;
  if (text) named = TransitionNamed(transition.cast<std::string>());
  if (number) named = TransitionSetting{TransitionKind::Trip, transition.cast<double>()};
  if (!named) {
    throw ProgramError("transition must be \"free\", \"laminar\" or the x/L of a trip; " +
                       py::repr(transition).cast<std::string>() + " is none of them.");
  }
  return *named;
}

py::dict FiguresOf(const PythonSolution& s, double alpha, std::optional<double> mach,
                   std::optional<double> reynolds, py::handle transition) {
  const TransitionSetting trip = TransitionOf(transition);
  if (!reynolds && trip.kind != TransitionKind::Free) {
    throw ProgramError("transition needs a Reynolds number: give reynolds too.");
  }
  std::optional<StudyDragResult> drag;
  py::dict figures = AsDict(Released([&](Progress& progress) {
    Figures lines = StudyFigures(s.body->Study(), s.solved, alpha, mach, progress);
    if (reynolds) drag = StudyDrag(s.body->Study(), s.solved, *reynolds, trip, mach, progress);
    return lines;
  }));
  if (drag) {
    Warn(drag->warnings);
    for (const auto& [name, value] : drag->lines) {
      figures[py::str(name)] = value ? py::object(py::float_(*value)) : py::object(py::none());
    }
  }
  return figures;
}

using SolutionClass = py::class_<PythonSolution, SolutionHandle>;

// The solution's arrays, views that the solution owns.
void BindArrays(SolutionClass& solution) {
  solution
      .def_property_readonly(
          "body", [](const PythonSolution& s) { return s.body; }, "The body solved.")
      .def_property_readonly(
          "symmetric", [](const PythonSolution& s) { return s.solved.symmetric; },
          "Solved by the body's rotational symmetry (True) or with the full matrices.")
      .def_property_readonly(
          "one_minus_cp",
          [](py::object self) {
            return View(self.cast<PythonSolution&>().solved.solution.OneMinusCp, self);
          },
          "1 - Cp = (V/U)^2 at the control points in the axial stream, (NI, NJ): the report's.")
      .def_property_readonly(
          "sources",
          [](py::object self) {
            return View(self.cast<PythonSolution&>().solved.solution.flows[kAxialStream].Sigma,
                        self);
          },
          "Source strength of each panel in the axial stream, (NI, NJ) (units of U).")
      .def_property_readonly(
          "control_points",
          [](py::object self) {
            return View(self.cast<PythonSolution&>().body->ControlPoints(), self, {3});
          },
          "The body's control points, (NI, NJ, 3) (length).");
}

// What the solution gives at an angle of attack.
void BindResults(SolutionClass& solution) {
  solution
      .def("surface", &Surface, py::arg("alpha") = 0.0,
           R"(The panels at the angle of attack alpha (degrees, -90 to 90), as new arrays:
sources (NI, NJ), velocities (NI, NJ, 3) along the body's axes (units of U), one_minus_cp and
cp (NI, NJ); the numbers of tarvenol-batch's csv at that alpha.)")
      .def("figures", &FiguresOf, py::arg("alpha") = 0.0, py::kw_only(),
           py::arg("mach") = py::none(), py::arg("reynolds") = py::none(),
           py::arg("transition") = "free",
           R"(The body's figures as a dict, under the names tarvenol-batch's body-figures prints:
volume, wetted_area, centre_x, the added-mass coefficients k1, k2, kprime as this solution gives
them, extrapolated and from the second solution with half the panels around (and, for the
sphere, along) that this call makes, its panel counts, displaced_inertia_z and, for a
spheroid, Lamb's coefficients; then Cp_min, the least Cp over the panels at the angle of
attack alpha (degrees), and x_Cp_min, the x of that panel's control point.
mach (0 <= M < 1): Cp_min and x_Cp_min by Göthert's rule at that Mach number of the stream, and
M_critical, the critical Mach number (None where there is none below 1), which takes several
solves of the affine body; None: incompressible, and no M_critical.
reynolds (U L / nu on the body's length): the names of drag-figures too, the boundary layer on
the axial stream (Re_L, CD_wetted, CD_volume, CD_frontal, CF_ITTC57, form_factor,
x_transition and x_separation, None where there is none, CD_friction_wetted), with the
transition "free" (Michel's criterion), "laminar" or the x/L of a trip (a number).
Takes a second solve: Ctrl-C stops it.)")
      .def(
          "forces",
          [](const PythonSolution& s, double alpha) {
            return AsDict(StudyForces(s.body->Study(), s.solved, alpha));
          },
          py::arg("alpha") = 0.0,
          R"(The pressure's force and moment at the angle of attack alpha (degrees) about the
centre of volume, as a dict under the column names of tarvenol-batch's forces table: Fx, Fy,
Fz in units of 1/2 rho U^2 (an area), Mx, My, Mz in 1/2 rho U^2 times a volume, CFx, CFy, CFz on
V^(2/3), CM_pitch (nose-up) on V, CM_pitch_munk for a spheroid, reference_x and volume.)")
      .def("probe", &Probe, py::arg("points"), py::arg("alpha") = 0.0, py::arg("inside") = "raise",
           R"(The velocity (units of U) at each of the points, an (N, 3) array of finite real
numbers, in the stream at the angle of attack alpha (degrees): an (N, 3) array, the numbers of
tarvenol-batch's probe-csv. A point inside the body, or nearer its surface than 0.1 % of its
size, has no velocity: inside="raise" (the default) raises tarvenol.Error naming how many and
the first; inside="nan" gives NaN rows there.)")
      .def("__repr__", [](const PythonSolution& s) {
        const ModelState& st = s.body->Study().state;
        return "<tarvenol.Solution " + std::to_string(LoopEnd(st.NI)) + " x " +
               std::to_string(LoopEnd(st.NJ)) + " panels, " +
               (s.solved.symmetric ? "by symmetry" : "full") + ">";
      });
}

}  // namespace

void BindSolution(py::module_& m) {
  SolutionClass solutionClass(m, "Solution", kSolutionDoc);
  BindArrays(solutionClass);
  BindResults(solutionClass);
  m.def(
      "solve",
      [](const std::shared_ptr<PythonBody>& body, bool symmetric) {
        auto solution = std::make_shared<PythonSolution>();
        solution->body = body;
        solution->solved = Released(
            [&](Progress& progress) { return SolveStudy(body->Study(), symmetric, progress); });
        Warn(solution->solved.warnings);
        return solution;
      },
      py::arg("body"), py::kw_only(), py::arg("symmetric") = true,
      R"(Solves the flow around body by Hess's source panel method. By default by the body's
rotational symmetry, which forms no matrix (tarvenol-batch's solve-symmetric); symmetric=False
builds and eliminates the full influence matrices (its solve), within 1e-10 of it and far
slower. A size that cannot fit in memory raises tarvenol.Error before anything is allocated.
The lock is released while it runs; Ctrl-C stops it at its next coarse step.)");
}

}  // namespace tarvenol
