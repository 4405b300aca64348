#include "ui/progress_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace tarvenol {
namespace {

// "Influence coefficients" from "influence coefficients".
QString Capitalised(const char* words) {
  QString text = QString::fromUtf8(words);
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  return text;
}

}  // namespace

ProgressPanel::ProgressPanel(QWidget* parent)
    : QFrame(parent),
      stage_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton("Cancel", this)) {
  setObjectName("Frame_Progress");
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAutoFillBackground(true);
  stage_->setObjectName("Label_Work");
  bar_->setObjectName("Progress_Work");
  bar_->setRange(0, 1000);
  bar_->setTextVisible(false);
  cancel_->setObjectName("Command_Cancel");

  auto* words = new QVBoxLayout;
  words->setSpacing(1);
  words->addWidget(stage_);
  words->addWidget(bar_);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 4, 2);
  row->addLayout(words, 1);
  row->addWidget(cancel_);
  hide();
}

void ProgressPanel::Begin(const SharedProgress& progress) {
  progress_ = &progress;
  elapsed_.start();
  cancel_->setEnabled(true);
  Refresh();
  show();
  raise();
}

void ProgressPanel::Refresh() {
  if (progress_ == nullptr) return;
  const double fraction = std::clamp(progress_->Fraction(), 0.0, 1.0);
  const auto percent = static_cast<int>(std::floor(100 * fraction));
  const auto seconds = static_cast<long long>(elapsed_.elapsed() / 1000);
  const QString time = seconds < 60 ? QString("%1 s").arg(seconds)
                                    : QString("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
  stage_->setText(progress_->Stopping()
                      ? QString("Stopping, %1").arg(time)
                      : QString("%1: %2 %, %3")
                            .arg(Capitalised(StageName(progress_->CurrentStage())))
                            .arg(percent)
                            .arg(time));
  bar_->setValue(static_cast<int>(std::lround(1000 * fraction)));
}

}  // namespace tarvenol
