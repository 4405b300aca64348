#pragma once
// Form_Pressure: the plot of the pressure along the body, in a window of its own that follows
// the solution shown in the main window, with the Mach number of the results above it.

#include <QWidget>
#include <functional>
#include <optional>

#include "flow/program.h"
#include "results/goethert.h"
#include "results/pressure.h"
#include "ui/result_window.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QKeyEvent;
QT_END_NAMESPACE

namespace tarvenol {

class MachBox;

class PressureWindow : public QWidget, public ResultWindow {
 public:
  // The plot of program's solution; setMach: as the Mach box's (ui/mach_box.h).
  PressureWindow(QWidget* parent, const Program& program,
                 std::function<bool(const QString&, PressureRule)> setMach);
  // The plot of pressure, or a word that there is no solution to plot yet, at the Mach number
  // of the results.
  void ShowPressure(const std::optional<PressureAlongBody>& pressure, const MachSetting& mach);
  // The Mach number, which solves the body again, is out of use while other work runs.
  void SetWorking(bool working) override;

  QWidget* Widget() override { return this; }
  void Open() override { SolutionChanged(); }
  void SolutionChanged() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const Program& program_;
  MachBox* mach_;
  QChartView* view_;
};

}  // namespace tarvenol
