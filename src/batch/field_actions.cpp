#include "batch/field_actions.h"

#include <utility>

#include "batch/standard_output.h"
#include "session/chart_commands.h"

namespace tarvenol {
namespace {

// The picture at the results' angle of attack: the streamlines traced as the long part, so that
// --timings tells them apart, then drawn and written.
class PictureOperation : public Operation {
 public:
  PictureOperation(const FlowField& field, double alphaDegrees, Charts& charts, std::string path)
      : field_(field), alphaDegrees_(alphaDegrees), charts_(charts), path_(std::move(path)) {}

 private:
  void Compute(Progress& progress) override {
    Step(progress, Stage::Streamlines, 0);
    picture_ = FlowPictureAt(field_, alphaDegrees_);
  }
  void Take(Program& p, WindowOps& win) override {
    SaveFlowPicture(p, win, charts_, picture_, FlowColour::Cp, path_);
  }

  const FlowField& field_;
  double alphaDegrees_;
  Charts& charts_;
  std::string path_;
  FlowPicture picture_;
};

}  // namespace

const FlowField* FieldActions::Field() {
  const std::uint64_t key = SolutionKey(p_);
  if (key != 0 && p_.results.field && p_.results.field->solution == key) return &*p_.results.field;
  p_.results.field.reset();
  run_("field", PlanFlowField(p_, win_, p_.results.field));
  return p_.results.field ? &*p_.results.field : nullptr;
}

void FieldActions::SavePicture(const std::string& path) {
  if (const FlowField* field = Field()) {
    run_("field picture",
         std::make_unique<PictureOperation>(*field, p_.alphaDegrees, charts_, path));
  }
}

void FieldActions::SaveVtk(const std::string& path) {
  if (const FlowField* field = Field()) ExportFieldVtk(p_, win_, *field, path);
}

void FieldActions::Probe(const std::string& x, const std::string& y, const std::string& z) {
  if (const std::optional<std::string> lines = ProbeFlow(p_, win_, x, y, z)) {
    PrintResult(win_, *lines);
  }
}

void FieldActions::ProbeTable(const std::string& in, const std::string& out, Progress& progress) {
  ProbeFlowTable(p_, win_, in, out, progress);
}

}  // namespace tarvenol
