#pragma once
// The batch tool run as a user runs it from a shell, in the working directory, with what it
// writes to standard output and standard error caught apart from any file of the folder.

#include <sys/types.h>

#include <string>
#include <vector>

namespace tarvenol::testing {

struct BatchRun {
  int status = -1;  // the exit status, or minus the signal that ended it
  std::string out;
  std::string err;
};

// The batch tool with these arguments, after the shell words before (variables, "ulimit -f 8;",
// a program that runs it), both as a shell reads them.
BatchRun Batch(const std::string& args, const std::string& before = "");

// The batch tool with these arguments, started without a shell and left running.
class RunningBatch {
 public:
  explicit RunningBatch(const std::vector<std::string>& args);
  ~RunningBatch();
  RunningBatch(const RunningBatch&) = delete;
  RunningBatch& operator=(const RunningBatch&) = delete;

  void Signal(int signal) const;
  // What it has written to standard error so far.
  std::string ErrSoFar() const;
  // Waits at most seconds for some text on standard error; whether it came.
  bool WaitForErr(const std::string& text, double seconds) const;
  // Waits for the end; after seconds it is killed, and the status says so.
  BatchRun Wait(double seconds = 600);

 private:
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;  // memory files the process writes into
};

}  // namespace tarvenol::testing
