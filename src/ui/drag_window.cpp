#include "ui/drag_window.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "plot/drag_chart.h"
#include "plot/qt_charts.h"
#include "session/chart_commands.h"
#include "session/field_commands.h"
#include "session/mach_commands.h"
#include "ui/focus_rest.h"
#include "ui/progress_panel.h"
#include "ui/window_placement.h"
#include "ui/work_runner.h"

namespace tarvenol {
namespace {

// The transition's choices, in the order of the box.
constexpr TransitionKind kTransitions[] = {TransitionKind::Free, TransitionKind::Trip,
                                           TransitionKind::Laminar};
// A trip's place until the user types one: behind the nose, where tow tanks put the studs.
constexpr const char* kFirstTrip = "0.05";

bool SameSettings(const DragSettings& a, const DragSettings& b) {
  return a.reynolds == b.reynolds && a.transition.kind == b.transition.kind &&
         (a.transition.kind != TransitionKind::Trip ||
          a.transition.tripXOverL == b.transition.tripXOverL);
}

QString Figure(double v) {
  return QString::number(v, 'g', 4);
}

QString Place(const std::optional<double>& xOverL, const char* none) {
  return xOverL ? "x/L = " + Figure(*xOverL) : QString(none);
}

QString FiguresText(const DragResult& drag) {
  const DragFigures& f = drag.layer.figures;
  QString text =
      QString(
          "<b>Drag at Re<sub>L</sub> = %1</b>, on the wetted area C<sub>D</sub> = %2, on "
          "V<sup>2/3</sup> %3, on the frontal area %4<br>"
          "skin friction alone: C<sub>D</sub> = %5 on the wetted area; the ITTC 1957 line: "
          "C<sub>F</sub> = %6, form factor 1 + k = C<sub>D</sub> / C<sub>F</sub> = %7<br>"
          "transition (%8): %9; separation: %10")
          .arg(Figure(f.ReL), Figure(f.CDWetted), Figure(f.CDVolume), Figure(f.CDFrontal),
               Figure(f.CDFrictionWetted), Figure(f.CFITTC57), Figure(f.formFactor),
               QString::fromStdString(drag.settings.transition.kind == TransitionKind::Trip
                                          ? "tripped at x/L = " +
                                                TransitionText(drag.settings.transition)
                                          : TransitionText(drag.settings.transition)),
               Place(f.xTransition, "none"))
          .arg(Place(f.xSeparation, "none, the layer stays attached to the tail"));
  for (const std::string& warning : drag.layer.warnings) {
    text += "<br><small>" + QString::fromStdString(warning).toHtmlEscaped() + "</small>";
  }
  return text;
}

void ReplaceChart(QChartView* view, QChart* chart) {
  QChart* previous = view->chart();
  view->setChart(chart);
  delete previous;
}

}  // namespace

DragWindow::DragWindow(Program& program, WindowOps& win, SavePathSink paths, QWidget* parent)
    : QWidget(parent, kResultWindow),
      program_(program),
      win_(win),
      paths_(std::move(paths)),
      progress_(new ProgressPanel(this)),
      Text_Reynolds_(new QLineEdit(this)),
      Combo_Transition_(new QComboBox(this)),
      Text_Trip_(new QLineEdit(kFirstTrip, this)),
      Label_Drag_(new QLabel(this)),
      Chart_Drag_(new QChartView(this)),
      Command_ComputeDrag_(new QPushButton("Compute the drag", this)),
      Command_SaveTable_(new QPushButton("Save the table...", this)),
      Command_SaveChart_(new QPushButton("Save the chart...", this)) {
  setObjectName("Form_Drag");
  setWindowTitle("Drag");
  Text_Reynolds_->setObjectName("Text_Reynolds");
  Combo_Transition_->setObjectName("Combo_Transition");
  Text_Trip_->setObjectName("Text_Trip");
  Label_Drag_->setObjectName("Label_Drag");
  Chart_Drag_->setObjectName("Chart_Drag");
  Command_ComputeDrag_->setObjectName("Command_ComputeDrag");
  Command_SaveTable_->setObjectName("Command_SaveTable");
  Command_SaveChart_->setObjectName("Command_SaveDragChart");
  Combo_Transition_->addItem("free (Michel's criterion)");
  Combo_Transition_->addItem("tripped at x/L =");
  Combo_Transition_->addItem("laminar (none)");
  Text_Reynolds_->setMaximumWidth(110);
  Text_Trip_->setMaximumWidth(70);
  Chart_Drag_->setRenderHint(QPainter::Antialiasing);
  Chart_Drag_->setMinimumSize(560, 300);
  Label_Drag_->setWordWrap(true);
  Label_Drag_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* settings = new QHBoxLayout;
  settings->addWidget(new QLabel("Reynolds number on the length, Re<sub>L</sub> =", this));
  settings->addWidget(Text_Reynolds_);
  settings->addSpacing(12);
  settings->addWidget(new QLabel("Transition:", this));
  settings->addWidget(Combo_Transition_);
  settings->addWidget(Text_Trip_);
  settings->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Command_ComputeDrag_);
  buttons->addWidget(Command_SaveTable_);
  buttons->addWidget(Command_SaveChart_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(progress_);
  layout->addLayout(settings);
  layout->addWidget(Label_Drag_);
  layout->addWidget(Chart_Drag_, 1);
  layout->addLayout(buttons);
  runner_ = std::make_unique<WorkRunner>(progress_, Chart_Drag_, nullptr);
  // Room at its least for the figures with two warnings, and the progress panel.
  setMinimumHeight(layout->minimumSize().height() + progress_->sizeHint().height() +
                   7 * fontMetrics().lineSpacing());
  resize(820, 700);

  connect(Text_Reynolds_, &QLineEdit::editingFinished, this, [this] { ReynoldsTyped(); });
  connect(Combo_Transition_, &QComboBox::activated, this, [this] { TransitionChosen(); });
  connect(Text_Trip_, &QLineEdit::editingFinished, this, [this] { TransitionChosen(); });
  connect(progress_->CancelButton(), &QPushButton::clicked, this, [this] { cancelled_ = true; });
  connect(Command_ComputeDrag_, &QPushButton::clicked, this, [this] {
    stopped_ = 0;
    Compute();
  });
  connect(Command_SaveTable_, &QPushButton::clicked, this, [this] { SaveTable(); });
  connect(Command_SaveChart_, &QPushButton::clicked, this, [this] { SaveChart(); });
  ShowSettings();
}

DragWindow::~DragWindow() {
  // A box that loses the focus as the window goes sets nothing.
  Text_Reynolds_->blockSignals(true);
  Text_Trip_->blockSignals(true);
}

bool DragWindow::Working() const {
  return runner_->Working();
}

bool DragWindow::Current() const {
  return program_.results.drag && program_.results.drag->solution == SolutionKey(program_) &&
         refusal_.empty() && SameSettings(program_.results.drag->settings, program_.drag) &&
         program_.results.drag->mach == CurrentMach(program_);
}

void DragWindow::ShowSettings() {
  const QSignalBlocker quietBox(Text_Reynolds_), quietTrip(Text_Trip_);
  if (!Text_Reynolds_->hasFocus()) {
    Text_Reynolds_->setText(QString::number(program_.drag.reynolds, 'g', 10));
  }
  const TransitionSetting& t = program_.drag.transition;
  for (int k = 0; k < static_cast<int>(std::size(kTransitions)); ++k) {
    if (kTransitions[k] == t.kind) Combo_Transition_->setCurrentIndex(k);
  }
  if (t.kind == TransitionKind::Trip && !Text_Trip_->hasFocus()) {
    Text_Trip_->setText(QString::fromStdString(TransitionText(t)));
  }
  Text_Trip_->setEnabled(t.kind == TransitionKind::Trip);
}

void DragWindow::ReynoldsTyped() {
  if (Text_Reynolds_->text() == QString::number(program_.drag.reynolds, 'g', 10)) return;
  const bool taken = SetReynolds(program_, win_, Text_Reynolds_->text().toStdString());
  if (!taken) Text_Reynolds_->setText(QString::number(program_.drag.reynolds, 'g', 10));
  Follow(true);
}

void DragWindow::TransitionChosen() {
  const TransitionKind kind = kTransitions[Combo_Transition_->currentIndex()];
  const std::string text = kind == TransitionKind::Free      ? "free"
                           : kind == TransitionKind::Laminar ? "laminar"
                                                             : Text_Trip_->text().toStdString();
  // A trip refused leaves the setting before, which the controls show again.
  SetTransition(program_, win_, text);
  Follow(true);
}

void DragWindow::Follow(bool asked) {
  if (asked) stopped_ = 0;
  ShowSettings();
  const std::uint64_t key = SolutionKey(program_);
  // Planned only to learn whether there is a drag to compute; run below when there is.
  std::optional<DragResult> unused;
  PlanDrag(program_, unused, refusal_);
  if (!refusal_.empty()) {
    if (Working()) runner_->Cancel();
  } else if (!Current() && key != stopped_) {
    Compute();
  }
  Redraw();
}

void DragWindow::Compute() {
  if (Working()) {
    runner_->Cancel();
    followAgain_ = true;
    return;
  }
  std::unique_ptr<Operation> operation = PlanDrag(program_, program_.results.drag, refusal_);
  if (!operation) {
    Redraw();
    return;
  }
  computing_ = SolutionKey(program_);
  cancelled_ = false;
  runner_->Start(std::move(operation), [this](std::unique_ptr<Operation> done) {
    done->Finish(program_, win_);
    // A drag the user stopped is offered again, not computed again unasked.
    if (cancelled_ && !Current()) stopped_ = computing_;
    if (std::exchange(followAgain_, false) && isVisible()) {
      Follow();
    } else {
      Redraw();
    }
  });
  PassFocusTo(progress_->CancelButton(), Command_ComputeDrag_);
  Redraw();
}

void DragWindow::Redraw() {
  const bool drawn = Current();
  if (drawn) {
    Label_Drag_->setText(FiguresText(*program_.results.drag));
    ReplaceChart(Chart_Drag_,
                 MakeDragChart(program_.results.drag->layer, program_.results.drag->length,
                               program_.results.drag->body));
  } else {
    QString note = QString::fromStdString(refusal_).toHtmlEscaped();
    if (refusal_.empty()) {
      note = Working() ? "The boundary layer is being computed."
             : stopped_ == SolutionKey(program_)
                 ? "The drag was not computed: it was cancelled. \"Compute the drag\" computes it "
                   "again."
                 : "The drag of this solution has not been computed.";
    }
    Label_Drag_->setText(note);
    ReplaceChart(Chart_Drag_, new QChart);
  }
  Command_ComputeDrag_->setEnabled(refusal_.empty() && !drawn && !Working());
  Command_SaveTable_->setEnabled(drawn);
  Command_SaveChart_->setEnabled(drawn);
}

void DragWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Escape();
    return;
  }
  QWidget::keyPressEvent(event);
}

void DragWindow::Escape() {
  if (Working()) {
    if (progress_->CancelButton()->isEnabled()) progress_->CancelButton()->click();
  } else {
    close();
  }
}

void DragWindow::hideEvent(QHideEvent* event) {
  runner_->Cancel();
  QWidget::hideEvent(event);
}

void DragWindow::SaveTable() {
  if (!Current()) return;
  const QString chosen = AskSavePath(this, paths_, "Save the boundary layer's table",
                                     "boundary_layer.csv", "CSV tables (*.csv)");
  if (chosen.isEmpty()) return;
  ExportDragCsv(program_, win_, *program_.results.drag, QFile::encodeName(chosen).toStdString());
}

void DragWindow::SaveChart() {
  if (!Current()) return;
  const std::string path =
      AskPicturePath(this, paths_, "Save the chart of the boundary layer", "boundary_layer.png");
  if (path.empty()) return;
  QtCharts charts;
  SaveDragPlot(program_, win_, charts, *program_.results.drag, path);
}

}  // namespace tarvenol
