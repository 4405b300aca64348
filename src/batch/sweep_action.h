#pragma once
// The batch tool's sweep: every row of a table of designs built, solved by the body's symmetry
// and measured on its own (study/sweep_design.h), into a table of results
// (study/sweep_table.h), written whole at the end of each block of rows.

#include <string>

namespace tarvenol {

class BatchSession;

// A block of rows ends when its rows have taken this long, so that an interrupted sweep loses
// little, while writing the table again costs little beside the rows.
inline constexpr double kSweepBlockSeconds = 2;

// The rows of the table at in, into the table at out. Where out holds the results of the same
// header and its first designs, those rows are taken as they are, not solved again. A signal
// stops it between rows and leaves out as its last block wrote it. A refused row has its
// message in the column error, and the sweep goes on; the count of them is said at the end.
void RunSweep(BatchSession& session, const std::string& in, const std::string& out);

}  // namespace tarvenol
