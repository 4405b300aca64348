// The drag through the batch tool: its figures and table are the boundary layer's own on the
// same profile resampled and solved, its picture is drawn, and bad settings and a drag that
// cannot be taken are said, with nothing written.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch_runner.h"
#include "boundary_layer/drag_input.h"
#include "boundary_layer/drag_table.h"
#include "geometry/profile_resample.h"
#include "profile_state.h"
#include "temp_dir.h"
#include "test_paths.h"

namespace tarvenol::testing {
namespace {

TEST(BatchDrag, TheFiguresAndTableAreTheBoundaryLayersOwn) {
  TempWorkDir dir;
  const std::string spheroid = ExamplesDir() + "/spheroid.body";
  const BatchRun run = Batch("nj 16 body " + spheroid +
                             " ni 80 resample solve-symmetric reynolds 2e6 transition 0.1 "
                             "drag-figures drag layer.csv drag layer.png");
  ASSERT_EQ(run.status, 0) << run.err;
  const ModelState s =
      ProfileState(ResampleProfile(ReadBodyProfile(spheroid, 1e6), 80).profile, 16);
  const BoundaryLayerResult core = MarchBoundaryLayer(
      BoundaryLayerInputOf(s, AxialSolution(s), 2e6, {TransitionKind::Trip, 0.1}));
  EXPECT_EQ(run.out, DragFigureLines(core));
  EXPECT_NE(run.out.find("\nx_transition 0.1000000"), std::string::npos) << run.out;
  EXPECT_EQ(ReadFile("layer.csv"), DragCsv(core));
  EXPECT_EQ(ReadFile("layer.png").substr(1, 3), "PNG");
}

TEST(BatchDrag, BadSettingsAndDragsThatCannotBeTakenAreSaid) {
  TempWorkDir dir;
  const BatchRun run = Batch(
      "reynolds 0 transition 2 drag-figures sphere solve drag x.csv alpha 5 ni 20 resample solve "
      "drag y.csv");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  std::size_t at = 0;
  for (const char* said :
       {"The Reynolds number on the body's length must be a number above 0 and at most 1e10; "
        "\"0\" is not.",
        "The transition is free, laminar, or a trip at a distance from the nose x/L from 0 to 1; "
        "\"2\" is none of these.",
        "There is no drag yet: apply Hess's panel method first.", "at least 20 panels along",
        "The drag is the axial stream's, at an angle of attack of 0; the results' angle is 5 "
        "degrees"}) {
    at = run.err.find(said, at);
    EXPECT_NE(at, std::string::npos) << said << "\n" << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists("x.csv"));
  EXPECT_FALSE(std::filesystem::exists("y.csv"));
}

}  // namespace
}  // namespace tarvenol::testing
