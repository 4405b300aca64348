#include "batch/field_actions.h"

#include <cstdio>

#include "flow/guarded.h"
#include "plot/flow_drawing.h"

namespace tarvenol {

const FlowField* FieldActions::Field() {
  const std::uint64_t key = SolutionKey(p_);
  if (key != 0 && field_ && field_->solution == key) return &*field_;
  field_.reset();
  run_("field", PlanFlowField(p_, win_, field_));
  return field_ ? &*field_ : nullptr;
}

void FieldActions::SavePicture(const std::string& path) {
  const FlowField* field = Field();
  if (field == nullptr) return;
  Guarded(win_, [&] { SaveFlowPicture(FlowPictureAt(*field, p_.alphaDegrees), path); });
}

void FieldActions::SaveVtk(const std::string& path) {
  if (const FlowField* field = Field()) ExportFieldVtk(p_, win_, *field, path);
}

void FieldActions::Probe(const std::string& x, const std::string& y, const std::string& z) {
  if (const std::optional<std::string> lines = ProbeFlow(p_, win_, x, y, z)) {
    std::fputs(lines->c_str(), stdout);
    std::fflush(stdout);
  }
}

void FieldActions::ProbeTable(const std::string& in, const std::string& out) {
  ProbeFlowTable(p_, win_, in, out);
}

}  // namespace tarvenol
