// tarvenol-batch: the operations a user drives in the window, taken from the command line
// in order, with the report written to Tarvenol.txt in the working directory.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "flow/command_flow.h"
#include "flow/view_handlers.h"
#include "headless/headless_window.h"
#include "raster/raster_canvas.h"

namespace {

const char* const kUsage =
    "Usage: tarvenol-batch [ACTION]...\n"
    "Runs the program's operations in the order given, without windows. The report\n"
    "Tarvenol.txt in the working directory is emptied first, then holds what the\n"
    "program's report would hold after the same actions.\n"
    "\n"
    "Actions:\n"
    "  ni TEXT       type TEXT into the NI box (\"4\" at start)\n"
    "  nj TEXT       type TEXT into the NJ box (\"4\" at start)\n"
    "  sphere        prepare the sphere test case\n"
    "  body PATH     prepare the body file at PATH\n"
    "  solve         apply Hess's panel method\n"
    "  angles X Y Z  type X, Y and Z into the view's angle boxes, in degrees (\"0\" at start)\n"
    "  scale S       type S into the view's scale box (\"1\" at start)\n"
    "  png PATH      draw the view again and save the 400 x 400 picture as PNG at PATH\n"
    "\n"
    "A message the program would show goes to standard error. The exit status is 0 when\n"
    "no message was shown, 1 when one was, 2 for a command line it cannot follow.\n";

int UsageError(const std::string& why) {
  std::fprintf(stderr, "tarvenol-batch: %s\n%s", why.c_str(), kUsage);
  return 2;
}

// Draws the view with the current flags, as the window shows it, and writes it to path.
void SavePicture(tarvenol::Program& program, tarvenol::HeadlessWindow& win,
                 const tarvenol::RasterCanvas& canvas, const std::string& path) {
  const std::size_t messages = win.messages.size();
  RedrawView(program.state, program.view, win);
  if (win.messages.size() != messages) return;
  if (!canvas.SavePng(path)) win.MessageBox("The picture cannot be written to " + path + ".");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarvenol;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }

  RasterCanvas canvas(400, 400);
  HeadlessWindow win(canvas);
  win.onMessage = [](const std::string& text) {
    std::fprintf(stderr, "tarvenol-batch: %s\n", text.c_str());
  };
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
    } else if (action == "angles") {
      if (a + 3 >= args.size()) return UsageError("'angles' needs three values");
      win.SetText(TextBox::Text_AlfaX, args[++a]);
      win.SetText(TextBox::Text_AlfaY, args[++a]);
      win.SetText(TextBox::Text_AlfaZ, args[++a]);
    } else if (action == "scale") {
      if (!hasValue) return UsageError("'scale' needs a value");
      win.SetText(TextBox::Text_Ölçek, args[++a]);
    } else if (action == "png") {
      if (!hasValue) return UsageError("'png' needs a path");
      SavePicture(program, win, canvas, args[++a]);
    } else if (action == "sphere") {
      PrepareSphere(program, win);
    } else if (action == "solve") {
      ApplyHessMethod(program, win);
    } else {
      return UsageError("unknown action '" + action + "'");
    }
  }
  return win.messages.empty() ? 0 : 1;
}
