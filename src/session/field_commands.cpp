#include "session/field_commands.h"

#include "core/program_error.h"
#include "core/shown_text.h"
#include "field/field_exports.h"
#include "field/points_table.h"
#include "session/guarded.h"
#include "session/results_commands.h"
#include "session/saved_files.h"
#include "solver/incidence.h"

namespace tarvenol {
namespace {

constexpr const char* kNoSolution =
    "There is no solution yet: apply Hess's panel method to a geometry first.";

class FieldOperation : public Operation {
 public:
  FieldOperation(const Program& p, std::optional<FlowField>& into, int nx, int ny)
      : state_(p.state), body_(p.body), into_(into), nx_(nx), ny_(ny) {
    solution_.onsets = {p.solution.onsets[kAxialStream], p.solution.onsets[kTransverseStream]};
    solution_.flows = {p.solution.flows[kAxialStream], p.solution.flows[kTransverseStream]};
    field_.body = BodyName(p);
    field_.NI = LoopEnd(p.state.NI);
    field_.NJ = LoopEnd(p.state.NJ);
    field_.solution = SolutionKey(p);
  }

 private:
  void Compute(Progress& progress) override {
    Step(progress, Stage::FlowField, 0);
    // The expansions' share of the work grows with the panels, the field's with its points:
    // about alike at 12,000 panels for 40,000 points (measured).
    const double panels = static_cast<double>(LoopEnd(state_.NI)) * LoopEnd(state_.NJ);
    const double share = panels / (panels + 0.3 * nx_ * ny_);
    PartProgress expansions(progress, 0, share), field(progress, share, 1);
    const BodyFlow flow(state_, body_, solution_, kFarFieldTolerance, &expansions);
    field_.grid = ComputeFieldGrid(flow, GridAroundBody(flow.Shape(), nx_, ny_), field);
  }

  void Take(Program&, WindowOps&) override { into_ = std::move(field_); }

  const ModelState state_;
  const BodyWork body_;
  HessSolution solution_;
  std::optional<FlowField>& into_;
  int nx_, ny_;
  FlowField field_;
};

// The three typed coordinates, or a message naming the first that is not a number.
std::optional<Vector3> ReadPoint(WindowOps& win, const std::string (&texts)[3]) {
  Vector3 point{};
  for (std::size_t k = 0; k < 3; ++k) {
    const std::optional<double> v = ReadCoordinate(texts[k]);
    if (!v) {
      win.MessageBox(std::string("The point's ") + "xyz"[k] + " must be a number; " +
                     Shown(texts[k]) + " is not.");
      return std::nullopt;
    }
    point[k] = *v;
  }
  return point;
}

}  // namespace

std::uint64_t SolutionKey(const Program& p) {
  return p.state.ShowSolution ? p.solutionCount : 0;
}

std::unique_ptr<Operation> PlanFlowField(const Program& p, WindowOps& win,
                                         std::optional<FlowField>& into, int nx, int ny) {
  if (SolutionKey(p) == 0) {
    win.MessageBox(kNoSolution);
    return nullptr;
  }
  return std::make_unique<FieldOperation>(p, into, nx, ny);
}

FlowPicture FlowPictureAt(const FlowField& field, double alphaDegrees) {
  return PictureOf(field.grid, IncidenceOf(alphaDegrees), field.body, field.NI, field.NJ);
}

void ExportFieldVtk(const Program& p, WindowOps& win, const FlowField& field,
                    const std::string& path) {
  Guarded(win, [&] {
    WriteFieldVtk(path, FieldAt(field.grid, IncidenceOf(p.alphaDegrees)), HeldFiles(p));
  });
}

std::optional<std::string> ProbeFlow(const Program& p, WindowOps& win, const std::string& x,
                                     const std::string& y, const std::string& z) {
  const std::optional<Vector3> point = ReadPoint(win, {x, y, z});
  if (!point) return std::nullopt;
  if (SolutionKey(p) == 0) {
    win.MessageBox(kNoSolution);
    return std::nullopt;
  }
  std::optional<std::string> lines;
  Guarded(win, [&] {
    // One point: the exact formula for every panel costs less than the expansions.
    const BodyFlow flow(p.state, p.body, p.solution, 0);
    StreamVelocities V;
    if (!flow.VelocityAt((*point)[0], (*point)[1], (*point)[2], V)) {
      throw ProgramError("The point (" + ShownNumber((*point)[0], 10) + ", " +
                         ShownNumber((*point)[1], 10) + ", " + ShownNumber((*point)[2], 10) +
                         ") lies inside the body, or on its surface (within " +
                         ShownNumber(flow.Shape().Clearance(), 10) +
                         "): the flow has no velocity there.");
    }
    const Incidence a = IncidenceOf(p.alphaDegrees);
    const FlowAtPoint at = FlowAtIncidence(V, a.cosA, a.sinA);
    lines = "x " + ShownNumber((*point)[0], 10) + "\ny " + ShownNumber((*point)[1], 10) + "\nz " +
            ShownNumber((*point)[2], 10) + "\nalpha " + ShownNumber(a.degrees, 10) + "\nVx " +
            ShownNumber(at.V[0], 10) + "\nVy " + ShownNumber(at.V[1], 10) + "\nVz " +
            ShownNumber(at.V[2], 10) + "\nspeed " + ShownNumber(at.speed, 10) + "\nCp " +
            ShownNumber(at.Cp, 10) + "\n";
  });
  return lines;
}

void ProbeFlowTable(const Program& p, WindowOps& win, const std::string& in, const std::string& out,
                    Progress& progress) {
  if (SolutionKey(p) == 0) {
    win.MessageBox(kNoSolution);
    return;
  }
  Guarded(win, [&] {
    const std::vector<Vector3> points = ReadProbePoints(in, progress);
    const BodyFlow flow(p.state, p.body, p.solution, kFarFieldTolerance, &progress);
    const std::vector<std::optional<FlowAtPoint>> flows =
        FlowAtPoints(flow, points, IncidenceOf(p.alphaDegrees), progress);
    WriteProbeTable(out, points, flows, HeldFiles(p, {{in, "the table of points it reads"}}),
                    progress);
    std::size_t masked = 0;
    std::string first;
    for (std::size_t k = 0; k < points.size(); ++k) {
      if (flows[k]) continue;
      if (masked++ == 0) first = std::to_string(k + 1);
    }
    if (masked > 0) {
      win.MessageBox(std::to_string(masked) + " of the " + std::to_string(points.size()) +
                     " points of " + ShownPath(in) + " lie inside the body or on its surface " +
                     "(the first is point " + first + "): their velocity and Cp in " +
                     ShownPath(out) + " are left empty.");
    }
  });
}

}  // namespace tarvenol
