#pragma once
// The files the program writes besides its report, each through the one writer
// (core/whole_file.h), which never lets one of them replace a file the program holds.

#include <string>
#include <string_view>
#include <vector>

#include "core/whole_file.h"
#include "core/window_ops.h"
#include "session/program.h"

namespace tarvenol {

// The report, and the body file of the geometry shown; and the files the action reads, which
// none of its files may replace either.
std::vector<HeldFile> HeldFiles(const Program& p, const std::vector<HeldFile>& read = {});

// bytes written whole to path as the file named what ("picture"); a message when they cannot
// be, and then what was there stays.
void SaveFile(const Program& p, WindowOps& win, const std::string& path, const std::string& what,
              std::string_view bytes);

// The same for bytes a drawing made, which makes none where it cannot draw: then the message
// "The <drawing> cannot be drawn.", drawing being what unless named, and nothing is written.
void SaveDrawnFile(const Program& p, WindowOps& win, const std::string& path,
                   const std::string& what, std::string_view bytes,
                   const std::string& drawing = {});

}  // namespace tarvenol
