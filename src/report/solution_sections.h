#pragma once
// The report sections of a solution: the three velocity matrices, the source strengths and
// 1-Cp, each group appended to the report file in one open, write and close.

#include <string_view>

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

}  // namespace tarvenol
