#pragma once
// Form_Pressure: the plot of the pressure along the body, in a window of its own that follows
// the solution shown in the main window.

#include <QWidget>
#include <optional>

#include "results/pressure.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QKeyEvent;
QT_END_NAMESPACE

namespace tarvenol {

class PressureWindow : public QWidget {
 public:
  explicit PressureWindow(QWidget* parent);
  // The plot of pressure, or a word that there is no solution to plot yet.
  void ShowPressure(const std::optional<PressureAlongBody>& pressure);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QChartView* view_;
};

}  // namespace tarvenol
