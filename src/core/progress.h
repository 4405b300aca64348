#pragma once
// How long work tells where it stands, and learns that the user wants it stopped: a small
// interface of the program's own, which the computing code calls at coarse steps.

#include <atomic>
#include <chrono>
#include <exception>

namespace tarvenol {

enum class Stage {
  Geometry,
  Coefficients,
  MatrixReport,
  Elimination,
  SurfaceVelocity,
  Report,
  FlowField,
  Streamlines,
  BodyPotential,
  Points,
  Picture,
  Forces,
  BoundaryLayer
};

// A few words for the stage, as a user reads them: "influence coefficients".
const char* StageName(Stage stage);

class Progress {
 public:
  virtual ~Progress() = default;
  // The work has done fraction (0 to 1) of stage. False asks it to stop: it then stops at its
  // next coarse step by throwing Cancelled. Called by one thread at a time, not always the same.
  virtual bool Advance(Stage stage, double fraction) = 0;
};

// Work that shows nothing and is never stopped.
class IgnoredProgress : public Progress {
 public:
  bool Advance(Stage, double) override { return true; }
};

// One part of a stage told as the share from..to of it: sections written one after the other
// make one report stage that only grows.
class PartProgress : public Progress {
 public:
  PartProgress(Progress& whole, double from, double to) : whole_(whole), from_(from), to_(to) {}
  bool Advance(Stage stage, double fraction) override {
    return whole_.Advance(stage, from_ + fraction * (to_ - from_));
  }

 private:
  Progress& whole_;
  double from_, to_;
};

// Progress of work on one thread that another thread shows, and may stop: the stage and the
// fraction reached, and a request to stop, each read and written whole.
class SharedProgress : public Progress {
 public:
  bool Advance(Stage stage, double fraction) override {
    stage_.store(stage, std::memory_order_relaxed);
    fraction_.store(fraction, std::memory_order_relaxed);
    return !stop_.load(std::memory_order_relaxed);
  }
  void Stop() { stop_.store(true, std::memory_order_relaxed); }

  Stage CurrentStage() const { return stage_.load(std::memory_order_relaxed); }
  double Fraction() const { return fraction_.load(std::memory_order_relaxed); }
  bool Stopping() const { return stop_.load(std::memory_order_relaxed); }

 private:
  std::atomic<Stage> stage_{Stage::Geometry};
  std::atomic<double> fraction_{0};
  std::atomic<bool> stop_{false};
};

// The work was stopped at the user's request.
class Cancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "The operation was cancelled."; }
};

// Advance, and Cancelled when the answer is to stop.
inline void Step(Progress& progress, Stage stage, double fraction) {
  if (!progress.Advance(stage, fraction)) throw Cancelled();
}

// How often a long loop tells its progress, and so learns of a cancel: well within the 100 ms
// in which a cancel must take effect.
inline constexpr std::chrono::milliseconds kProgressInterval{20};

// The steps of a loop on one thread told to progress no oftener than kProgressInterval, however
// short each step is; the first at once.
class ProgressClock {
 public:
  // Step(progress, stage, fraction) once the interval has passed since the last one.
  void Tick(Progress& progress, Stage stage, double fraction) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < kProgressInterval) return;
    last_ = now;
    Step(progress, stage, fraction);
  }

 private:
  std::chrono::steady_clock::time_point last_{};
};

// The same for a loop whose items run on several threads: any thread may ask between items;
// progress is told by one of them at a time, no oftener than kProgressInterval, the first at
// once.
class ParallelStop {
 public:
  ParallelStop(Progress& progress, Stage stage) : progress_(progress), stage_(stage) {}

  // Whether the loop must stop, fraction being how far it has come.
  bool Stopping(double fraction) {
    if (stop_.load(std::memory_order_relaxed)) return true;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    if (now - last_.load(std::memory_order_relaxed) < Interval() ||
        telling_.exchange(true, std::memory_order_acquire)) {
      return false;
    }
    last_.store(now, std::memory_order_relaxed);
    if (!progress_.Advance(stage_, fraction)) stop_.store(true, std::memory_order_relaxed);
    telling_.store(false, std::memory_order_release);
    return stop_.load(std::memory_order_relaxed);
  }
  // Cancelled, once the loop has ended, where it was asked to stop.
  void ThrowIfStopped() const {
    if (stop_.load(std::memory_order_relaxed)) throw Cancelled();
  }

 private:
  static long long Interval() {
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(kProgressInterval)
        .count();
  }

  Progress& progress_;
  Stage stage_;
  std::atomic<bool> stop_{false}, telling_{false};
  std::atomic<long long> last_{0};
};

}  // namespace tarvenol
