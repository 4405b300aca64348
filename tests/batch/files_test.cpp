// The files the batch tool writes besides the report: the view's picture, the plot and the
// exports, from the command line to the bytes on disk.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QColor>
#include <QImage>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "batch/batch_actions.h"
#include "batch_runner.h"
#include "sphere_state.h"
#include "temp_dir.h"
#include "test_paths.h"
#include "view/draw_body.h"

namespace tarvenol::testing {
namespace {

namespace fs = std::filesystem;

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

int FilesIn(const fs::path& folder) {
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++files;
  return files;
}

TEST(BatchPictureTest, SolvedSphereShowsOutlinesMeshAndBackground) {
  TempWorkDir dir;
  const BatchRun run = Batch("ni 10 nj 12 sphere solve angles 30 20 0 scale 2 png sphere.png");
  ASSERT_EQ(run.status, 0) << run.err;
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
  const BatchRun run = Batch("png axes.png");
  ASSERT_EQ(run.status, 0) << run.err;
  QImage image;
  ASSERT_TRUE(image.load("axes.png", "PNG"));
  // Unturned at scale 1: the x axis runs right from the centre, z up, y is a point.
  EXPECT_TRUE(IsRed(image.pixel(300, 200)) || IsRed(image.pixel(300, 199)));
  EXPECT_TRUE(IsBlue(image.pixel(200, 100)) || IsBlue(image.pixel(199, 100)));
  EXPECT_EQ(QColor(image.pixel(100, 300)), QColor(255, 255, 192));
}

TEST(BatchPictureTest, UnwritablePictureIsAMessage) {
  TempWorkDir dir;
  BatchRun run = Batch("ni 4 nj 4 sphere png missing/picture.png");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing/picture.png"), std::string::npos);
  // A device is neither written into nor replaced; a read-only pseudo file cannot take it.
  run = Batch("png /dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("\"/dev/full\": it is not a regular file"), std::string::npos);
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  EXPECT_EQ(Batch("png /proc/version").status, 1);

  // A write that fails halfway, here past a limit on file sizes that the report stays under,
  // leaves the picture that was there, and nothing beside it.
  WriteFile("picture.png", "the picture before");
  run = Batch("ni 2 nj 3 sphere angles 30 40 50 scale 8 png picture.png", "ulimit -f 8;");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot be written to \"picture.png\""), std::string::npos) << run.err;
  EXPECT_EQ(ReadFile("picture.png"), "the picture before");
  EXPECT_EQ(FilesIn("."), 2);  // the report and the picture
}

