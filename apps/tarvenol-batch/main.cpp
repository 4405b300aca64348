// tarvenol-batch: the operations a user drives in the window, taken from the command line
// in order, with the report written to Tarvenol.txt in the working directory.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "batch_window.h"
#include "core/command_flow.h"

namespace {

const char* const kUsage =
    "Usage: tarvenol-batch [ACTION]...\n"
    "Runs the program's operations in the order given, without windows. The report\n"
    "Tarvenol.txt in the working directory is emptied first, then holds what the\n"
    "program's report would hold after the same actions.\n"
    "\n"
    "Actions:\n"
    "  ni TEXT     type TEXT into the NI box (\"4\" at start)\n"
    "  nj TEXT     type TEXT into the NJ box (\"4\" at start)\n"
    "  sphere      prepare the sphere test case\n"
    "  body PATH   prepare the body file at PATH\n"
    "  solve       apply Hess's panel method\n"
    "\n"
    "A message the program would show goes to standard error. The exit status is 0 when\n"
    "no message was shown, 1 when one was, 2 for a command line it cannot follow.\n";

// Draws nowhere: the batch tool makes no picture unless asked for one.
class NoCanvas : public tarvenol::Canvas {
 public:
  void Clear() override {}
  void SetCoordinates(double, double, double, double) override {}
  void PlotPoint(double, double) override {}
  void LineTo(double, double, tarvenol::Colour) override {}
  void Line(double, double, double, double, tarvenol::Colour) override {}
};

int UsageError(const std::string& why) {
  std::fprintf(stderr, "tarvenol-batch: %s\n%s", why.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarvenol;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }

  NoCanvas canvas;
  BatchWindow win(canvas, "tarvenol-batch");
  Program program;
  StartUp(program, win);

  for (std::size_t a = 0; a < args.size(); ++a) {
    const std::string& action = args[a];
    const bool hasValue = a + 1 < args.size();
    if (action == "ni" || action == "nj" || action == "body") {
      if (!hasValue) return UsageError("'" + action + "' needs a value");
      const std::string& value = args[++a];
      if (action == "ni") {
        win.SetText(TextBox::Text_NI, value);
      } else if (action == "nj") {
        win.SetText(TextBox::Text_NJ, value);
      } else {
        const auto path = std::filesystem::absolute(value);
        win.ChooseFile(path.parent_path().string(), path.filename().string());
        PrepareBodyFile(program, win);
      }
    } else if (action == "sphere") {
      PrepareSphere(program, win);
    } else if (action == "solve") {
      ApplyHessMethod(program, win);
    } else {
      return UsageError("unknown action '" + action + "'");
    }
  }
  return win.MessageShown() ? 1 : 0;
}
