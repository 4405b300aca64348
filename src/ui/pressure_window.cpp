#include "ui/pressure_window.h"

#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "plot/pressure_chart.h"
#include "ui/window_placement.h"

namespace tarvenol {

PressureWindow::PressureWindow(QWidget* parent)
    : QWidget(parent, kResultWindow), view_(new QChartView(this)) {
  setObjectName("Form_Pressure");
  setWindowTitle("Pressure along the body");
  view_->setObjectName("Chart_Pressure");
  view_->setRenderHint(QPainter::Antialiasing);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
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

void PressureWindow::ShowPressure(const std::optional<PressureAlongBody>& pressure) {
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

}  // namespace tarvenol
