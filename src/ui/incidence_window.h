#pragma once
// Form_Incidence: the body at an angle of attack, in a window of its own that follows the
// solution shown in the main window: the angle (a box and a slider), the force and moment of
// the pressure at it, the moment against the angle, and the body's figures and added masses,
// whose work shows its progress here, with its Cancel.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "core/window_ops.h"
#include "results/forces.h"
#include "session/program.h"
#include "ui/result_window.h"
#include "ui/save_path.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
QT_END_NAMESPACE

namespace tarvenol {

class MachBox;
class ProgressPanel;

class IncidenceWindow : public QWidget, public ResultWindow {
 public:
  // setAngle: the owner sets the results' angle from a text and says whether it was taken;
  // askAddedMasses: the user asks for the added masses, which take a second solution. Messages
  // go to win, and a chart saved asks paths where.
  // setMach: as the Mach box's (ui/mach_box.h).
  IncidenceWindow(QWidget* parent, Program& program, WindowOps& win, SavePathSink paths,
                  std::function<bool(const QString&)> setAngle,
                  std::function<void()> askAddedMasses,
                  std::function<bool(const QString&, PressureRule)> setMach);

  // Its box and slider say nothing more: a box that loses the focus as it goes would set the
  // angle through a window half gone.
  ~IncidenceWindow() override;

  // Everything shown again from the program: after a solution, or when the angle has changed.
  void ShowBody();
  // Work that reads the solution runs, here or in the main window: what would start more is
  // out of use meanwhile.
  void SetWorking(bool working) override;
  QWidget* Widget() override { return this; }
  void Open() override { ShowBody(); }
  void SolutionChanged() override { ShowBody(); }
  // The added masses' work has ended: the focus goes back where the user had it.
  void WorkEnded();
  // Where the added masses show their progress, and where the focus rests meanwhile.
  ProgressPanel* Progress() const { return progress_; }
  QWidget* FocusRest() const;

 protected:
  // Escape, which no control of the window has taken.
  void keyPressEvent(QKeyEvent* event) override;
  // A hidden window stops its work.
  void hideEvent(QHideEvent* event) override;

 private:
  void AngleTyped();
  void SliderMoved(int degrees);
  // Escape stops the work running, and closes the window when there is none.
  void Escape();
  void SaveChart();

  Program& program_;
  WindowOps& win_;
  SavePathSink paths_;
  std::function<bool(const QString&)> setAngle_;
  ProgressPanel* progress_;
  QLineEdit* Text_Alpha_;
  QSlider* HScroll_Alpha_;
  MachBox* mach_;
  QLabel* Label_Forces_;
  QChartView* Chart_Moment_;
  QLabel* Label_Figures_;
  QPushButton* Command_AddedMasses_;
  QPushButton* Command_SaveChart_;
  bool working_ = false;
  // Where the focus was when the added masses were asked for.
  QPointer<QWidget> focusBefore_;
};

}  // namespace tarvenol
