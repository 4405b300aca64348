#include "flow/results_flow.h"

#include <filesystem>

#include <cmath>

#include "core/shown_text.h"
#include "core/text_number.h"
#include "flow/guarded.h"
#include "flow/saved_files.h"
#include "results/exports.h"
#include "results/incidence.h"

namespace tarvenol {
namespace {

std::vector<PanelResult> Panels(const Program& p) {
  return PanelResults(p.state, SolutionAtIncidence(p.solution, IncidenceOf(p.alphaDegrees)));
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
  return PressureOf(BodyName(p), LoopEnd(p.state.NI), LoopEnd(p.state.NJ), Panels(p), p.body.xI,
                    p.body.rI, LoopEnd(p.state.NI1), IncidenceOf(p.alphaDegrees));
}

void ExportCsv(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] {
    WriteWholeFile(
        path, "table", [&](FileSink& out) { WriteCsv(out, Panels(p), p.alphaDegrees); },
        HeldFiles(p));
  });
}

void ExportVtk(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] {
    WriteWholeFile(
        path, "VTK file", [&](FileSink& out) { WriteVtp(out, p.state, Panels(p), p.alphaDegrees); },
        HeldFiles(p));
  });
}

}  // namespace tarvenol
