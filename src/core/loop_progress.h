#pragma once
// Progress of a loop that OpenMP shares among threads: Progress may be told by one thread at a
// time, so OpenMP's thread 0 tells it, after each step it has done, the share from..to that the
// steps done by all make. A stop asked for makes the steps left skip their work (a worksharing
// loop cannot be left early), and Cancelled is thrown after the loop.

#include <omp.h>

#include <atomic>

#include "core/progress.h"

namespace tarvenol {

class LoopProgress {
 public:
  // No progress: the loop is never stopped.
  LoopProgress(Progress* progress, Stage stage, double from, double to, long steps)
      : progress_(progress), stage_(stage), from_(from), to_(to), steps_(steps) {}

  // A step that finds this true does nothing.
  bool Stopped() const { return stop_.load(std::memory_order_relaxed); }
  // After each step, on every thread.
  void StepDone() {
    const long done = done_.fetch_add(1, std::memory_order_relaxed) + 1;
    if (progress_ != nullptr && omp_get_thread_num() == 0 &&
        !progress_->Advance(stage_, Share(done))) {
      stop_.store(true, std::memory_order_relaxed);
    }
  }
  // Within a long step: on thread 0 it asks progress again, with nothing more done. True when
  // the loop is to stop.
  bool Asked() {
    if (progress_ != nullptr && omp_get_thread_num() == 0 &&
        !progress_->Advance(stage_, Share(done_.load(std::memory_order_relaxed)))) {
      stop_.store(true, std::memory_order_relaxed);
    }
    return Stopped();
  }
  // After the loop, outside the threads' region.
  void ThrowIfStopped() const {
    if (Stopped()) throw Cancelled();
  }

 private:
  double Share(long done) const {
    return from_ +
           (to_ - from_) * static_cast<double>(done) / static_cast<double>(steps_ > 0 ? steps_ : 1);
  }

  Progress* progress_;
  Stage stage_;
  double from_, to_;
  long steps_;
  std::atomic<long> done_ = 0;
  std::atomic<bool> stop_ = false;
};

}  // namespace tarvenol
