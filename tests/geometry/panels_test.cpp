#include "geometry/panels.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/program_error.h"
#include "geometry/body_of_revolution.h"
#include "temp_dir.h"

namespace tarvenol {
namespace {

using testing::TempWorkDir;

class Panels : public ::testing::Test {
 protected:
  void Build(double ni, double nj) {
    s.PI = std::atan(1.0) * 4;
    s.OutFile = "Tarvenol.txt";
    s.NI = ni;
    s.NI1 = ni + 1;
    s.NJ = nj;
    s.NJ1 = nj + 1;
    BuildBodyGeometry(s, w, BodyKind::Sphere);
    BuildPanels(s);
  }

  TempWorkDir dir;
  ModelState s;
  BodyWork w;
};

TEST_F(Panels, TheWorkedSphereCheck) {
  Build(4, 4);
  for (int j = 1; j <= 4; ++j) {
    EXPECT_EQ(s.NCor(1, j), 3);
    EXPECT_EQ(s.NCor(2, j), 4);
    EXPECT_EQ(s.NCor(3, j), 4);
    EXPECT_EQ(s.NCor(4, j), 3);
  }
  EXPECT_NEAR(s.xC(2, 2), 0.3232, 5e-5);
  EXPECT_NEAR(s.yC(2, 2), 0.2134, 5e-5);
  EXPECT_NEAR(s.zC(2, 2), 0.2134, 5e-5);
  EXPECT_NEAR(s.XsiX(2, 2), 0.924, 5e-4);
  EXPECT_NEAR(s.XsiY(2, 2), 0.383, 5e-4);
  EXPECT_NEAR(s.XsiZ(2, 2), 0, 1e-12);
  EXPECT_NEAR(s.xC(1, 1), 0.0976, 5e-5);
  EXPECT_NEAR(s.yC(1, 1), 0.1179, 5e-5);
  EXPECT_NEAR(s.zC(1, 1), -0.1179, 5e-5);
  EXPECT_NEAR(s.XsiX(1, 1), 0.383, 5e-4);
  EXPECT_NEAR(s.XsiY(1, 1), 0, 1e-12);
  EXPECT_NEAR(s.XsiZ(1, 1), -0.924, 5e-4);
}

TEST_F(Panels, CornersFollowTheGridWithTrianglesAtBothEnds) {
  Build(4, 4);
  for (int j = 1; j <= 4; ++j) {
    // First row: nose point first, corner 4 kept outside the panel.
    EXPECT_EQ(s.xCor(1, j, 1), s.xB(1, j));
    EXPECT_EQ(s.yCor(1, j, 3), s.yB(2, j + 1));
    EXPECT_EQ(s.zCor(1, j, 4), s.zB(1, j + 1));
    // Last row: the tail point in the middle, corner 3 on corner 4.
    EXPECT_EQ(s.xCor(4, j, 2), s.xB(5, j));
    EXPECT_EQ(s.yCor(4, j, 3), s.yB(4, j + 1));
    EXPECT_EQ(s.zCor(4, j, 3), s.zCor(4, j, 4));
    EXPECT_EQ(s.xC(1, j), (s.xCor(1, j, 1) + s.xCor(1, j, 2) + s.xCor(1, j, 3)) / 3);
    EXPECT_EQ(s.Xsi(1, j, 4), 0);
    EXPECT_EQ(s.Ita(4, j, 4), 0);
  }
  // The last panel of a row takes its second station from the closing meridian.
  EXPECT_EQ(s.zCor(2, 4, 3), s.zB(3, 5));
}

TEST_F(Panels, AxesAreRightHandedOrthonormalAndPointOutOfTheSphere) {
  Build(7, 9);
  for (int i = 1; i <= 7; ++i) {
    for (int j = 1; j <= 9; ++j) {
      const double xsi[] = {s.XsiX(i, j), s.XsiY(i, j), s.XsiZ(i, j)};
      const double ita[] = {s.ItaX(i, j), s.ItaY(i, j), s.ItaZ(i, j)};
      const double zta[] = {s.ZtaX(i, j), s.ZtaY(i, j), s.ZtaZ(i, j)};
      auto dot = [](const double* a, const double* b) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
      };
      EXPECT_NEAR(dot(xsi, xsi), 1, 1e-12);
      EXPECT_NEAR(dot(ita, ita), 1, 1e-12);
      EXPECT_NEAR(dot(zta, zta), 1, 1e-12);
      EXPECT_NEAR(dot(xsi, zta), 0, 1e-12);
      EXPECT_NEAR(dot(xsi, ita), 0, 1e-12);
      // Xsi x Ita = Zta.
      EXPECT_NEAR(xsi[1] * ita[2] - xsi[2] * ita[1], zta[0], 1e-12);
      EXPECT_NEAR(xsi[2] * ita[0] - xsi[0] * ita[2], zta[1], 1e-12);
      EXPECT_NEAR(xsi[0] * ita[1] - xsi[1] * ita[0], zta[2], 1e-12);
      const double out[] = {s.xC(i, j) - 0.5, s.yC(i, j), s.zC(i, j)};
      EXPECT_GT(dot(out, zta), 0) << i << ", " << j;
      EXPECT_GT(s.XsiX(i, j), -1e-12);  // downstream along the meridian

      double sumXsi = 0, sumIta = 0;
      for (int k = 1; k <= s.NCor(i, j); ++k) {
        sumXsi += s.Xsi(i, j, k);
        sumIta += s.Ita(i, j, k);
      }
      EXPECT_NEAR(sumXsi, 0, 1e-14);
      EXPECT_NEAR(sumIta, 0, 1e-14);
      EXPECT_NEAR(s.Ita(i, j, 2), s.Ita(i, j, 1), 1e-14);
      const double edge =
          std::hypot(s.xCor(i, j, 2) - s.xCor(i, j, 1), s.yCor(i, j, 2) - s.yCor(i, j, 1),
                     s.zCor(i, j, 2) - s.zCor(i, j, 1));
      EXPECT_NEAR(s.Xsi(i, j, 2) - s.Xsi(i, j, 1), edge, 1e-14);
    }
  }
}

TEST_F(Panels, ASmallerSecondGeometryKeepsNothingOfTheFirst) {
  Build(8, 8);
  Build(3, 3);
  EXPECT_EQ(s.xCor.Limit(0), 4u);
  EXPECT_EQ(s.xCor.Limit(1), 4u);
  EXPECT_EQ(s.NCor.Limit(0), 3u);
  EXPECT_EQ(s.Xsi.Limit(1), 3u);
  EXPECT_EQ(s.NCor(0, 0), 0);
  EXPECT_EQ(s.xC(0, 2), 0);
}

TEST_F(Panels, DegeneratePanelsAreNamed) {
  const struct {
    double ni, nj;
    const char* message;
  } cases[] = {{1, 4, "Panel (1, 1) has its corners 1, 2 and 3 on one line"},
               {4, 1, "Panel (1, 1) has its corners 1, 2 and 3 on one line"}};
  for (const auto& c : cases) {
    try {
      Build(c.ni, c.nj);
      ADD_FAILURE() << c.ni << " x " << c.nj << " accepted";
    } catch (const ProgramError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

TEST_F(Panels, APointRepeatedInTheProfileGivesAFirstEdgeOfNoLength) {
  s.PI = std::atan(1.0) * 4;
  s.OutFile = "Tarvenol.txt";
  s.NI = 3;
  s.NI1 = 4;
  s.NJ = 4;
  s.NJ1 = 5;
  SphereProfile(s, w);
  s.xB = Array2(4, 5);
  s.yB = Array2(4, 5);
  s.zB = Array2(4, 5);
  const double x[] = {0, 0.5, 0.5, 1};
  const double r[] = {0, 0.5, 0.5, 0};
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 5; ++j) {
      const double phi = (j - 1) * s.PI / 2;
      s.xB(i, j) = x[i - 1];
      s.yB(i, j) = r[i - 1] * std::cos(phi);
      s.zB(i, j) = r[i - 1] * std::sin(phi);
    }
  }
  try {
    BuildPanels(s);
    ADD_FAILURE() << "accepted";
  } catch (const ProgramError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Panel (2, 1) has a first edge of no length", 0), 0u)
        << e.what();
  }
}

}  // namespace
}  // namespace tarvenol
