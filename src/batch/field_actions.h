#pragma once
// The batch tool's actions on the flow around the body: its picture, its VTK file and probes.
// The field of a solution is computed once and kept in the session's results (results_cache.h)
// for the actions after it.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "session/charts.h"
#include "session/field_commands.h"

namespace tarvenol {

class FieldActions {
 public:
  // run runs an operation as the batch tool runs every operation, under its name.
  using Run = std::function<void(const char* name, std::unique_ptr<Operation> operation)>;

  FieldActions(Program& p, WindowOps& win, Charts& charts, Run run)
      : p_(p), win_(win), charts_(charts), run_(std::move(run)) {}

  void SavePicture(const std::string& path);
  void SaveVtk(const std::string& path);
  // The lines go to standard output.
  void Probe(const std::string& x, const std::string& y, const std::string& z);
  void ProbeTable(const std::string& in, const std::string& out, Progress& progress);

 private:
  // The field of the solution shown, computed unless it is kept already; nothing, with a
  // message, when there is none.
  const FlowField* Field();

  Program& p_;
  WindowOps& win_;
  Charts& charts_;
  Run run_;
};

}  // namespace tarvenol
