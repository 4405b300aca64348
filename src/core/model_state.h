#pragma once
// The one model state of the program: problem size, constants, file names, flags,
// free stream and the shared arrays of the surface grid, the panels and the solution.
// The computing procedures read their inputs from it and leave their results in it.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/array.h"

namespace tarvenol {

struct ModelState {
  // Constants, set once at start-up.
  double PI = 0;
  double TwoPI = 0;
  double FourPI = 0;
  std::string OutFile;          // the report file, in the working directory
  char DecimalSeparator = '.';  // of the user's locale, used in the report

  std::string BodyFile;  // full path of the chosen body file

  // Problem size, held as read from the window; NI1 = NI + 1, NJ1 = NJ + 1.
  double NI = 0;
  double NJ = 0;
  double NI1 = 0;
  double NJ1 = 0;

  bool GeometryReady = false;
  bool ShowPanels = false;
  bool ShowSolution = false;

  double VinfX = 0;
  double VinfY = 0;
  double VinfZ = 0;

  // Surface grid [0..NI1, 0..NJ1].
  Array2 xB, yB, zB;

  // Panels [0..NI, 0..NJ]; corners [0..NI1, 0..NJ1, 0..4]; corners in panel axes [0..NI, 0..NJ,
  // 0..4].
  DenseArray<std::int16_t, 2> NCor;
  Array3 xCor, yCor, zCor;
  Array2 xC, yC, zC;
  Array2 XsiX, XsiY, XsiZ;
  Array2 ItaX, ItaY, ItaZ;
  Array2 ZtaX, ZtaY, ZtaZ;
  Array3 Xsi, Ita;

  // Solution [0..NI, 0..NJ].
  Array2 OneMinusCp;
};

// Highest index of an array dimension sized by a count: the count rounded half to even.
inline std::size_t ArrayLimit(double count) {
  return static_cast<std::size_t>(std::nearbyint(count));
}

// Loop bound for a count: loops run while the counter is not above the unrounded count.
inline int LoopEnd(double count) {
  return static_cast<int>(std::floor(count));
}

}  // namespace tarvenol
