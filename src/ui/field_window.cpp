#include "ui/field_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "plot/qt_charts.h"
#include "session/chart_commands.h"
#include "ui/focus_rest.h"
#include "ui/progress_panel.h"
#include "ui/window_placement.h"
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

FieldWindow::FieldWindow(Program& program, WindowOps& win, SavePathSink paths, QWidget* parent)
    : QWidget(parent, kResultWindow),
      program_(program),
      win_(win),
      paths_(std::move(paths)),
      view_(new FlowView(this)),
      colour_(new QComboBox(this)),
      compute_(new QPushButton("Compute the flow", this)),
      save_(new QPushButton("Save the picture...", this)),
      progress_(new ProgressPanel(this)) {
  setObjectName("Form_Field");
  setWindowTitle("Flow around the body");
  colour_->setObjectName("Combo_Colour");
  colour_->addItem("Colour by Cp");
  colour_->addItem("Colour by speed");
  compute_->setObjectName("Command_ComputeField");
  save_->setObjectName("Command_SavePicture");
  auto* controls = new QHBoxLayout;
  controls->setContentsMargins(6, 4, 6, 4);
  controls->addWidget(colour_);
  controls->addWidget(compute_);
  controls->addWidget(save_);
  controls->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(progress_);
  layout->addLayout(controls);
  layout->addWidget(view_, 1);
  // Beside the main window it may be narrowed, but not below a legible picture.
  view_->setMinimumSize(480, 360);
  runner_ = std::make_unique<WorkRunner>(progress_, view_, nullptr);
  connect(colour_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
  connect(progress_->CancelButton(), &QPushButton::clicked, this, [this] {
    stopping_ = true;
    cancelled_ = true;
  });
  connect(compute_, &QPushButton::clicked, this, [this] {
    stopped_ = 0;
    Compute();
  });
  connect(save_, &QPushButton::clicked, this, [this] { SavePicture(); });
  // Room at its least for the progress panel, so that the work shown never makes it grow.
  setMinimumHeight(layout->minimumSize().height() + progress_->sizeHint().height());
  resize(900, 760);
}

FieldWindow::~FieldWindow() = default;

bool FieldWindow::Working() const {
  return runner_->Working();
}

FlowColour FieldWindow::Colour() const {
  return colour_->currentIndex() == 1 ? FlowColour::Speed : FlowColour::Cp;
}

void FieldWindow::Follow(bool asked) {
  if (asked) stopped_ = 0;
  alpha_ = program_.alphaDegrees;
  const std::uint64_t key = SolutionKey(program_);
  shown_ = key;
  if (key == 0) {
    // No solution: whatever is running is of no use.
    Stop();
    program_.results.field.reset();
  } else if ((!program_.results.field || program_.results.field->solution != key) &&
             key != stopped_ && !(Working() && computing_ == key && !stopping_)) {
    Compute();
  }
  Redraw();
}

void FieldWindow::SettingsChanged() {
  AlphaChanged(program_.alphaDegrees);
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
  std::unique_ptr<Operation> operation = PlanFlowField(program_, win_, program_.results.field);
  if (!operation) return;
  computing_ = shown_;
  stopping_ = false;
  cancelled_ = false;
  runner_->Start(std::move(operation), [this](std::unique_ptr<Operation> done) {
    done->Finish(program_, win_);
    // A field the user stopped is offered again, not computed again unasked.
    if (cancelled_ && (!program_.results.field || program_.results.field->solution != computing_))
      stopped_ = computing_;
    if (std::exchange(followAgain_, false) && isVisible()) {
      Follow();
    } else {
      Redraw();
    }
  });
  // The button gives its focus to Cancel before it is put out of use.
  PassFocusTo(progress_->CancelButton(), compute_);
  Redraw();
}

void FieldWindow::Redraw() {
  const FlowColour colour = Colour();
  const bool drawn =
      shown_ != 0 && program_.results.field && program_.results.field->solution == shown_;
  if (shown_ == 0) {
    view_->Show(std::nullopt, colour, "No solution yet: apply Hess's panel method to a geometry.");
  } else if (drawn) {
    view_->Show(FlowPictureAt(*program_.results.field, alpha_), colour, {});
  } else if (Working()) {
    view_->Show(std::nullopt, colour, "The flow around the body is being computed.");
  } else if (stopped_ == shown_) {
    view_->Show(std::nullopt, colour,
                "The flow around the body was not computed: it was cancelled. \"Compute the "
                "flow\" computes it again.");
  } else {
    view_->Show(std::nullopt, colour, "The flow around this solution has not been computed.");
  }
  compute_->setEnabled(shown_ != 0 && !drawn && !Working());
  save_->setEnabled(drawn);
}

void FieldWindow::Stop() {
  runner_->Cancel();
  stopping_ = true;
}

void FieldWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Escape();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FieldWindow::Escape() {
  if (Working()) {
    if (progress_->CancelButton()->isEnabled()) progress_->CancelButton()->click();
  } else {
    close();
  }
}

void FieldWindow::SavePicture() {
  if (!program_.results.field || program_.results.field->solution != shown_) return;
  const std::string path = AskPicturePath(this, paths_, "Save the picture of the flow", "flow.png");
  if (path.empty()) return;
  QtCharts charts;
  SaveFlowPicture(program_, win_, charts, FlowPictureAt(*program_.results.field, alpha_), Colour(),
                  path);
}

void FieldWindow::hideEvent(QHideEvent* event) {
  Stop();
  QWidget::hideEvent(event);
}

}  // namespace tarvenol
