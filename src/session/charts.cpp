#include "session/charts.h"

#include <strings.h>

namespace tarvenol {

std::optional<PlotFormat> PictureFormatOf(const std::string& path) {
  const auto ends = [&](const char* suffix) {
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, suffix) == 0;
  };
  if (ends(".svg")) return PlotFormat::Svg;
  if (ends(".png")) return PlotFormat::Png;
  return std::nullopt;
}

}  // namespace tarvenol
