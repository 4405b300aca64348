#pragma once
// The report sections of a solution: the three velocity matrices, the source strengths and
// 1-Cp, each group appended to the report file in one open, write and close.

#include <string_view>
#include <vector>

#include "core/array.h"
#include "core/model_state.h"
#include "core/progress.h"

namespace tarvenol {

// "Hess method - Normal velocities" (Vn, NPan rows of NPan1 values, the right-hand side
// last), "u Tangential velocities" and "v Tangential velocities" (Vu, Vv: NPan values a row).
// Tells progress how far it has come, and throws Cancelled when it asks to stop.
void PrintVelocityMatrices(const ModelState& s, const Array2& Vn, const Array2& Vu,
                           const Array2& Vv, int NPan, int NPan1, Progress& progress);

// The same three sections after a solve by the body's symmetry, which forms no matrix: each
// title, and in place of its rows the line kMatrixNotFormed.
void PrintMatricesNotFormed(const ModelState& s);
inline constexpr std::string_view kMatrixNotFormed =
    " The matrix was not formed: the flow was solved by the body's rotational symmetry.";

// "Source strengths": Sigma, one line per panel row i.
void PrintSourceStrengths(const ModelState& s, const Array2& Sigma);

// "1-Cp": the given 1 - Cp by panel, one line per panel row i.
void PrintOneMinusCp(const ModelState& s, const Array2& OneMinusCp);

// The sizes of these sections in bytes, as their printers write them, for the estimate of a
// solve's report before it is made:
// the text of values as the velocity matrices print them, a blank and "#0.###0" each;
double MatrixValuesBytes(const std::vector<double>& values, char separator);
// the three velocity matrices of NPan rows whose values' text takes valueBytes;
double VelocityMatricesBytes(double valueBytes, double NPan);
// the three sections without their matrices;
double MatricesNotFormedBytes();
// about, the source strengths and 1-Cp of ni x nj panels.
double SolutionTablesBytes(double ni, double nj);

}  // namespace tarvenol
