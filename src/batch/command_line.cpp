#include "batch/command_line.h"

#include <strings.h>

#include <algorithm>
#include <string_view>

#include "core/shown_text.h"
#include "core/text_number.h"

namespace tarvenol {

const char* const kBatchUsage =
    "Usage: tarvenol-batch [OPTION]... [ACTION]...\n"
    "Runs the program's operations in the order given, without windows. The report\n"
    "Tarvenol.txt in the working directory is emptied first, then holds what the\n"
    "program's report would hold after the same actions.\n"
    "\n"
    "Actions:\n"
    "  ni TEXT       type TEXT into the NI box (\"4\" at start)\n"
    "  nj TEXT       type TEXT into the NJ box (\"4\" at start)\n"
    "  sphere        prepare the sphere test case\n"
    "  body PATH     prepare the body file at PATH\n"
    "  solve         apply Hess's panel method, its report with the influence matrices\n"
    "  solve-symmetric\n"
    "                apply it by the body's rotational symmetry, without forming the\n"
    "                matrices: the same results, for bodies of any fineness; the report\n"
    "                then leaves out the three influence matrices\n"
    "  angles X Y Z  type X, Y and Z into the view's angle boxes, in degrees (\"0\" at start)\n"
    "  scale S       type S into the view's scale box (\"1\" at start)\n"
    "  png PATH      draw the view again and save the 400 x 400 picture as PNG at PATH\n"
    "  plot PATH     save the plot of the pressure along the body of the solution, as SVG\n"
    "                for a PATH ending in .svg, as PNG otherwise\n"
    "  vtk PATH      save the panels of the solution as VTK XML PolyData (.vtp), with the\n"
    "                source strength, velocity, 1 - Cp, Cp, area, i and j of each\n"
    "  csv PATH      save the same, and the control points, as a CSV table, a row a panel\n"
    "  alpha DEG     the angle of attack, in degrees from -90 to 90, of the stream that later\n"
    "                plot, csv, vtk and forces show (0 at start); the solve is not repeated\n"
    "  mach M [karman-tsien]\n"
    "                the Mach number of the stream, at least 0 and below 1, that later plot,\n"
    "                csv, vtk, forces and body-figures show (0 at start, incompressible):\n"
    "                the pressure by Goethert's rule, with Karman-Tsien's correction when\n"
    "                the word follows; above the critical Mach number a warning says so\n"
    "  forces PATH [FROM TO STEP]\n"
    "                save the force and moment of the pressure, in units of 1/2 rho U^2, and\n"
    "                their coefficients on the volume, as a CSV table over the angles of\n"
    "                attack FROM to TO by STEP degrees (0 to 90 by 5 when not given)\n"
    "  body-figures  print the body's volume, wetted area, centre of volume and added-mass\n"
    "                coefficients k1, k2 and k' (with their estimates extrapolated from a\n"
    "                second solution at half the panels around), then the lowest Cp, its x\n"
    "                and the critical Mach number (nan where there is none below 1), at the\n"
    "                angle of attack and Mach number set; one name and value a line\n"
    "  field PATH    save the picture of the flow around the body in the plane of the stream:\n"
    "                Cp, streamlines and the body's section, as SVG for a PATH ending in .svg,\n"
    "                as PNG otherwise\n"
    "  field-vtk PATH  save that field as a VTK structured grid (.vts) or image data (.vti),\n"
    "                with the velocity, speed and Cp, and the points inside the body masked\n"
    "  probe X Y Z   print the velocity and Cp at the point (X, Y, Z) to standard output\n"
    "  probe-csv IN OUT  the same for each point x,y,z of the CSV table IN, into the table OUT\n"
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

namespace {

struct ActionName {
  const char* name;
  const char* what;  // of the values, for a message
  std::size_t values;
  BatchAction::Kind kind;
  bool pathValue;
  // Values that may follow the others, all of them or none: taken when the first is a number.
  std::size_t optionalNumbers = 0;
  // A word that may follow the others: taken when the next argument is neither an action nor
  // an option, and then judged by the action, not here.
  bool optionalWord = false;
};

constexpr ActionName kActions[] = {
    {"ni", "a value", 1, BatchAction::Ni, false},
    {"nj", "a value", 1, BatchAction::Nj, false},
    {"sphere", "", 0, BatchAction::Sphere, false},
    {"body", "a path", 1, BatchAction::Body, true},
    {"solve", "", 0, BatchAction::Solve, false},
    {"solve-symmetric", "", 0, BatchAction::SolveSymmetric, false},
    {"angles", "three values", 3, BatchAction::Angles, false},
    {"scale", "a value", 1, BatchAction::Scale, false},
    {"png", "a path", 1, BatchAction::Png, true},
    {"plot", "a path", 1, BatchAction::Plot, true},
    {"vtk", "a path", 1, BatchAction::Vtk, true},
    {"csv", "a path", 1, BatchAction::Csv, true},
    {"alpha", "a value", 1, BatchAction::Alpha, false},
    {"mach", "a value", 1, BatchAction::Mach, false, 0, true},
    {"forces", "a path", 1, BatchAction::Forces, true, 3},
    {"body-figures", "", 0, BatchAction::BodyFigures, false},
    {"field", "a path", 1, BatchAction::Field, true},
    {"field-vtk", "a path", 1, BatchAction::FieldVtk, true},
    {"probe", "three values", 3, BatchAction::Probe, false},
    {"probe-csv", "two paths", 2, BatchAction::ProbeCsv, true},
};

// A value that reads as a number, or as infinity or NaN would: "-1e3", "-inf", "NaN".
bool LooksLikeANumber(std::string_view text) {
  if (ReadNumberPrefix(text)) return true;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  const auto starts = [&](const char* word) {
    return text.size() >= 3 && strncasecmp(text.data(), word, 3) == 0;
  };
  return starts("inf") || starts("nan");
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (std::size_t a = 0; a < args.size() && line.error.empty(); ++a) {
    const std::string& arg = args[a];
    if (arg == "-h" || arg == "--help") {
      line.help = true;
      continue;
    }
    if (arg == "--version") {
      line.version = true;
      continue;
    }
    if (arg == "--timings") {
      line.timings = true;
      continue;
    }
    const ActionName* action = nullptr;
    for (const ActionName& known : kActions) {
      if (arg == known.name) action = &known;
    }
    if (action == nullptr) {
      line.error = LooksLikeANumber(arg)    ? "a value, " + Shown(arg) + ", where an action belongs"
                   : arg.rfind('-', 0) == 0 ? "unknown option " + Shown(arg)
                                            : "unknown action " + Shown(arg);
      break;
    }
    if (args.size() - a - 1 < action->values) {
      line.error = "'" + arg + "' needs " + action->what;
      break;
    }
    BatchAction taken{action->kind,
                      {args.begin() + static_cast<std::ptrdiff_t>(a) + 1,
                       args.begin() + static_cast<std::ptrdiff_t>(a + 1 + action->values)}};
    a += action->values;
    if (action->optionalNumbers > 0 && a + 1 < args.size() && LooksLikeANumber(args[a + 1])) {
      if (args.size() - a - 1 < action->optionalNumbers) {
        line.error = "'" + arg + "' takes " + std::to_string(action->optionalNumbers) +
                     " numbers after its path, or none";
        break;
      }
      taken.values.insert(
          taken.values.end(), args.begin() + static_cast<std::ptrdiff_t>(a) + 1,
          args.begin() + static_cast<std::ptrdiff_t>(a + 1 + action->optionalNumbers));
      a += action->optionalNumbers;
    }
    if (action->optionalWord && a + 1 < args.size() && args[a + 1].rfind('-', 0) != 0 &&
        std::none_of(std::begin(kActions), std::end(kActions),
                     [&](const ActionName& known) { return args[a + 1] == known.name; })) {
      taken.values.push_back(args[++a]);
    }
    if (action->pathValue && std::any_of(taken.values.begin(), taken.values.end(),
                                         [](const std::string& v) { return v.empty(); })) {
      line.error = "'" + arg + "' needs a path, not an empty text";
    }
    line.actions.push_back(std::move(taken));
  }
  return line;
}

}  // namespace tarvenol
