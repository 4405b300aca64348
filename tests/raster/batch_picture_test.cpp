// The batch tool's pictures: the whole path from the command line through the view to a PNG.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QColor>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sphere_state.h"
#include "temp_dir.h"
#include "test_paths.h"
#include "view/draw_body.h"

namespace tarvenol::testing {
namespace {

// Runs the batch tool with these arguments in the working directory, after the shell commands
// before; its exit status.
int RunBatch(const std::string& arguments, const std::string& before = "") {
  const std::string command = before + " \"" + BatchTool() + "\" " + arguments + " 2>messages.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsRed(QColor c) {
  return c.red() > 200 && c.green() < 140 && c.blue() < 140;
}
bool IsBlue(QColor c) {
  return c.blue() > 200 && c.red() < 140 && c.green() < 140;
}

// Pixel of a point of the square -3..3 (scale 2) with y upward, on 400 x 400 pixels.
QPointF Pixel(double x, double y) {
  return {(x + 3) / 6 * 400, (3 - y) / 6 * 400};
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a, ap = p - a;
  const double length2 = QPointF::dotProduct(ab, ab);
  const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(ap, ab) / length2, 0.0, 1.0) : 0.0;
  const QPointF d = ap - t * ab;
  return std::hypot(d.x(), d.y());
}

TEST(BatchPictureTest, SolvedSphereShowsOutlinesMeshAndBackground) {
  TempWorkDir dir;
  ASSERT_EQ(RunBatch("ni 10 nj 12 sphere solve angles 30 20 0 scale 2 png sphere.png"), 0)
      << ReadFile("messages.txt");
  QImage image;
  ASSERT_TRUE(image.load("sphere.png", "PNG"));
  ASSERT_EQ(image.size(), QSize(400, 400));
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(255, 255, 192));
  EXPECT_EQ(QColor(image.pixel(0, 399)), QColor(255, 255, 192));

  // Where the panels and the axes lie, from the same drawing on the recording canvas.
  const ModelState s = SphereState(10, 12);
  ViewWork view;
  const Drawing drawing = DrawBody(s, view, {30, 20, 0, 2}, true, false);
  const auto& ops = drawing.ops;
  const DrawOp& zAxis = ops.back();

  // Every panel's first corner starts a red outline.
  int corners = 0, redCorners = 0;
  for (const DrawOp& op : ops) {
    if (op.kind != DrawOp::PlotPoint) continue;
    ++corners;
    const QPoint p = Pixel(op.a, op.b).toPoint();
    bool red = false;
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) red = red || IsRed(image.pixel(p.x() + dx, p.y() + dy));
    }
    redCorners += red;
  }
  EXPECT_EQ(corners, 120);
  EXPECT_GE(redCorners, corners * 9 / 10);

  // Blue mesh pixels outside the body, away from the blue z axis. The sphere's centre, the
  // model point (0.5, 0, 0), is drawn half the turned x axis from the axes' origin.
  const QPointF origin = Pixel(zAxis.a, zAxis.b);
  const QPointF xEnd = Pixel(ops[ops.size() - 3].c, ops[ops.size() - 3].d);
  const QPointF centre = origin + (xEnd - origin) / 10;
  const double radius = 0.5 / 6 * 400;
  int meshPixels = 0;
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 400; ++x) {
      const QPointF p(x + 0.5, y + 0.5);
      if (!IsBlue(image.pixel(x, y))) continue;
      if (DistanceToSegment(p, origin, Pixel(zAxis.c, zAxis.d)) < 3) continue;
      const QPointF d = p - centre;
      if (std::hypot(d.x(), d.y()) > radius + 3) ++meshPixels;
    }
  }
  EXPECT_GT(meshPixels, 300);
}

TEST(BatchPictureTest, WithoutGeometryOnlyTheAxes) {
  TempWorkDir dir;
  ASSERT_EQ(RunBatch("png axes.png"), 0) << ReadFile("messages.txt");
  QImage image;
  ASSERT_TRUE(image.load("axes.png", "PNG"));
  // Unturned at scale 1: the x axis runs right from the centre, z up, y is a point.
  EXPECT_TRUE(IsRed(image.pixel(300, 200)) || IsRed(image.pixel(300, 199)));
  EXPECT_TRUE(IsBlue(image.pixel(200, 100)) || IsBlue(image.pixel(199, 100)));
  EXPECT_EQ(QColor(image.pixel(100, 300)), QColor(255, 255, 192));
}

TEST(BatchPictureTest, UnwritablePictureIsAMessage) {
  TempWorkDir dir;
  EXPECT_EQ(RunBatch("ni 4 nj 4 sphere png missing/picture.png"), 1);
  EXPECT_NE(ReadFile("messages.txt").find("missing/picture.png"), std::string::npos);
  // A device is neither written into nor replaced; a read-only pseudo file cannot take it.
  EXPECT_EQ(RunBatch("png /dev/full"), 1);
  EXPECT_NE(ReadFile("messages.txt").find("\"/dev/full\": it is not a regular file"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  EXPECT_EQ(RunBatch("png /proc/version"), 1);

  // A write that fails halfway, here past a limit on file sizes that the report stays under,
  // leaves the picture that was there, and nothing beside it.
  WriteFile("picture.png", "the picture before");
  EXPECT_EQ(RunBatch("ni 2 nj 3 sphere angles 30 40 50 scale 8 png picture.png", "ulimit -f 8;"),
            1);
  EXPECT_NE(ReadFile("messages.txt").find("cannot be written to \"picture.png\""),
            std::string::npos)
      << ReadFile("messages.txt");
  EXPECT_EQ(ReadFile("picture.png"), "the picture before");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(".")) ++files;
  EXPECT_EQ(files, 3);  // the report, the messages and the picture
  EXPECT_EQ(RunBatch("angles 1 2"), 2);
  EXPECT_EQ(RunBatch("scale"), 2);
  EXPECT_EQ(RunBatch("png"), 2);
}

}  // namespace
}  // namespace tarvenol::testing
