// The flow around the body against the sphere's closed form, the expansions against their
// bound, the mask, the streamlines and the probes.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>

#include "fake_window.h"
#include "session/commands.h"
#include "session/field_commands.h"
#include "field/body_flow.h"
#include "field/field_exports.h"
#include "field/streamlines.h"
#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol {
namespace {

using testing::FakeWindow;
using testing::ReadFile;
using testing::TempWorkDir;
using testing::WriteFile;

constexpr double kR = 0.5;                     // the sphere's radius
constexpr double kCentre[3] = {0.5, 0, 0};     // and centre
constexpr double kClosedFormTolerance = 0.10;  // against an independent computation's error

// The sphere's exact velocity in the unit stream U, r from the centre:
//   V = U (1 + R^3 / (2 r^3)) - 3 R^3 (U . r) / (2 r^5) r.
Vector3 Exact(const Vector3& r, const Vector3& U = {1, 0, 0}) {
  const double d = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
  const double R3 = kR * kR * kR, r3 = d * d * d, r5 = r3 * d * d;
  const double f = 3 * R3 * (U[0] * r[0] + U[1] * r[1] + U[2] * r[2]) / (2 * r5);
  Vector3 V;
  for (std::size_t c = 0; c < 3; ++c) V[c] = U[c] * (1 + R3 / (2 * r3)) - f * r[c];
  return V;
}

double Distance(const Vector3& a, const Vector3& b) {
  return std::sqrt(std::pow(a[0] - b[0], 2) + std::pow(a[1] - b[1], 2) + std::pow(a[2] - b[2], 2));
}

// Points on spheres about the centre, in every direction, none on a meridian's plane.
std::vector<Vector3> Around(double radius, int rings) {
  std::vector<Vector3> points;
  for (int a = 0; a <= rings; ++a) {
    for (int b = 0; b < 2 * rings; ++b) {
      const double theta = std::numbers::pi * a / rings;
      const double phi = std::numbers::pi * b / rings + 0.013;
      points.push_back({kCentre[0] + radius * std::cos(theta),
                        radius * std::sin(theta) * std::cos(phi),
                        radius * std::sin(theta) * std::sin(phi)});
    }
  }
  return points;
}

// The sphere of 32 x 32 panels, solved once for every test here.
class SphereFlow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = std::make_unique<TempWorkDir>();
    program = std::make_unique<Program>();
    FakeWindow win;
    StartUp(*program, win);
    win.texts[TextBox::Text_NI] = "32";
    win.texts[TextBox::Text_NJ] = "32";
    PrepareSphere(*program, win);
    ApplyHessMethod(*program, win);
    ASSERT_TRUE(win.messages.empty());
    fast = std::make_unique<BodyFlow>(program->state, program->body, program->solution);
    direct = std::make_unique<BodyFlow>(program->state, program->body, program->solution, 0);
  }
  static void TearDownTestSuite() {
    fast.reset();
    direct.reset();
    program.reset();
    dir.reset();
  }

  static StreamVelocities At(const BodyFlow& flow, const Vector3& p) {
    StreamVelocities V{};
    EXPECT_TRUE(flow.VelocityAt(p[0], p[1], p[2], V)) << p[0] << ", " << p[1] << ", " << p[2];
    return V;
  }

  static inline std::unique_ptr<TempWorkDir> dir;
  static inline std::unique_ptr<Program> program;
  static inline std::unique_ptr<BodyFlow> fast, direct;
};

TEST_F(SphereFlow, TheVelocityOutsideLiesOnTheClosedFormWithinTheMethodsError) {
  // The largest |dV| at and beyond each radius, from an independent computation.
  const struct { double radius, error; } bands[] = {{1.2, 0.012}, {2, 0.0029}, {3, 0.0009}};
  for (const auto& band : bands) {
    double worst = 0;
    for (const double radius : {band.radius, band.radius * 1.25, band.radius * 1.6}) {
      for (const Vector3& p : Around(radius * kR, 24)) {
        const Vector3 r = {p[0] - kCentre[0], p[1], p[2]};
        worst = std::max(worst, Distance(At(*fast, p)[kAxialStream], Exact(r)));
      }
    }
    EXPECT_NEAR(worst, band.error, kClosedFormTolerance * band.error) << "r >= " << band.radius;
  }
}

