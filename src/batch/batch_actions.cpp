#include "batch/batch_actions.h"

#include <algorithm>

#include "batch/batch_session.h"
#include "batch/standard_output.h"
#include "batch/sweep_action.h"
#include "boundary_layer/drag_table.h"
#include "results/body_report.h"
#include "session/chart_commands.h"
#include "session/commands.h"
#include "session/drag_commands.h"
#include "session/incidence_commands.h"
#include "session/mach_commands.h"
#include "session/results_commands.h"
#include "session/saved_files.h"
#include "session/solve_estimate.h"

namespace tarvenol {
namespace {

using Draws = BatchActionRow::Charts;
using S = BatchSession;
using V = ActionValues;

// The boundary layer as a table, or as the chart of cf, theta and H for a picture's name.
void SaveDrag(S& s, const std::string& path) {
  const std::optional<DragResult> drag = ComputeDrag(s.program, s.win, s.progress);
  if (!drag) return;
  if (PictureFormatOf(path)) {
    SaveDragPlot(s.program, s.win, s.charts, *drag, path);
  } else {
    ExportDragCsv(s.program, s.win, *drag, path);
  }
}

void Solve(S& s, const char* name, SolveKind kind) {
  if (s.timings) {
    const SolveEstimate estimate = EstimateSolve(s.program.state);
    Say(std::string(name) + ": " +
        (kind == SolveKind::Full ? estimate.text : estimate.symmetricText));
  }
  s.Run(name, PlanSolve(s.program, s.win, kind));
}

constexpr BatchActionRow kActions[] = {
    {"ni", 1, "a value", 0, 0, -1, Draws::Never,
     "  ni TEXT       type TEXT into the NI box (\"4\" at start)\n",
     [](S& s, const V& v) { s.win.SetText(TextBox::Text_NI, v[0]); }},
    {"nj", 1, "a value", 0, 0, -1, Draws::Never,
     "  nj TEXT       type TEXT into the NJ box (\"4\" at start)\n",
     [](S& s, const V& v) { s.win.SetText(TextBox::Text_NJ, v[0]); }},
    {"sphere", 0, "", 0, 0, -1, Draws::Never, "  sphere        prepare the sphere test case\n",
     [](S& s, const V&) {
       ShowSphereCommand(s.program, s.win);
       s.Run("sphere", PlanPrepareSphere(s.program, s.win));
     }},
    {"body", 1, "a path", 1, 0, -1, Draws::Never, "  body PATH     prepare the body file at PATH\n",
     [](S& s, const V& v) { s.PrepareBody(v[0]); }},
    {"solve", 0, "", 0, 0, -1, Draws::Never,
     "  solve         apply Hess's panel method, its report with the influence matrices\n",
     [](S& s, const V&) { Solve(s, "solve", SolveKind::Full); }},
    {"solve-symmetric", 0, "", 0, 0, -1, Draws::Never,
     "  solve-symmetric\n"
     "                apply it by the body's rotational symmetry, without forming the\n"
     "                matrices: the same results, for bodies of any fineness; the report\n"
     "                then leaves out the three influence matrices\n",
     [](S& s, const V&) { Solve(s, "solve-symmetric", SolveKind::Symmetric); }},
    {"angles", 3, "three values", 0, 0, -1, Draws::Never,
     "  angles X Y Z  type X, Y and Z into the view's angle boxes, in degrees (\"0\" at start)\n",
     [](S& s, const V& v) {
       s.win.SetText(TextBox::Text_AlfaX, v[0]);
       s.win.SetText(TextBox::Text_AlfaY, v[1]);
       s.win.SetText(TextBox::Text_AlfaZ, v[2]);
     }},
    {"scale", 1, "a value", 0, 0, -1, Draws::Never,
     "  scale S       type S into the view's scale box (\"1\" at start)\n",
     [](S& s, const V& v) { s.win.SetText(TextBox::Text_Ölçek, v[0]); }},
    {"png", 1, "a path", 1, 0, 0, Draws::Never,
     "  png PATH      draw the view again and save the 400 x 400 picture as PNG at PATH\n",
     [](S& s, const V& v) { s.SavePicture(v[0]); }},
    {"plot", 1, "a path", 1, 0, 0, Draws::Always,
     "  plot PATH     save the plot of the pressure along the body of the solution, as SVG\n"
     "                for a PATH ending in .svg, as PNG otherwise\n",
     [](S& s, const V& v) { s.SavePlot(v[0]); }},
    {"vtk", 1, "a path", 1, 0, 0, Draws::Never,
     "  vtk PATH      save the panels of the solution as VTK XML PolyData (.vtp), with the\n"
     "                source strength, velocity, 1 - Cp, Cp, area, i and j of each\n",
     [](S& s, const V& v) { ExportVtk(s.program, s.win, v[0]); }},
    {"csv", 1, "a path", 1, 0, 0, Draws::Never,
     "  csv PATH      save the same, and the control points, as a CSV table, a row a panel\n",
     [](S& s, const V& v) { ExportCsv(s.program, s.win, v[0]); }},
    {"alpha", 1, "a value", 0, 0, -1, Draws::Never,
     "  alpha DEG     the angle of attack, in degrees from -90 to 90, of the stream that later\n"
     "                plot, csv, vtk and forces show (0 at start); the solve is not repeated\n",
     [](S& s, const V& v) { SetAngleOfAttack(s.program, s.win, v[0]); }},
    {"mach", 1, "a value", 0, 0, -1, Draws::Never,
     "  mach M [karman-tsien]\n"
     "                the Mach number of the stream, at least 0 and below 1, that later plot,\n"
     "                csv, vtk, forces and body-figures show (0 at start, incompressible):\n"
     "                the pressure by Goethert's rule, with Karman-Tsien's correction when\n"
     "                the word follows; above the critical Mach number a warning says so\n",
     [](S& s, const V& v) {
       SetMach(s.program, s.win, v[0], v.size() > 1 ? std::optional(v[1]) : std::nullopt);
     },
     true},
    {"forces", 1, "a path", 1, 3, 0, Draws::ForPictureName,
     "  forces PATH [FROM TO STEP]\n"
     "                save the force and moment of the pressure, in units of 1/2 rho U^2, and\n"
     "                their coefficients on the volume, as a CSV table over the angles of\n"
     "                attack FROM to TO by STEP degrees (0 to 90 by 5 when not given)\n",
     [](S& s, const V& v) { s.SaveForces(v); }},
    {"body-figures", 0, "", 0, 0, -1, Draws::Never,
     "  body-figures  print the body's volume, wetted area, centre of volume and added-mass\n"
     "                coefficients k1, k2 and k' (with their estimates extrapolated from a\n"
     "                second solution at half the panels around), then the lowest Cp, its x\n"
     "                and the critical Mach number (nan where there is none below 1), at the\n"
     "                angle of attack and Mach number set; one name and value a line\n",
     [](S& s, const V&) {
       s.Run("body-figures", PlanBodyFigures(s.program, s.win));
       if (!s.program.state.ShowSolution || !s.program.results.bodyReport) return;
       const auto mach = MachFigures(s.program, s.win, s.progress);
       if (!mach) return;
       std::vector<std::pair<std::string, double>> figures =
           BodyReportLines(*s.program.results.bodyReport);
       figures.insert(figures.end(), mach->begin(), mach->end());
       s.PrintFigures(figures);
     }},
    {"field", 1, "a path", 1, 0, 0, Draws::Always,
     "  field PATH    save the picture of the flow around the body in the plane of the stream:\n"
     "                Cp, streamlines and the body's section, as SVG for a PATH ending in .svg,\n"
     "                as PNG otherwise\n",
     [](S& s, const V& v) { s.fields.SavePicture(v[0]); }},
    {"field-vtk", 1, "a path", 1, 0, 0, Draws::Never,
     "  field-vtk PATH  save that field as a VTK structured grid (.vts) or image data (.vti),\n"
     "                with the velocity, speed and Cp, and the points inside the body masked\n",
     [](S& s, const V& v) { s.fields.SaveVtk(v[0]); }},
    {"probe", 3, "three values", 0, 0, -1, Draws::Never,
     "  probe X Y Z   print the velocity and Cp at the point (X, Y, Z) to standard output\n",
     [](S& s, const V& v) { s.fields.Probe(v[0], v[1], v[2]); }},
    {"probe-csv", 2, "two paths", 2, 0, 1, Draws::Never,
     "  probe-csv IN OUT  the same for each point x,y,z of the CSV table IN, into the table OUT\n",
     [](S& s, const V& v) { s.fields.ProbeTable(v[0], v[1], s.progress); }},
    {"resample", 0, "", 0, 0, -1, Draws::Never,
     "  resample      make the profile of the geometry shown a smooth curve through its points\n"
     "                and prepare it again with the NI typed, its panels crowded towards the\n"
     "                nose and the tail; corners stay corners\n",
     [](S& s, const V&) { s.Run("resample", PlanResampleProfile(s.program, s.win)); }},
    {"reynolds", 1, "a value", 0, 0, -1, Draws::Never,
     "  reynolds RE   the Reynolds number on the body's length of the drag (1e7 at start)\n",
     [](S& s, const V& v) { SetReynolds(s.program, s.win, v[0]); }},
    {"transition", 1, "a value", 0, 0, -1, Draws::Never,
     "  transition T  where the boundary layer turns turbulent: free (by Michel's criterion,\n"
     "                at start), laminar (never), or a number from 0 to 1, the x/L of a trip\n",
     [](S& s, const V& v) { SetTransition(s.program, s.win, v[0]); }},
    {"drag", 1, "a path", 1, 0, 0, Draws::ForPictureName,
     "  drag PATH     save the boundary layer of the axial stream along the body as a CSV table\n"
     "                (x_over_L, s, Ue, theta, delta_star, H, cf, Re_theta, regime), or cf,\n"
     "                theta and H against x/L as a picture for a PATH ending in .png or .svg\n",
     [](S& s, const V& v) { SaveDrag(s, v[0]); }},
    {"drag-figures", 0, "", 0, 0, -1, Draws::Never,
     "  drag-figures  print the drag's figures, one name and value a line: Re_L, CD_wetted,\n"
     "                CD_volume, CD_frontal, CF_ITTC57, form_factor, x_transition,\n"
     "                x_separation (none when attached), CD_friction_wetted\n",
     [](S& s, const V&) {
       if (const std::optional<DragResult> drag = ComputeDrag(s.program, s.win, s.progress)) {
         PrintResult(s.win, DragFigureLines(drag->layer));
       }
     }},
    {"sweep", 2, "two paths", 2, 0, 1, Draws::Never,
     "  sweep IN OUT  build, solve by the body's symmetry and measure each design of the CSV\n"
     "                table IN (columns family, a, b, c, d, n, theta, path, ni, nj, alpha,\n"
     "                mach, reynolds, transition) into the table OUT: each row's columns, then\n"
     "                body-figures' and drag-figures' figures, warnings and error; the rows\n"
     "                already in OUT for the same designs are not solved again\n",
     [](S& s, const V& v) { RunSweep(s, v[0], v[1]); }},
};

}  // namespace

std::span<const BatchActionRow> BatchActions() {
  return kActions;
}

const BatchActionRow* BatchActionNamed(const std::string& name) {
  const auto row = std::find_if(std::begin(kActions), std::end(kActions),
                                [&](const BatchActionRow& r) { return name == r.name; });
  return row == std::end(kActions) ? nullptr : row;
}

bool DrawsCharts(const BatchActionRow& row, const ActionValues& values) {
  switch (row.charts) {
    case Draws::Never:
      return false;
    case Draws::Always:
      return true;
    case Draws::ForPictureName:
      return PictureFormatOf(values[static_cast<std::size_t>(row.writes)]).has_value();
  }
  return false;
}

std::string BatchUsage() {
  std::string usage =
      "Usage: tarvenol-batch [OPTION]... [ACTION]...\n"
      "Runs the program's operations in the order given, without windows. The report\n"
      "Tarvenol.txt in the working directory is emptied first, then holds what the\n"
      "program's report would hold after the same actions.\n"
      "\n"
      "Actions:\n";
  for (const BatchActionRow& row : kActions) usage += row.help;
  return usage +
         "\n"
         "Options:\n"
         "  --timings     print the wall time of each stage of each action to standard error\n"
         "  -h, --help    print this help and do nothing else\n"
         "  --version     print the program's version and do nothing else\n"
         "\n"
         "A message the program would show goes to standard error. The exit status is 0 when\n"
         "no message was shown, 1 when one was, 2 for a command line it cannot follow; then\n"
         "nothing is done and the report is not touched.\n"
         "\n"
         "SIGINT, SIGTERM or SIGHUP stops the run as the window's Cancel does: the action under\n"
         "way is undone (a file being written is finished first), no later one is done, and the\n"
         "exit status is 128 + the signal's number. A second signal ends the run at once.\n";
}

}  // namespace tarvenol
