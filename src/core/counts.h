#pragma once
// The panel counts the program accepts, one rule for the typed counts and the body files.
// NI starts at 2: with one row of panels its corners lie on one line. NJ starts at 3: two
// meridians give a flat plate, no body. A body file's N profile points make NI = N - 1.

namespace tarvenol {

inline constexpr double kMinNI = 2;
inline constexpr double kMinNJ = 3;
inline constexpr double kMaxCount = 1e6;

// A whole number from least to most.
bool IsWholeCount(double value, double least, double most);

// Refuses, with a ProgramError, a count that is not a whole number from least to kMaxCount:
// "NJ must be a whole number from 3 to 1000000; 2.5 is not."
void RequireWholeCount(double count, const char* name, double least);

}  // namespace tarvenol
