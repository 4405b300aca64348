#include "ui/pressure_window.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "flow/mach_flow.h"
#include "flow/results_flow.h"
#include "plot/pressure_chart.h"
#include "ui/mach_box.h"
#include "ui/window_placement.h"

namespace tarvenol {

PressureWindow::PressureWindow(QWidget* parent, const Program& program,
                               std::function<bool(const QString&, PressureRule)> setMach)
    : QWidget(parent, kResultWindow),
      program_(program),
      mach_(new MachBox(this, std::move(setMach))),
      view_(new QChartView(this)) {
  setObjectName("Form_Pressure");
  setWindowTitle("Pressure along the body");
  view_->setObjectName("Chart_Pressure");
  view_->setRenderHint(QPainter::Antialiasing);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* setting = new QHBoxLayout;
  setting->setContentsMargins(9, 6, 9, 0);
  setting->addWidget(mach_);
  setting->addStretch(1);
  layout->addLayout(setting);
  layout->addWidget(view_, 1);
  resize(900, 560);
}

void PressureWindow::keyPressEvent(QKeyEvent* event) {
  // Escape closes it, as it closes the other result windows when no work runs there.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void PressureWindow::SetWorking(bool working) {
  mach_->setEnabled(!working);
}

void PressureWindow::ShowPressure(const std::optional<PressureAlongBody>& pressure,
                                  const MachSetting& mach) {
  mach_->Follow(mach);
  QChart* chart = nullptr;
  if (pressure) {
    chart = MakePressureChart(*pressure);
  } else {
    chart = new QChart;
    chart->setTitle("No solution yet: apply Hess's panel method to a geometry.");
  }
  QChart* previous = view_->chart();
  view_->setChart(chart);
  delete previous;
}

void PressureWindow::SolutionChanged() {
  ShowPressure(CurrentPressure(program_), CurrentMach(program_));
}

}  // namespace tarvenol
