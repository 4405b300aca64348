#include "ui/incidence_window.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "plot/moment_chart.h"
#include "plot/qt_charts.h"
#include "results/accuracy.h"
#include "session/chart_commands.h"
#include "session/incidence_commands.h"
#include "session/mach_commands.h"
#include "session/results_commands.h"
#include "ui/focus_rest.h"
#include "ui/mach_box.h"
#include "ui/progress_panel.h"
#include "ui/window_placement.h"

namespace tarvenol {
namespace {

// The moment curve's angles, the slider's range.
constexpr double kCurveFrom = -90, kCurveTo = 90, kCurveStep = 5;

QString AtDigits(double value, double error) {
  return QString::fromStdString(AtAccuracy(value, error));
}

// The error after a value, where it is more than the rounding that every value keeps.
QString Plus(double error, bool more) {
  return more ? QString::fromStdString(" ± " + ErrorText(error)) : QString();
}

// The panelled body's figures, exact for it: four digits are what a reader compares.
QString Figure(double v) {
  return QString::number(v, 'g', 4);
}

// The force and moment at the angle shown, each at the digits its error supports.
QString ForcesText(const PressureForces& f, const ForcesTable& table) {
  const BodyFigures& figures = table.figures;
  const double volume = std::fabs(figures.volume);
  const double momentError = MomentError(table, f);
  const bool panelsError = momentError > 2 * MomentRounding(figures);
  const double rounding = ForceRounding(figures);
  const double net =
      std::sqrt(f.force[0] * f.force[0] + f.force[1] * f.force[1] + f.force[2] * f.force[2]);
  // The net force is itself the panels' error: two digits of it.
  const double forceError = std::max(rounding, net / 10);
  const double cf = ForceCoefficient(net, figures);
  return QString(
             "<b>At α = %1°</b>, in units of ½ρU², about the centre of volume (%2, 0, 0):<br>"
             "pitching moment, nose up: %3%4 (C<sub>M</sub> = %5 on the volume)<br>"
             "moment (%6, %7, %8)<br>"
             "net force (%9, %10, %11): |C<sub>F</sub>| = %12 on V<sup>2/3</sup>; the exact flow "
             "has none, so this is the panels' error<br>"
             "<small>Numbers are rounded at their error, and one smaller than its error shows as "
             "0. The moment's error is twice its distance from Munk's moment of the panels' "
             "own sources, which the exact flow makes equal.</small>")
      .arg(QString::number(f.alphaDegrees), Figure(f.reference[0]),
           AtDigits(f.Pitching(), momentError), Plus(momentError, panelsError),
           AtDigits(MomentCoefficient(f.Pitching(), figures), momentError / volume) +
               Plus(momentError / volume, panelsError),
           AtDigits(f.moment[0], momentError), AtDigits(f.moment[1], momentError),
           AtDigits(f.moment[2], momentError), AtDigits(f.force[0], forceError))
      .arg(AtDigits(f.force[1], forceError), AtDigits(f.force[2], forceError),
           AtDigits(cf, ForceCoefficient(forceError, figures)));
}

// The added masses, each estimate at the digits of its error: Richardson's for this solution
// and the coarse one, from their difference; the same, as the best known, for the extrapolation.
QString AddedMassesText(const BodyReport& report) {
  const auto errorOf = [&](double fine, double coarse) {
    return std::fabs(fine - coarse) / (report.ratio - 1);
  };
  const AddedMassCoefficients& fine = report.solution;
  const AddedMassCoefficients& coarse = report.coarse;
  const double error[3] = {errorOf(fine.k1, coarse.k1), errorOf(fine.k2, coarse.k2),
                           errorOf(fine.kPrime, coarse.kPrime)};
  const auto row = [](const QString& name, const QString& k1, const QString& k2,
                      const QString& kPrime) {
    return QString("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
        .arg(name, k1, k2, kPrime);
  };
  const auto estimate = [&](const QString& name, const AddedMassCoefficients& k, double scale) {
    return row(name, AtDigits(k.k1, scale * error[0]), AtDigits(k.k2, scale * error[1]),
               AtDigits(k.kPrime, scale * error[2]));
  };
  QString text =
      "<b>Added masses</b> (k′ on the displaced fluid's moment of inertia about the centre), "
      "each at the digits of its error as the two solutions estimate it:"
      "<table cellspacing=6><tr><td></td><td>k1</td><td>k2</td><td>k′</td></tr>";
  text += estimate("this solution", fine, 1);
  text += estimate(QString("%1 × %2 panels").arg(report.coarseNI).arg(report.coarseNJ), coarse,
                   report.ratio);
  text += estimate("extrapolated", report.extrapolated, 1);
  if (const std::optional<Spheroid>& exact = report.spheroid) {
    text += row("Lamb, the spheroid", Figure(exact->k1), Figure(exact->k2), Figure(exact->kPrime));
  }
  return text + "</table>";
}

QString FiguresText(const BodyFigures& figures, const std::optional<BodyReport>& report) {
  const QString text =
      QString("<b>The panelled body</b>: volume %1, wetted area %2, centre of volume x = %3")
          .arg(Figure(figures.volume), Figure(figures.wettedArea), Figure(figures.centreX));
  return report ? text + "<br>" + AddedMassesText(*report) : text;
}

void ReplaceChart(QChartView* view, QChart* chart) {
  QChart* previous = view->chart();
  view->setChart(chart);
  delete previous;
}

}  // namespace

IncidenceWindow::IncidenceWindow(QWidget* parent, Program& program, WindowOps& win,
                                 SavePathSink paths, std::function<bool(const QString&)> setAngle,
                                 std::function<void()> askAddedMasses,
                                 std::function<bool(const QString&, PressureRule)> setMach)
    : QWidget(parent, kResultWindow),
      program_(program),
      win_(win),
      paths_(std::move(paths)),
      setAngle_(std::move(setAngle)),
      progress_(new ProgressPanel(this)),
      Text_Alpha_(new QLineEdit("0", this)),
      HScroll_Alpha_(new QSlider(Qt::Horizontal, this)),
      mach_(new MachBox(this, std::move(setMach))),
      Label_Forces_(new QLabel(this)),
      Chart_Moment_(new QChartView(this)),
      Label_Figures_(new QLabel(this)),
      Command_AddedMasses_(new QPushButton("Compute the added masses", this)),
      Command_SaveChart_(new QPushButton("Save the chart...", this)) {
  setObjectName("Form_Incidence");
  setWindowTitle("Body at incidence");
  Text_Alpha_->setObjectName("Text_Alpha");
  HScroll_Alpha_->setObjectName("HScroll_Alpha");
  Label_Forces_->setObjectName("Label_Forces");
  Chart_Moment_->setObjectName("Chart_Moment");
  Label_Figures_->setObjectName("Label_Figures");
  Command_AddedMasses_->setObjectName("Command_AddedMasses");
  Command_SaveChart_->setObjectName("Command_SaveChart");
  HScroll_Alpha_->setRange(static_cast<int>(kCurveFrom), static_cast<int>(kCurveTo));
  Text_Alpha_->setMaximumWidth(80);
  Chart_Moment_->setRenderHint(QPainter::Antialiasing);
  Chart_Moment_->setMinimumSize(500, 240);
  // The texts wrap: a longer number never widens the window.
  for (QLabel* label : {Label_Forces_, Label_Figures_}) {
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  // A click leaves the focus where the user had it, which the work gives back when it ends.
  Command_AddedMasses_->setFocusPolicy(Qt::TabFocus);

  auto* angle = new QHBoxLayout;
  angle->addWidget(new QLabel("Angle of attack α, degrees:", this));
  angle->addWidget(Text_Alpha_);
  angle->addWidget(HScroll_Alpha_, 1);
  angle->addSpacing(12);
  angle->addWidget(mach_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Command_AddedMasses_);
  buttons->addWidget(Command_SaveChart_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(progress_);
  layout->addLayout(angle);
  layout->addWidget(Label_Forces_);
  layout->addWidget(Chart_Moment_, 1);
  layout->addWidget(Label_Figures_);
  layout->addLayout(buttons);
  // Room at its least for the texts at their longest (6 and 9 lines) and the progress panel:
  // neither a result nor the work shown makes the window grow past the screen's edge.
  setMinimumHeight(layout->minimumSize().height() + progress_->sizeHint().height() +
                   13 * fontMetrics().lineSpacing());
  resize(760, 760);

  connect(Text_Alpha_, &QLineEdit::editingFinished, this, [this] { AngleTyped(); });
  connect(HScroll_Alpha_, &QSlider::valueChanged, this, [this](int v) { SliderMoved(v); });
  connect(Command_AddedMasses_, &QPushButton::clicked, this,
          [this, ask = std::move(askAddedMasses)] {
            focusBefore_ = focusWidget();
            ask();
          });
  connect(Command_SaveChart_, &QPushButton::clicked, this, [this] { SaveChart(); });
}

IncidenceWindow::~IncidenceWindow() {
  Text_Alpha_->blockSignals(true);
  HScroll_Alpha_->blockSignals(true);
}

QWidget* IncidenceWindow::FocusRest() const {
  return Chart_Moment_;
}

void IncidenceWindow::AngleTyped() {
  setAngle_(Text_Alpha_->text());
}

void IncidenceWindow::SliderMoved(int degrees) {
  setAngle_(QString::number(degrees));
}

void IncidenceWindow::SetWorking(bool working) {
  working_ = working;
  if (working) {
    QWidget* rest =
        progress_->isVisible() ? static_cast<QWidget*>(progress_->CancelButton()) : Chart_Moment_;
    PassFocusTo(rest, Command_AddedMasses_);
  }
  Command_AddedMasses_->setEnabled(!working_ && program_.state.ShowSolution &&
                                   !program_.results.bodyReport);
  // Setting the Mach number solves the body again.
  mach_->setEnabled(!working_);
}

void IncidenceWindow::WorkEnded() {
  if (QWidget* before = focusBefore_; before != nullptr && before->isEnabled() &&
                                      before->isVisible() && focusWidget() == Chart_Moment_) {
    before->setFocus(Qt::OtherFocusReason);
  }
  focusBefore_ = nullptr;
}

void IncidenceWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Escape();
    return;
  }
  QWidget::keyPressEvent(event);
}

void IncidenceWindow::Escape() {
  if (progress_->isVisible()) {
    if (progress_->CancelButton()->isEnabled()) progress_->CancelButton()->click();
  } else {
    close();
  }
}

void IncidenceWindow::hideEvent(QHideEvent* event) {
  if (progress_->isVisible() && progress_->CancelButton()->isEnabled()) {
    progress_->CancelButton()->click();
  }
  QWidget::hideEvent(event);
}

void IncidenceWindow::SaveChart() {
  const std::string path =
      AskPicturePath(this, paths_, "Save the chart of the moment", "moment.png");
  if (path.empty()) return;
  QtCharts charts;
  SaveMomentPlot(program_, win_, charts, path, kCurveFrom, kCurveTo, kCurveStep);
}

void IncidenceWindow::ShowBody() {
  Program& p = program_;
  const QSignalBlocker quietBox(Text_Alpha_), quietSlider(HScroll_Alpha_);
  if (!Text_Alpha_->hasFocus()) Text_Alpha_->setText(QString::number(p.alphaDegrees));
  HScroll_Alpha_->setValue(static_cast<int>(std::lround(p.alphaDegrees)));
  mach_->Follow(CurrentMach(p));
  // The curve is the pressure's at the results' Mach number, kept for the solution and made
  // anew at another Mach number; it carries the forces at the angle shown.
  const std::optional<ForcesTable> table =
      p.state.ShowSolution ? std::optional(ForcesTableOf(p, kCurveFrom, kCurveTo, kCurveStep))
                           : std::nullopt;
  SetWorking(working_);
  Command_SaveChart_->setEnabled(table && table->shown);
  if (!table || !table->shown) {
    Label_Forces_->setText("No solution yet: apply Hess's panel method to a geometry.");
    Label_Figures_->clear();
    ReplaceChart(Chart_Moment_, new QChart);
    return;
  }
  // At a Mach number above the critical, the warning first.
  const std::optional<std::string> warning = MachWarning(p);
  const QString atMach = p.mach.mach > 0
                             ? QString(" <i>At M = %1, by Göthert's rule.</i>").arg(p.mach.mach)
                             : QString();
  Label_Forces_->setText((warning
                              ? "<font color=#b00000>" +
                                    QString::fromStdString(*warning).toHtmlEscaped() + "</font><br>"
                              : QString()) +
                         ForcesText(*table->shown, *table) + atMach);
  Label_Figures_->setText(FiguresText(table->figures, p.results.bodyReport));
  ReplaceChart(Chart_Moment_, MakeMomentChart(*table, BodyName(p)));
}

}  // namespace tarvenol
