#pragma once
// How long work tells where it stands, and learns that the user wants it stopped: a small
// interface of the program's own, which the computing code calls at coarse steps.

#include <atomic>
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
  BodyPotential
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

}  // namespace tarvenol
