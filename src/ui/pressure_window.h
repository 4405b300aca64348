#pragma once
// Form_Pressure: the plot of the pressure along the body, in a window of its own that follows
// the solution shown in the main window, with the Mach number of the results above it.

#include <QWidget>
#include <functional>
#include <optional>

#include "results/goethert.h"
#include "results/pressure.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QKeyEvent;
QT_END_NAMESPACE

namespace tarvenol {

class MachBox;

class PressureWindow : public QWidget {
 public:
  // setMach: as the Mach box's (ui/mach_box.h).
  PressureWindow(QWidget* parent, std::function<bool(const QString&, PressureRule)> setMach);
  // The plot of pressure, or a word that there is no solution to plot yet, at the Mach number
  // of the results.
  void ShowPressure(const std::optional<PressureAlongBody>& pressure, const MachSetting& mach);
  // The Mach number, which solves the body again, is out of use while other work runs.
  void SetWorking(bool working);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MachBox* mach_;
  QChartView* view_;
};

}  // namespace tarvenol
