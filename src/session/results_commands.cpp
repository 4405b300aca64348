#include "session/results_commands.h"

#include <filesystem>

#include <cmath>

#include "core/shown_text.h"
#include "core/text_number.h"
#include "results/exports.h"
#include "session/guarded.h"
#include "session/mach_commands.h"
#include "session/saved_files.h"
#include "solver/incidence.h"

namespace tarvenol {
namespace {

// At the results' angle and Mach number.
std::vector<PanelResult> Panels(const Program& p) {
  return PanelsShownAt(p, IncidenceOf(p.alphaDegrees));
}

// Exports under guard, once there is a solution.
template <typename Write>
void Export(const Program& p, WindowOps& win, Write&& write) {
  if (!p.state.ShowSolution) {
    win.MessageBox("There is no solution to export yet: apply Hess's panel method first.");
    return;
  }
  Guarded(win, write);
}

}  // namespace

bool SetAngleOfAttack(Program& p, WindowOps& win, const std::string& text) {
  const std::optional<double> degrees = WholeTextNumber(text);
  if (!degrees || !(std::fabs(*degrees) <= kMaxIncidenceDegrees)) {
    win.MessageBox("The angle of attack must be a number of degrees from -90 to 90; " +
                   Shown(text) + " is not.");
    return false;
  }
  // At a Mach number, where Kármán–Tsien's correction has a value at the angle.
  if (p.state.ShowSolution && !PressureShownAt(p, IncidenceOf(*degrees))) {
    win.MessageBox("Kármán–Tsien's correction has no value at the angle of attack " + Shown(text) +
                   " and this Mach number: the suction there is far past sonic. Lower the Mach "
                   "number, or take Göthert's rule alone.");
    return false;
  }
  p.alphaDegrees = *degrees;
  return true;
}

std::string BodyName(const Program& p) {
  return p.body.kind == BodyKind::Sphere
             ? "the sphere"
             : ShownPath(std::filesystem::path(p.state.BodyFile).filename().string());
}

std::optional<PressureAlongBody> CurrentPressure(const Program& p) {
  if (!p.state.ShowSolution) return std::nullopt;
  const Incidence a = IncidenceOf(p.alphaDegrees);
  const std::optional<PressureAtMach> atMach = PressureShownAt(p, a);
  if (!atMach) return std::nullopt;
  PressureAlongBody pressure = PressureOf(BodyName(p), LoopEnd(p.state.NI), LoopEnd(p.state.NJ),
                                          Panels(p), p.body.xI, p.body.rI, LoopEnd(p.state.NI1), a);
  if (p.mach.mach > 0) {
    TakeMach(pressure,
             MachAlongBodyOf(*atMach, PanelResults(p.state, SolutionAtIncidence(p.solution, a))));
  }
  return pressure;
}

void ExportCsv(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] {
    WriteWholeFile(
        path, "table",
        [&](FileSink& out) { WriteCsv(out, Panels(p), p.alphaDegrees, p.mach.mach); },
        HeldFiles(p));
  });
}

void ExportVtk(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] {
    WriteWholeFile(
        path, "VTK file",
        [&](FileSink& out) { WriteVtp(out, p.state, Panels(p), p.alphaDegrees, p.mach.mach); },
        HeldFiles(p));
  });
}

}  // namespace tarvenol
