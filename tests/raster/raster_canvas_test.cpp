#include "raster/raster_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarvenol::testing {
namespace {

constexpr QRgb kBackground = qRgb(255, 255, 192);

bool IsBackground(const QImage& image, int x, int y) {
  return (image.pixel(x, y) & 0xffffffu) == (kBackground & 0xffffffu);
}

// Whether anything is drawn on pixel (x, y) or one of its eight neighbours.
bool DrawnNear(const QImage& image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (!IsBackground(image, x + dx, y + dy)) return true;
    }
  }
  return false;
}

int ChangedPixels(const QImage& image) {
  int changed = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) changed += !IsBackground(image, x, y);
  }
  return changed;
}

// The picture's square of -6..6 with y upward, on 400 x 400 pixels.
class RasterCanvasTest : public ::testing::Test {
 protected:
  RasterCanvasTest() { canvas.SetCoordinates(-6, 6, 6, -6); }
  RasterCanvas canvas;
};

TEST_F(RasterCanvasTest, StartsAndClearsToTheLightYellowBackground) {
  EXPECT_EQ(canvas.Image().size(), QSize(400, 400));
  EXPECT_EQ(ChangedPixels(canvas.Image()), 0);
  canvas.Line(-6, -6, 6, 6, kBlue);
  EXPECT_GT(ChangedPixels(canvas.Image()), 0);
  canvas.Clear();
  EXPECT_EQ(ChangedPixels(canvas.Image()), 0);
}

TEST_F(RasterCanvasTest, UserCoordinatesWithYUpward) {
  canvas.Line(0, 0, 0, 6, kBlue);  // from the centre to the middle of the top edge
  const QImage& image = canvas.Image();
  // The line lies on the border between pixel columns 199 and 200.
  EXPECT_GT(QColor(image.pixel(200, 100)).blue(), QColor(image.pixel(200, 100)).red() + 60);
  EXPECT_GT(QColor(image.pixel(199, 100)).blue(), QColor(image.pixel(199, 100)).red() + 60);
  EXPECT_TRUE(IsBackground(image, 200, 300));
  EXPECT_TRUE(IsBackground(image, 100, 100));

  canvas.Clear();
  canvas.SetCoordinates(-3, 3, 3, -3);
  canvas.Line(1.5, -3, 1.5, 3, kRed);  // three quarters of the width across
  EXPECT_FALSE(IsBackground(image, 300, 200));
  EXPECT_TRUE(IsBackground(image, 250, 200));
}

TEST_F(RasterCanvasTest, PlotPointMarksOnePixelAndBecomesTheCurrentPoint) {
  canvas.PlotPoint(-6 + 12.0 * 100.5 / 400, 6 - 12.0 * 50.5 / 400);
  EXPECT_EQ(canvas.Image().pixel(100, 50) & 0xffffffu, 0u);
  EXPECT_EQ(ChangedPixels(canvas.Image()), 1);

  canvas.Clear();
  canvas.PlotPoint(0, 0);
  canvas.LineTo(6, 0, kGreen);
  canvas.LineTo(6, 6, kGreen);  // continues from the end of the first line
  EXPECT_GT(QColor(canvas.Image().pixel(300, 200)).green(), 200);
  EXPECT_FALSE(IsBackground(canvas.Image(), 399, 100));
  EXPECT_TRUE(IsBackground(canvas.Image(), 300, 100));
}

TEST_F(RasterCanvasTest, FarCoordinatesAreClippedToTheImage) {
  canvas.Line(-1e9, -1e9, 1e9, 1e9, kRed);  // the diagonal through the centre
  EXPECT_TRUE(DrawnNear(canvas.Image(), 200, 200));
  EXPECT_TRUE(DrawnNear(canvas.Image(), 100, 300));
  EXPECT_TRUE(DrawnNear(canvas.Image(), 398, 1));
  EXPECT_FALSE(DrawnNear(canvas.Image(), 100, 100));

  // Far beyond what a double can place within a pixel: drawn at most near the line, and
  // nothing where the line does not pass.
  canvas.Clear();
  canvas.Line(-1e300, -1e300, 1e300, 1e300, kRed);
  EXPECT_FALSE(DrawnNear(canvas.Image(), 100, 100));
  EXPECT_FALSE(DrawnNear(canvas.Image(), 300, 300));
  canvas.Line(1e300, 0, 2e300, 0, kRed);  // wholly outside
  canvas.Line(0, 7, 0, 1e308, kRed);
  canvas.Line(-1e308, 7, 1e308, 7, kRed);
  EXPECT_LE(ChangedPixels(canvas.Image()), 4);
}

