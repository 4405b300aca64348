#include "batch/sweep_action.h"

#include <chrono>

#include "batch/batch_session.h"
#include "core/shown_text.h"
#include "session/guarded.h"
#include "session/saved_files.h"
#include "study/sweep_table.h"

namespace tarvenol {

void RunSweep(BatchSession& s, const std::string& in, const std::string& out) {
  Guarded(s.win, [&] {
    const SweepTable table = ReadSweepTable(in);
    const std::vector<HeldFile> held = HeldFiles(s.program, {{in, "the table of designs"}});
    std::string results = ResultsHeader(table.header);
    std::size_t first = 0, refused = 0;
    if (const std::optional<std::string> before = ReadTextIfThere(out)) {
      const ResumedRows done = RowsDone(table, *before);
      first = done.count;
      refused = done.refused;
      results += done.lines;
      if (first > 0) {
        Say("sweep: the first " + std::to_string(first) + " of " +
            std::to_string(table.rows.size()) + " rows are in " + ShownPath(out) +
            " already, and are not solved again.");
      }
    }
    using Clock = std::chrono::steady_clock;
    Clock::time_point block = Clock::now();
    for (std::size_t k = first; k < table.rows.size(); ++k) {
      SweepOutcome outcome;
      try {
        outcome = SweepRow(DesignOf(table, k), s.progress);
      } catch (const ProgramError& e) {
        outcome.error = e.what();
      }
      if (!outcome.error.empty()) ++refused;
      results += ResultsRow(table.rows[k], table.header.size(), outcome);
      const bool last = k + 1 == table.rows.size();
      if (last ||
          std::chrono::duration<double>(Clock::now() - block).count() >= kSweepBlockSeconds) {
        WriteWholeFile(out, "table of results", results, held);
        block = Clock::now();
      }
    }
    if (table.rows.size() == first) WriteWholeFile(out, "table of results", results, held);
    if (refused > 0) {
      s.win.MessageBox(std::to_string(refused) + " of the " + std::to_string(table.rows.size()) +
                       " designs of " + ShownPath(in) +
                       " were refused or failed: their messages are in the column error of " +
                       ShownPath(out) + ".");
    }
  });
}

}  // namespace tarvenol
