#pragma once
// Frame_Progress: while long work runs, it shows in the top strip of the window the stage the
// work is in, how far it has come in that stage and the time since it began, with a button
// that stops it.

#include <QElapsedTimer>
#include <QFrame>

#include "core/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvenol {

class ProgressPanel : public QFrame {
 public:
  explicit ProgressPanel(QWidget* parent);

  // Shown, from now on telling what progress holds.
  void Begin(const SharedProgress& progress);
  // Reads the progress again.
  void Refresh();
  QPushButton* CancelButton() const { return cancel_; }

 private:
  const SharedProgress* progress_ = nullptr;
  QElapsedTimer elapsed_;
  QLabel* stage_;
  QProgressBar* bar_;
  QPushButton* cancel_;
};

}  // namespace tarvenol