// The batch tool's plot and exports, as a script uses them.
TEST(BatchResults, PlotsAndExportsOfTheSolution) {
  TempWorkDir dir;
  BatchRun run = Batch("ni 12 nj 16 sphere plot early.png");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("There is no solution to plot yet"), std::string::npos);
  EXPECT_FALSE(fs::exists("early.png"));

  run = Batch("ni 12 nj 16 sphere solve plot p.png plot p.svg vtk p.vtp csv p.csv");
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string png = ReadFile("p.png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // The width and height, big-endian, in the image header.
  const auto word = [&](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) |
           (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(word(16), 900u);
  EXPECT_EQ(word(20), 560u);
  const std::string svg = ReadFile("p.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("<title>Pressure along the sphere, 12 × 16 panels"), std::string::npos);
}

// Every action that writes a file, from the table of actions, on a solved sphere.
std::vector<const BatchActionRow*> Writers() {
  std::vector<const BatchActionRow*> writers;
  for (const BatchActionRow& row : BatchActions()) {
    if (row.writes >= 0) writers.push_back(&row);
  }
  return writers;
}
// 20 panels along: the fewest the drag takes.
const std::string kSolved = "ni 20 nj 4 sphere solve ";
// The words of an action writing name: the values it reads before are a table of points, or
// of designs for the sweep.
std::string Writing(const BatchActionRow& row, const std::string& name) {
  std::string words = row.name;
  const bool sweep = words == "sweep";
  for (int k = 0; k < row.writes; ++k) words += sweep ? " designs.csv" : " points.csv";
  return words + " " + name + " ";
}
void WriteTables() {
  WriteFile("points.csv", "2,0,0\n");
  WriteFile("designs.csv", "family,a,b,ni,nj\nspheroid,0.5,0.2,20,8\n");
}

TEST(BatchFiles, NoFileReplacesTheReportOrTheBodyFileByAnyName) {
  TempWorkDir dir;
  ASSERT_EQ(Batch(kSolved + "nj 6 sphere").status, 0);
  const std::string report = ReadFile("Tarvenol.txt");
  fs::create_symlink("Tarvenol.txt", "link.txt");
  WriteTables();
  for (const BatchActionRow* writer : Writers()) {
    for (const std::string& name :
         {std::string("Tarvenol.txt"), std::string("./Tarvenol.txt"),
          (dir.path() / "Tarvenol.txt").string(), std::string("link.txt")}) {
      const BatchRun run = Batch(kSolved + Writing(*writer, name) + "nj 6 sphere");
      EXPECT_EQ(run.status, 1) << writer->name << " " << name;
      // The field's VTK file takes no name ending in .txt, and says so first.
      EXPECT_TRUE(run.err.find(": it is the program's report.") != std::string::npos ||
                  run.err.find("\" is neither.") != std::string::npos)
          << run.err;
      // The sections after it went into the report, which is the same as without it.
      EXPECT_TRUE(ReadFile("Tarvenol.txt") == report) << writer->name << " " << name;
    }
  }
  WriteFile("mine.body", ReadFile(ExamplesDir() + "/ovoid.body"));
  const BatchRun run = Batch("nj 6 body mine.body solve csv mine.body");
  EXPECT_NE(run.err.find(": it is the body file of the geometry shown."), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadFile("mine.body"), ReadFile(ExamplesDir() + "/ovoid.body"));
}

TEST(BatchFiles, EveryFileFollowsALinkKeepsItsModeAndTakesTheNameAsGiven) {
  TempWorkDir dir;
  WriteTables();
  const std::vector<const BatchActionRow*> writers = Writers();
  for (const BatchActionRow* row : writers) {
    // Names every writer takes: the field's VTK file must end in .vts or .vti.
    const std::string writer = row->name;
    const std::string link = writer + ".link.vts";
    WriteFile(writer + ".file", "before");
    ASSERT_EQ(chmod((writer + ".file").c_str(), 0600), 0);
    fs::create_symlink(writer + ".file", link);
    // A name of bytes that are no UTF-8, made as given.
    const std::string bytes = writer + "\xff\xfe.vts";
    const BatchRun run = Batch(kSolved + Writing(*row, link) + Writing(*row, "'" + bytes + "'"));
    ASSERT_EQ(run.status, 0) << writer << ": " << run.err;
    EXPECT_TRUE(fs::is_symlink(link)) << writer;
    EXPECT_NE(ReadFile(writer + ".file"), "before") << writer;
    EXPECT_EQ(fs::status(writer + ".file").permissions(),
              fs::perms::owner_read | fs::perms::owner_write)
        << writer;
    EXPECT_TRUE(fs::is_regular_file(bytes)) << writer;
  }
  // A file with no name in a folder, here standard output through a link, is not replaced.
  fs::create_symlink("/proc/self/fd/1", "out.csv");
  const BatchRun run = Batch(kSolved + "csv out.csv");
  EXPECT_NE(run.err.find("\"out.csv\": it is not a regular file."), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_symlink("out.csv"));
  // The report, the tables of points and designs, the link, and three files for each writer.
  EXPECT_EQ(FilesIn("."), 4 + 3 * static_cast<int>(writers.size()));
}

TEST(BatchFiles, EveryPictureNamesTheBodyAsItIsNamed) {
  TempWorkDir dir;
  // Markup, and a character XML cannot hold (U+FFFF).
  WriteFile("R&D <b>\xef\xbf\xbf.body", ReadFile(ExamplesDir() + "/ovoid.body"));
  const BatchRun run =
      Batch("nj 6 body 'R&D <b>\xef\xbf\xbf.body' solve plot p.svg forces m.svg field f.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::pair<const char*, const char*> pictures[] = {
      {"p.svg", "Pressure along \"R&D <b>?.body\", 40 × 6 panels"},
      {"m.svg",
       "Pitching moment of \"R&D <b>?.body\" about its centre of volume, nose up, on the volume"},
      {"f.svg", "Flow around \"R&D <b>?.body\", 40 × 6 panels, at 0°"}};
  for (const auto& [file, expected] : pictures) {
    // A file any XML reader reads, whose title holds the name as it is.
    QXmlStreamReader svg(QByteArray::fromStdString(ReadFile(file)));
    QString title;
    while (!svg.atEnd()) {
      if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"title") {
        title = svg.readElementText();
      }
    }
    EXPECT_FALSE(svg.hasError()) << file << ": " << svg.errorString().toStdString();
    EXPECT_EQ(title.toStdString(), expected);
  }
}

TEST(BatchFiles, AFileCutShortIsNeverTakenForAWholeOne) {
  TempWorkDir dir;
  WriteFile("p.png", "before");
  WriteFile("p.svg", "before");
  // The report stays under the limit; each plot's last write is cut short by it, with no
  // failed write after it to tell.
  const BatchRun run = Batch("ni 2 nj 3 sphere solve plot p.png plot p.svg", "ulimit -f 28;");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("The plot cannot be written to \"p.png\": File too large."),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("The plot cannot be written to \"p.svg\": File too large."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(ReadFile("p.png"), "before");
  EXPECT_EQ(ReadFile("p.svg"), "before");
  EXPECT_EQ(FilesIn("."), 3);
}

}  // namespace
}  // namespace tarvenol::testing
