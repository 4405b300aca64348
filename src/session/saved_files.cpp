#include "session/saved_files.h"

#include "session/guarded.h"

namespace tarvenol {

std::vector<HeldFile> HeldFiles(const Program& p, const std::vector<HeldFile>& read) {
  std::vector<HeldFile> held{{p.state.OutFile, "the program's report"}};
  if (p.body.kind == BodyKind::GivenBody) {
    held.push_back({p.state.BodyFile, "the body file of the geometry shown"});
  }
  held.insert(held.end(), read.begin(), read.end());
  return held;
}

void SaveFile(const Program& p, WindowOps& win, const std::string& path, const std::string& what,
              std::string_view bytes) {
  Guarded(win, [&] { WriteWholeFile(path, what, bytes, HeldFiles(p)); });
}

void SaveDrawnFile(const Program& p, WindowOps& win, const std::string& path,
                   const std::string& what, std::string_view bytes, const std::string& drawing) {
  if (bytes.empty()) {
    win.MessageBox("The " + (drawing.empty() ? what : drawing) + " cannot be drawn.");
    return;
  }
  SaveFile(p, win, path, what, bytes);
}

}  // namespace tarvenol
