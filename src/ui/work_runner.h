#pragma once
// Runs the long part of an operation on a thread of its own, so that the window goes on
// repainting and answering while the work is done, and shows how far it has come.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/progress.h"
#include "session/operation.h"

class QThread;
class QWidget;

namespace tarvenol {

class ProgressPanel;

class WorkRunner : public QObject {
 public:
  using Done = std::function<void(std::unique_ptr<Operation> operation)>;

  // The focus the panel holds goes to rest when its Cancel button is put out of use and when it
  // is hidden.
  WorkRunner(ProgressPanel* panel, QWidget* rest, QObject* parent);
  // Stops work still running and waits for it: nothing it did is taken.
  ~WorkRunner() override;

  // Runs the operation's long part; done gets it back on the window's thread when that part
  // has ended, to be finished there. While other work runs, nothing is started: false.
  bool Start(std::unique_ptr<Operation> operation, Done done);
  bool Working() const { return thread_ != nullptr; }
  // Asks the work to stop at its next coarse step.
  void Cancel() {
    if (progress_) progress_->Stop();
  }

 private:
  void Ended();

  ProgressPanel* panel_;
  QWidget* rest_;
  QTimer refresh_;
  std::unique_ptr<SharedProgress> progress_;  // a fresh one for each operation
  std::unique_ptr<Operation> operation_;
  Done done_;
  QThread* thread_ = nullptr;
};

}  // namespace tarvenol
