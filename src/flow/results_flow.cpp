#include "flow/results_flow.h"

#include <filesystem>

#include "core/shown_text.h"
#include "flow/guarded.h"
#include "flow/saved_files.h"
#include "results/exports.h"

namespace tarvenol {
namespace {

std::vector<PanelResult> Panels(const Program& p) {
  return PanelResults(p.state, p.solution.Sigma, p.solution.Ut, p.solution.Vt);
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

std::optional<PressureAlongBody> CurrentPressure(const Program& p) {
  if (!p.state.ShowSolution) return std::nullopt;
  const std::string body =
      p.body.kind == BodyKind::Sphere
          ? "the sphere"
          : ShownPath(std::filesystem::path(p.state.BodyFile).filename().string());
  return PressureOf(body, LoopEnd(p.state.NI), LoopEnd(p.state.NJ), Panels(p), p.body.xI, p.body.rI,
                    LoopEnd(p.state.NI1));
}

void ExportCsv(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] {
    WriteWholeFile(
        path, "table", [&](FileSink& out) { WriteCsv(out, Panels(p)); }, HeldFiles(p));
  });
}

void ExportVtk(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] {
    WriteWholeFile(
        path, "VTK file", [&](FileSink& out) { WriteVtp(out, p.state, Panels(p)); }, HeldFiles(p));
  });
}

}  // namespace tarvenol
