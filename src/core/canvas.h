#pragma once
// The drawing surface of the picture area: the few operations the wire-frame view needs.

#include <cstdint>

namespace tarvenol {

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kGreen{0, 255, 0};
inline constexpr Colour kBlue{0, 0, 255};
inline constexpr Colour kPictureBackground{255, 255, 192};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // The whole area shows its background colour again.
  virtual void Clear() = 0;
  // From now on the edges of the area lie at these user coordinates; top may exceed bottom.
  virtual void SetCoordinates(double left, double top, double right, double bottom) = 0;
  // One point in the foreground colour; it becomes the current point.
  virtual void PlotPoint(double x, double y) = 0;
  // A line from the current point to (x, y), which becomes the current point.
  virtual void LineTo(double x, double y, Colour colour) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, Colour colour) = 0;
};

}  // namespace tarvenol