TEST_F(RasterCanvasTest, NonFiniteCoordinatesDrawNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  canvas.Line(nan, 0, 1, 1, kRed);
  canvas.Line(0, 0, inf, 0, kRed);
  canvas.Line(-inf, 0, inf, 0, kRed);
  canvas.Line(-1.7e308, 0, 1.7e308, 0, kRed);  // its length overflows
  canvas.PlotPoint(nan, nan);
  canvas.LineTo(1, 1, kRed);
  canvas.PlotPoint(0, inf);
  EXPECT_EQ(ChangedPixels(canvas.Image()), 0);

  // A coordinate system without width draws nothing either.
  canvas.SetCoordinates(1, 1, 1, 1);
  canvas.Line(0, 0, 2, 2, kRed);
  canvas.SetCoordinates(-inf, 1, inf, -1);
  canvas.Line(0, 0, 2, 0, kRed);
  EXPECT_EQ(ChangedPixels(canvas.Image()), 0);
}

// Whether some 2 x 2 block of pixels, from an even row and column, holds two colours: a picture
// enlarged pixel by pixel has none.
bool DrawnFinerThanTwoPixels(const QImage& image) {
  for (int y = 0; y + 1 < image.height(); y += 2) {
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb c = image.pixel(x, y);
      if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
          image.pixel(x + 1, y + 1) != c) {
        return true;
      }
    }
  }
  return false;
}

TEST_F(RasterCanvasTest, DrawnAgainAtAnotherScaleTheSamePictureAtThatResolution) {
  canvas.Line(-5, -4, 5, 3, kBlue);
  canvas.PlotPoint(0, 0);
  canvas.LineTo(3, -5, kRed);
  canvas.PlotPoint(-6 + 12.0 * 100.5 / 400, 6 - 12.0 * 50.5 / 400);
  const QImage once = canvas.Image();

  canvas.SetScale(2);
  const QImage& twice = canvas.Image();
  ASSERT_EQ(twice.size(), QSize(800, 800));
  EXPECT_EQ(twice.devicePixelRatio(), 2);
  EXPECT_TRUE(DrawnFinerThanTwoPixels(twice));
  // The point covers the four pixels of its one.
  for (const QPoint p : {QPoint(200, 100), QPoint(201, 100), QPoint(200, 101), QPoint(201, 101)}) {
    EXPECT_EQ(twice.pixel(p) & 0xffffffu, 0u);
  }
  EXPECT_TRUE(IsBackground(twice, 202, 100));

  canvas.SetScale(1);
  EXPECT_EQ(canvas.Image(), once);
}

TEST(RasterCanvasFileTest, EncodesAsPng) {
  RasterCanvas canvas(40, 30);
  canvas.SetCoordinates(0, 0, 40, 30);
  canvas.Line(0, 15, 40, 15, kRed);
  const std::string png = canvas.PngBytes();
  QImage read;
  ASSERT_TRUE(read.loadFromData(QByteArray::fromStdString(png), "PNG"));
  EXPECT_EQ(read.size(), QSize(40, 30));
  EXPECT_EQ(read.pixel(0, 0) & 0xffffffu, kBackground & 0xffffffu);
  EXPECT_EQ(read.pixel(20, 14), canvas.Image().pixel(20, 14));
}

TEST(RasterCanvasFileTest, ResizeGivesANewClearedImage) {
  RasterCanvas canvas;
  canvas.Line(0, 0, 400, 400, kRed);
  canvas.Resize(120, 80);
  EXPECT_EQ(canvas.Image().size(), QSize(120, 80));
  EXPECT_EQ(ChangedPixels(canvas.Image()), 0);
  canvas.Resize(0, -5);  // never an image without pixels
  EXPECT_EQ(canvas.Image().size(), QSize(1, 1));
}

}  // namespace
}  // namespace tarvenol::testing
