#include "ui/field_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/progress_panel.h"
#include "ui/work_runner.h"

namespace tarvenol {

// The picture itself, drawn at the widget's size on each paint.
class FlowView : public QWidget {
 public:
  explicit FlowView(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture_Flow");
    setMinimumSize(320, 240);
  }
  void Show(std::optional<FlowPicture> picture, FlowColour colour, QString note) {
    picture_ = std::move(picture);
    colour_ = colour;
    note_ = std::move(note);
    // What the picture shows, in words, for a screen reader.
    setAccessibleName(picture_ ? QString::fromStdString(picture_->title) : note_);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (picture_) {
      DrawFlowPicture(painter, rect(), *picture_, colour_);
    } else {
      painter.fillRect(rect(), Qt::white);
      painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, note_);
    }
  }

 private:
  std::optional<FlowPicture> picture_;
  FlowColour colour_ = FlowColour::Cp;
  QString note_;
};

FieldWindow::FieldWindow(Program& program, WindowOps& win, QWidget* parent)
    : QWidget(parent, Qt::Window),
      program_(program),
      win_(win),
      view_(new FlowView(this)),
      colour_(new QComboBox(this)),
      progress_(new ProgressPanel(this)) {
  setObjectName("Form_Field");
  setWindowTitle("Flow around the body");
  colour_->setObjectName("Combo_Colour");
  colour_->addItem("Colour by Cp");
  colour_->addItem("Colour by speed");
  auto* controls = new QHBoxLayout;
  controls->addWidget(colour_);
  controls->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(progress_);
  layout->addLayout(controls);
  layout->addWidget(view_, 1);
  // Beside the main window it may be narrowed, but not below a legible picture.
  view_->setMinimumSize(560, 420);
  runner_ = std::make_unique<WorkRunner>(progress_, view_, nullptr);
  connect(colour_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
  connect(progress_->CancelButton(), &QPushButton::clicked, this, [this] { stopping_ = true; });
  resize(900, 760);
}

FieldWindow::~FieldWindow() = default;

bool FieldWindow::Working() const {
  return runner_->Working();
}

void FieldWindow::Follow() {
  alpha_ = program_.alphaDegrees;
  const std::uint64_t key = SolutionKey(program_);
  shown_ = key;
  if (key == 0) {
    // No solution: whatever is running is of no use.
    Stop();
    field_.reset();
  } else if ((!field_ || field_->solution != key) &&
             !(Working() && computing_ == key && !stopping_)) {
    Compute();
  }
  Redraw();
}

void FieldWindow::AlphaChanged(double degrees) {
  alpha_ = degrees;
  Redraw();
}

void FieldWindow::Compute() {
  if (runner_->Working()) {
    Stop();
    followAgain_ = true;
    return;
  }
  std::unique_ptr<Operation> operation = PlanFlowField(program_, win_, field_);
  if (!operation) return;
  computing_ = shown_;
  stopping_ = false;
  runner_->Start(std::move(operation), [this](std::unique_ptr<Operation> done) {
    done->Finish(program_, win_);
    if (std::exchange(followAgain_, false) && isVisible()) {
      Follow();
    } else {
      Redraw();
    }
  });
}

void FieldWindow::Redraw() {
  const auto colour = colour_->currentIndex() == 1 ? FlowColour::Speed : FlowColour::Cp;
  if (shown_ == 0) {
    view_->Show(std::nullopt, colour, "No solution yet: apply Hess's panel method to a geometry.");
  } else if (field_ && field_->solution == shown_) {
    view_->Show(FlowPictureAt(*field_, alpha_), colour, {});
  } else if (Working()) {
    view_->Show(std::nullopt, colour, "The flow around the body is being computed.");
  } else {
    view_->Show(std::nullopt, colour, "The flow around this solution has not been computed.");
  }
}

void FieldWindow::Stop() {
  runner_->Cancel();
  stopping_ = true;
}

void FieldWindow::hideEvent(QHideEvent* event) {
  Stop();
  QWidget::hideEvent(event);
}

}  // namespace tarvenol