TEST_F(SphereFlow, TheExpansionsChangeNoVelocityByMoreThanTheirBound) {
  static_assert(kFarFieldTolerance <= 1e-7, "the field must stay within 1e-7 of the direct sum");
  std::vector<Vector3> points;
  for (const double radius : {1.01, 1.05, 1.2, 2.0, 4.0}) {
    for (const Vector3& p : Around(radius * kR, 16)) points.push_back(p);
  }
  for (const double tolerance : {1e-3, 1e-5, kFarFieldTolerance}) {
    const BodyFlow loose(program->state, program->body, program->solution, tolerance);
    double worst = 0;
    for (const Vector3& p : points) {
      const StreamVelocities exact = At(*direct, p), taken = At(loose, p);
      // The bound holds for any sum of the streams with weights of at most 1 in size.
      for (const double a : {0.0, 0.3, 1.0}) {
        Vector3 dV;
        for (std::size_t c = 0; c < 3; ++c) {
          dV[c] =
              std::cos(a) * (taken[0][c] - exact[0][c]) + std::sin(a) * (taken[1][c] - exact[1][c]);
        }
        worst = std::max(worst, Distance(dV, {0, 0, 0}));
      }
    }
    EXPECT_LE(worst, tolerance);
  }
}

// The expansions tell their progress, in order, at least once for every few leaves of the tree,
// and stop at the first answer to stop, asking no more.
TEST_F(SphereFlow, TheExpansionsTellTheirProgressAndStopWhenAsked) {
  struct Counted : Progress {
    bool Advance(Stage, double fraction) override {
      rising = rising && fraction >= last;
      last = fraction;
      return ++calls != stopAt;
    }
    long calls = 0, stopAt = -1;
    double last = 0;
    bool rising = true;
  } told;
  const BodyFlow taken(program->state, program->body, program->solution, kFarFieldTolerance, &told);
  EXPECT_GE(told.calls, 2 * 32 * 32 / 32);
  EXPECT_TRUE(told.rising);
  EXPECT_GT(told.last, 0.9);
  for (const long stopAt : {1L, told.calls / 2}) {
    Counted stopped;
    stopped.stopAt = stopAt;
    EXPECT_THROW(
        BodyFlow(program->state, program->body, program->solution, kFarFieldTolerance, &stopped),
        Cancelled);
    EXPECT_EQ(stopped.calls, stopAt);
  }
}

TEST_F(SphereFlow, FarUpstreamAndDownstreamTheStreamIsTheOnset) {
  for (const double x : {-20.0, 21.0}) {
    for (const double y : {0.0, 3.0}) {
      const StreamVelocities V = At(*fast, {x, y, 0.5});
      // The sphere's disturbance falls off as R^3 / r^3: 1.6e-5 at 20 diameters.
      EXPECT_LT(Distance(V[kAxialStream], {1, 0, 0}), 3e-5);
      EXPECT_LT(Distance(V[kTransverseStream], {0, 1, 0}), 3e-5);
    }
  }
}

TEST_F(SphereFlow, TowardsTheStagnationPointCpRisesToOne) {
  double previous = -HUGE_VAL;
  for (const double gap : {1.0, 0.3, 0.1, 0.05, 0.02, 0.01}) {
    const FlowAtPoint at = FlowAtIncidence(At(*fast, {-gap, 0, 0}), 1, 0);
    const double r = kR + gap;
    const double exact = 1 - std::pow(1 - std::pow(kR / r, 3), 2);
    EXPECT_GT(at.Cp, previous) << gap;
    EXPECT_NEAR(at.Cp, exact, 0.02) << gap;
    previous = at.Cp;
  }
  EXPECT_GT(previous, 0.97);
}

