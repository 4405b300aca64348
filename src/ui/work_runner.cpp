#include "ui/work_runner.h"

#include <QPushButton>
#include <QThread>

#include "ui/focus_rest.h"
#include "ui/progress_panel.h"

namespace tarvenol {
namespace {

// How often the panel reads the progress again.
constexpr int kRefreshMilliseconds = 100;

}  // namespace

WorkRunner::WorkRunner(ProgressPanel* panel, QWidget* rest, QObject* parent)
    : QObject(parent), panel_(panel), rest_(rest) {
  refresh_.setInterval(kRefreshMilliseconds);
  connect(&refresh_, &QTimer::timeout, panel_, &ProgressPanel::Refresh);
  connect(panel_->CancelButton(), &QPushButton::clicked, this, [this] {
    Cancel();
    PassFocusTo(rest_, panel_->CancelButton());
    panel_->CancelButton()->setEnabled(false);
    panel_->Refresh();
  });
}

WorkRunner::~WorkRunner() {
  if (thread_ != nullptr) {
    Cancel();
    thread_->wait();
    delete thread_;
  }
}

bool WorkRunner::Start(std::unique_ptr<Operation> operation, Done done) {
  // The work running reads its operation and its progress: a second start would free them.
  if (Working()) return false;
  progress_ = std::make_unique<SharedProgress>();
  operation_ = std::move(operation);
  done_ = std::move(done);
  thread_ = QThread::create(
      [operation = operation_.get(), progress = progress_.get()] { operation->Run(*progress); });
  // Queued to this object's thread, the window's, when the work's thread has ended.
  connect(thread_, &QThread::finished, this, &WorkRunner::Ended);
  panel_->Begin(*progress_);
  refresh_.start();
  thread_->start();
  return true;
}

void WorkRunner::Ended() {
  refresh_.stop();
  PassFocusTo(rest_, panel_);
  panel_->hide();
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
  const Done done = std::move(done_);
  done(std::move(operation_));
}

}  // namespace tarvenol
