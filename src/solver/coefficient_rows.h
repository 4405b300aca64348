#pragma once
// Internal to the solver library: only its own files and its tests include it.
// One row of influence coefficients: the velocity that unit source strength on each of a set of
// source panels induces at one field point, resolved along three axes of the field point's.
// The full matrices are these rows for every panel; the solve by the body's symmetry needs them
// for the panels of one meridian only, against half the source panels.

#include <memory>
#include <vector>

#include "core/model_state.h"
#include "solver/vector_path.h"

namespace tarvenol {

// Source panels taken together, side by side in the lanes of the vector loops.
inline constexpr int kLanes = 64;

// What the coefficients need of the source panels, one array per quantity in the row's order,
// so that the source panels of a block lie side by side. Corners are kept as four slots: a panel
// of three corners repeats its first corner in the fourth slot, so that each of the first three
// edges runs from slot k to slot k + 1 for every panel.
struct SourcePanels {
  // The panels (i, j) of j = 1..columns in each ring i = 1..NI, ring by ring; with columns = NJ,
  // every panel in the order of its number m = (i - 1) * NJ + j.
  SourcePanels(const ModelState& s, int columns);
  // The panels of the given numbers m = (i - 1) * NJ + j, in the order given.
  SourcePanels(const ModelState& s, const std::vector<int>& numbers);

  int count = 0;
  std::vector<double> xC, yC, zC;
  std::vector<double> XsiX, XsiY, XsiZ, ItaX, ItaY, ItaZ, ZtaX, ZtaY, ZtaZ;
  std::vector<double> fourCorners;  // 1 for a panel of four corners, 0 for one of three
  std::vector<double> xi[4], eta[4];
  std::vector<double> dXi[4], dEta[4], d[4];  // edge k runs from corner k to the next

 private:
  void Allocate(int panels);
  void Take(const ModelState& s, int i, int j, std::size_t m);
};

// The field point of a row, and the three axes its velocities are resolved along: a field
// panel's control point and its own axes Xsi, Ita, Zta, or any other orthonormal triple.
struct FieldPanel {
  double xC, yC, zC;
  double XsiX, XsiY, XsiZ, ItaX, ItaY, ItaZ, ZtaX, ZtaY, ZtaZ;
};

// The field panel (i, j) with its own axes.
FieldPanel FieldPanelOf(const ModelState& s, int i, int j);

struct KernelConstants {
  double PI, TwoPI, FourPI;
};

// What a row's kernel works in, 24 KiB.
struct RowWork;

// One work area for each thread, made before the threads start: a thread's stack may be as
// small as 16 KiB (OMP_STACKSIZE), and memory asked for inside the threads' region could not be
// refused with a message.
class RowWorkAreas {
 public:
  explicit RowWorkAreas(int threads);
  ~RowWorkAreas();
  RowWorkAreas(const RowWorkAreas&) = delete;
  RowWorkAreas& operator=(const RowWorkAreas&) = delete;
  RowWork& Of(int thread) { return *areas_[static_cast<std::size_t>(thread)]; }

 private:
  std::vector<std::unique_ptr<RowWork>> areas_;
};

// Fills vn, vu and vv at 1..P.count with the components along the field's Zta, Xsi and Ita of
// the velocity each source panel induces, by the plain formula for one panel at one point
// (OutlineVelocity): the same operations in the same order, so the same bits on every path.
using RowFunction = void (*)(const SourcePanels& P, const FieldPanel& f, const KernelConstants& c,
                             RowWork& work, double* vn, double* vu, double* vv);

// The row's kernel built for the vector path.
RowFunction RowFor(VectorPath path);

// The same for the source panels begin + 1..end alone: fills vn, vu and vv there, the same bits
// as the whole row's; and, where vp is not null, vp with the potential of unit source strength
// on each source panel (OutlinePotential's, within rounding).
using RowRangeFunction = void (*)(const SourcePanels& P, int begin, int end, const FieldPanel& f,
                                  const KernelConstants& c, RowWork& work, double* vn, double* vu,
                                  double* vv, double* vp);
RowRangeFunction RowRangeFor(VectorPath path);

}  // namespace tarvenol