TEST_F(SphereFlow, PointsInsideTheBodyOrOnItHaveNoVelocity) {
  const BodyShape& shape = fast->Shape();
  StreamVelocities V;
  // The meridians of 32 panels lie in the plane z = 0, where the profile is the section.
  for (const Vector3& p : std::vector<Vector3>{{0.5, 0, 0},
                                               {0.5, 0.499, 0},
                                               {0.5, 0, -0.49},
                                               {0.001, 0, 0},
                                               {0.5, 0.5 + 0.5 * shape.Clearance(), 0},
                                               {-0.5 * shape.Clearance(), 0, 0}}) {
    EXPECT_FALSE(fast->VelocityAt(p[0], p[1], p[2], V)) << p[0] << ", " << p[1] << ", " << p[2];
  }
  EXPECT_TRUE(fast->VelocityAt(0.5, 0.5 + 2 * shape.Clearance(), 0, V));
  EXPECT_TRUE(fast->VelocityAt(-2 * shape.Clearance(), 0, 0, V));
  // Between two meridians the panels are chords: a point on the round sphere there lies
  // outside them.
  const double between = std::numbers::pi / 32;
  EXPECT_EQ(shape.Where(0.5, 0.5 * std::cos(between), 0.5 * std::sin(between)),
            BodyShape::Place::Outside);
  EXPECT_EQ(shape.Where(0.5, 0.49 * std::cos(between), 0.49 * std::sin(between)),
            BodyShape::Place::Inside);
}

TEST_F(SphereFlow, StreamlinesPassTheSphereAndLeaveAsTheyCame) {
  IgnoredProgress progress;
  const FieldGrid grid = ComputeFieldGrid(*fast, GridAroundBody(fast->Shape(), 81, 81), progress);
  const FieldAtIncidence axial = FieldAt(grid, IncidenceOf(0));
  const std::vector<Streamline> lines = TraceStreamlines(axial);
  int atBody = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const Point2 first = lines[k].points.front(), last = lines[k].points.back();
    EXPECT_NEAR(first[0], grid.span.x0, 1e-6);
    // The same as the line mirrored in the axis.
    const Streamline& mirror = lines[lines.size() - 1 - k];
    EXPECT_EQ(lines[k].end, mirror.end);
    EXPECT_NEAR(last[0], mirror.points.back()[0], 1e-6);
    EXPECT_NEAR(last[1], -mirror.points.back()[1], 1e-6);
    if (lines[k].end == Streamline::End::Body) {
      ++atBody;
      EXPECT_LT(std::fabs(first[1]), 0.2);
      EXPECT_LT(std::hypot(last[0] - kCentre[0], last[1]), kR + 2 * grid.span.dx);
      continue;
    }
    EXPECT_EQ(lines[k].end, Streamline::End::Edge);
    // The flow about a sphere is the same fore and aft: a streamline that leaves downstream
    // leaves at the height at which it came, to the interpolation's error.
    if (last[0] > grid.span.X(grid.span.nx) - 1e-6) {
      EXPECT_NEAR(last[1], first[1], 0.2 * grid.span.dy);
    }
  }
  EXPECT_GE(atBody, 2);  // those beside the stagnation streamline

  // At 30 degrees the streamlines come in at the upstream edges along the sphere's flow in the
  // stream (cos 30, sin 30, 0).
  const FieldAtIncidence turned = FieldAt(grid, IncidenceOf(30));
  for (const Streamline& line : TraceStreamlines(turned)) {
    ASSERT_GE(line.points.size(), 3u);
    const Point2 p = line.points[0];
    EXPECT_TRUE(p[0] < grid.span.x0 + 1e-6 || p[1] < grid.span.y0 + 1e-6);
    const double dx = line.points[2][0] - p[0], dy = line.points[2][1] - p[1];
    const Vector3 V = Exact({p[0] - kCentre[0], p[1], 0}, {std::sqrt(0.75), 0.5, 0});
    EXPECT_NEAR(std::atan2(dy, dx), std::atan2(V[1], V[0]), 0.01);
  }
}

