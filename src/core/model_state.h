#pragma once
// The one model state of the program: problem size, constants, file names, flags,
// free stream and the shared arrays of the surface grid, the panels and the solution.
// The computing procedures read their inputs from it and leave their results in it.
//
// Its symbols, as the method names them (lengths in the body's units, the model origin at the
// nose, x along the axis; velocities in units of the onset stream U):
//   NI, NJ           panels along the profile and around the body; NI1 = NI + 1, NJ1 = NJ + 1
//   xB, yB, zB (i,j) the surface grid: point i of the profile, turned to meridian j
//   NCor (i,j)       the corners of panel (i, j): 4, or 3 where two of them meet on the axis
//   xCor.. (i,j,k)   its corners k = 1..NCor
//   xC, yC, zC (i,j) its control point, the mean of its corners
//   Xsi, Ita, Zta    its unit axes: Xsi along its first edge (corner 1 to 2), Zta its normal out
//                    of the body, Ita = Zta x Xsi; XsiX is Xsi's x component, and so on
//   Xsi, Ita (i,j,k) its corners in its own axes, from the control point
//   VinfX.. Z        the onset stream of the report's solution, (1, 0, 0)
//   OneMinusCp (i,j) 1 - Cp = (V / U)^2 at the control point, in that stream
// Panel number m, as the matrices of the report count them: m = (i - 1) NJ + j.

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

// Panel (i, j) of the panel number m = (i - 1) nj + j, for nj panels around the body.
struct PanelIndex {
  int i, j;
};
inline PanelIndex PanelOfNumber(int m, int nj) {
  return {(m - 1) / nj + 1, (m - 1) % nj + 1};
}

// Loop bound for a count: loops run while the counter is not above the unrounded count.
inline int LoopEnd(double count) {
  return static_cast<int>(std::floor(count));
}

}  // namespace tarvenol
