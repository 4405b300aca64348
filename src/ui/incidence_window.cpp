#include "ui/incidence_window.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "flow/incidence_flow.h"
#include "flow/results_flow.h"
#include "plot/moment_chart.h"

namespace tarvenol {
namespace {

QString Number(double v) {
  return QString::number(v, 'g', 6);
}

// The force and moment at the angle shown, and what the exact flow would give.
QString ForcesText(const PressureForces& f, const BodyFigures& figures) {
  const double residual =
      std::sqrt(f.force[0] * f.force[0] + f.force[1] * f.force[1] + f.force[2] * f.force[2]);
  return QString(
             "<b>At α = %1°</b>, in units of ½ρU², about the centre of volume (%2, 0, 0):<br>"
             "pitching moment, nose up: %3 (C<sub>M</sub> = %4 on the volume)<br>"
             "moment (%5, %6, %7)<br>"
             "net force (%8, %9, %10): |C<sub>F</sub>| = %11 on V<sup>2/3</sup>; the exact flow "
             "has none, so this is the panels' error")
      .arg(Number(f.alphaDegrees), Number(f.reference[0]), Number(f.Pitching()),
           Number(MomentCoefficient(f.Pitching(), figures)), Number(f.moment[0]),
           Number(f.moment[1]), Number(f.moment[2]), Number(f.force[0]), Number(f.force[1]))
      .arg(Number(f.force[2]), Number(ForceCoefficient(residual, figures)));
}

QString FiguresText(const BodyFigures& figures, const std::optional<BodyReport>& report) {
  QString text =
      QString("<b>The body</b>: volume %1, wetted area %2, centre of volume x = %3")
          .arg(Number(figures.volume), Number(figures.wettedArea), Number(figures.centreX));
  if (!report) return text;
  const auto row = [](const char* name, const AddedMassCoefficients& k) {
    return QString("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
        .arg(name, Number(k.k1), Number(k.k2), Number(k.kPrime));
  };
  text +=
      "<br><b>Added masses</b> (k′ on the displaced fluid's moment of inertia about the "
      "centre):<table cellspacing=6><tr><td></td><td>k1</td><td>k2</td><td>k′</td></tr>";
  text += row("this solution", report->solution);
  text += row(QString("%1 × %2 panels").arg(report->coarseNI).arg(report->coarseNJ).toUtf8(),
              report->coarse);
  text += row("extrapolated", report->extrapolated);
  if (report->spheroid) {
    text += row("Lamb, the spheroid",
                {report->spheroid->k1, report->spheroid->k2, report->spheroid->kPrime});
  }
  return text + "</table>";
}

}  // namespace

IncidenceWindow::IncidenceWindow(QWidget* parent, std::function<bool(const QString&)> setAngle,
                                 std::function<void()> askAddedMasses)
    : QWidget(parent, Qt::Window),
      setAngle_(std::move(setAngle)),
      Text_Alpha_(new QLineEdit("0", this)),
      HScroll_Alpha_(new QSlider(Qt::Horizontal, this)),
      Label_Forces_(new QLabel(this)),
      Chart_Moment_(new QChartView(this)),
      Label_Figures_(new QLabel(this)),
      Command_AddedMasses_(new QPushButton("Compute the added masses", this)) {
  setObjectName("Form_Incidence");
  setWindowTitle("Body at incidence");
  Text_Alpha_->setObjectName("Text_Alpha");
  HScroll_Alpha_->setObjectName("HScroll_Alpha");
  Label_Forces_->setObjectName("Label_Forces");
  Chart_Moment_->setObjectName("Chart_Moment");
  Label_Figures_->setObjectName("Label_Figures");
  Command_AddedMasses_->setObjectName("Command_AddedMasses");
  HScroll_Alpha_->setRange(-90, 90);
  Text_Alpha_->setMaximumWidth(80);
  Chart_Moment_->setRenderHint(QPainter::Antialiasing);
  Chart_Moment_->setMinimumSize(520, 320);
  Label_Figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Label_Forces_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* angle = new QHBoxLayout;
  angle->addWidget(new QLabel("Angle of attack α, degrees:", this));
  angle->addWidget(Text_Alpha_);
  angle->addWidget(HScroll_Alpha_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(angle);
  layout->addWidget(Label_Forces_);
  layout->addWidget(Chart_Moment_, 1);
  layout->addWidget(Label_Figures_);
  layout->addWidget(Command_AddedMasses_, 0, Qt::AlignLeft);
  resize(760, 760);

  connect(Text_Alpha_, &QLineEdit::editingFinished, this, [this] { AngleTyped(); });
  connect(HScroll_Alpha_, &QSlider::valueChanged, this, [this](int v) { SliderMoved(v); });
  connect(Command_AddedMasses_, &QPushButton::clicked, this, std::move(askAddedMasses));
}

IncidenceWindow::~IncidenceWindow() {
  Text_Alpha_->blockSignals(true);
  HScroll_Alpha_->blockSignals(true);
}

void IncidenceWindow::AngleTyped() {
  setAngle_(Text_Alpha_->text());
}

void IncidenceWindow::SliderMoved(int degrees) {
  setAngle_(QString::number(degrees));
}

void IncidenceWindow::ShowBody(const Program& p) {
  const QSignalBlocker quietBox(Text_Alpha_), quietSlider(HScroll_Alpha_);
  if (!Text_Alpha_->hasFocus()) Text_Alpha_->setText(QString::number(p.alphaDegrees));
  HScroll_Alpha_->setValue(static_cast<int>(std::lround(p.alphaDegrees)));
  const std::optional<PressureForces> forces = CurrentForces(p);
  Command_AddedMasses_->setEnabled(forces && !p.bodyReport);
  if (!forces) {
    Label_Forces_->setText("No solution yet: apply Hess's panel method to a geometry.");
    Label_Figures_->clear();
    QChart* previous = Chart_Moment_->chart();
    Chart_Moment_->setChart(new QChart);
    delete previous;
    tableSolution_ = 0;
    return;
  }
  if (tableSolution_ != p.solutionCount) {
    table_ = ForcesTableOf(p, 0, 90, 5);
    tableSolution_ = p.solutionCount;
  }
  Label_Forces_->setText(ForcesText(*forces, table_.figures));
  Label_Figures_->setText(FiguresText(table_.figures, p.bodyReport));
  QChart* previous = Chart_Moment_->chart();
  Chart_Moment_->setChart(MakeMomentChart(table_, BodyName(p), p.alphaDegrees));
  delete previous;
}

}  // namespace tarvenol