TEST_F(SphereFlow, ProbesSayWhatIsWrongWithTheirInput) {
  FakeWindow win;
  IgnoredProgress unseen;
  const std::optional<std::string> lines = ProbeFlow(*program, win, " 1.5", "0.25 ", "0");
  ASSERT_TRUE(lines);
  const FlowAtPoint expected = FlowAtIncidence(At(*direct, {1.5, 0.25, 0}), 1, 0);
  EXPECT_NE(lines->find("Cp " + std::to_string(expected.Cp).substr(0, 6)), std::string::npos)
      << *lines;

  EXPECT_FALSE(ProbeFlow(*program, win, "1", "2,5", "0"));
  EXPECT_FALSE(ProbeFlow(*program, win, "nan", "0", "1e999"));
  EXPECT_FALSE(ProbeFlow(*program, win, "0.5", "0.1", "0"));
  ASSERT_EQ(win.messages.size(), 3u);
  EXPECT_EQ(win.messages[0], "The point's y must be a number; \"2,5\" is not.");
  EXPECT_EQ(win.messages[1], "The point's x must be a number; \"nan\" is not.");
  EXPECT_NE(win.messages[2].find("lies inside the body"), std::string::npos);

  WriteFile("points.csv", "X, y ,Z\n1.5,0.25,0\n\n0.5,0,0\n-1e1,2,3\r\n");
  ProbeFlowTable(*program, win, "points.csv", "out.csv", unseen);
  const std::string table = ReadFile("out.csv");
  EXPECT_EQ(table.substr(0, table.find('\n')), "x,y,z,Vx,Vy,Vz,speed,Cp,masked");
  EXPECT_NE(table.find("\n0.5,0,0,,,,,,1\n"), std::string::npos);
  EXPECT_NE(table.find("\n-10,2,3,"), std::string::npos);
  ASSERT_EQ(win.messages.size(), 4u);
  EXPECT_NE(win.messages[3].find("1 of the 3 points"), std::string::npos);
  EXPECT_NE(win.messages[3].find("the first is point 2"), std::string::npos);

  // A bad row refuses the whole table, and what was at out stays.
  WriteFile("bad.csv", "1,2,3\n4,five,6\n");
  ProbeFlowTable(*program, win, "bad.csv", "out.csv", unseen);
  ASSERT_EQ(win.messages.size(), 5u);
  EXPECT_EQ(win.messages[4],
            "The points cannot be read from \"bad.csv\": line 2, \"4,five,6\", is not three "
            "numbers x, y, z separated by commas.");
  EXPECT_EQ(ReadFile("out.csv"), table);
}

// The batch tool's field actions, as a script uses them.
TEST(BatchField, PicturesFilesAndProbes) {
  TempWorkDir dir;
  const auto batch = [](const std::string& args) {
    const int status =
        std::system((testing::BatchTool() + " " + args + " >out.txt 2>err.txt").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(batch("ni 8 nj 8 sphere field early.png"), 1);
  EXPECT_NE(ReadFile("err.txt").find("There is no solution yet"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("early.png"));
  EXPECT_EQ(batch("probe-csv in.csv \"\""), 2);

  EXPECT_EQ(batch("--timings ni 12 nj 16 sphere solve alpha 20 field f.png field-vtk f.vti "
                  "field f.svg field-vtk f.txt field no/f.png probe 1.5 0.25 0 probe 1 x 2"),
            1);
  const std::string err = ReadFile("err.txt");
  // One field for the one solution, however many actions use it.
  EXPECT_EQ(err.find("field: flow field"), err.rfind("field: flow field"));
  EXPECT_NE(err.find("f.txt\" is neither"), std::string::npos) << err;
  EXPECT_NE(err.find("The point's y must be a number; \"x\" is not."), std::string::npos);
  EXPECT_NE(err.find("The picture cannot be written to \"no/f.png\": No such file or directory."),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("f.txt"));
  const std::string png = ReadFile("f.png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_NE(ReadFile("f.svg").find("<title>Flow around the sphere, 12 × 16 panels, at 20°"),
            std::string::npos);
  EXPECT_NE(ReadFile("f.vti").find("<ImageData WholeExtent=\"0 199 0 199 0 0\""),
            std::string::npos);
  EXPECT_EQ(ReadFile("out.txt").rfind("x 1.5\ny 0.25\nz 0\nalpha 20\nVx ", 0), 0u);
}

}  // namespace
}  // namespace tarvenol
