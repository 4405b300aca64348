#include "flow/results_flow.h"

#include <filesystem>

#include "flow/guarded.h"
#include "results/exports.h"

namespace tarvenol {
namespace {

std::vector<PanelResult> Panels(const Program& p) {
  const FlowSolution& axial = p.solution.flows[kAxialStream];
  return PanelResults(p.state, axial.Sigma, axial.Ut, axial.Vt);
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
  const std::string body = p.body.kind == BodyKind::Sphere
                               ? "the sphere"
                               : std::filesystem::path(p.state.BodyFile).filename().string();
  return PressureOf(body, LoopEnd(p.state.NI), LoopEnd(p.state.NJ), Panels(p), p.body.xI, p.body.rI,
                    LoopEnd(p.state.NI1));
}

void ExportCsv(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] { WriteCsv(path, Panels(p)); });
}

void ExportVtk(const Program& p, WindowOps& win, const std::string& path) {
  Export(p, win, [&] { WriteVtp(path, p.state, Panels(p)); });
}

}  // namespace tarvenol
