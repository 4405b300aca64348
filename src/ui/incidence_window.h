#pragma once
// Form_Incidence: the body at an angle of attack, in a window of its own that follows the
// solution shown in the main window: the angle (a box and a slider), the force and moment of
// the pressure at it, the moment against the angle, and the body's figures and added masses.

#include <QWidget>
#include <functional>

#include "flow/program.h"
#include "results/forces.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
QT_END_NAMESPACE

namespace tarvenol {

class IncidenceWindow : public QWidget {
 public:
  // setAngle: the owner sets the results' angle from a text and says whether it was taken;
  // askAddedMasses: the user asks for the added masses, which take a second solution.
  IncidenceWindow(QWidget* parent, std::function<bool(const QString&)> setAngle,
                  std::function<void()> askAddedMasses);

  // Its box and slider say nothing more: a box that loses the focus as it goes would set the
  // angle through a window half gone.
  ~IncidenceWindow() override;

  // Everything shown again from p: after a solution, or when the angle has changed.
  void ShowBody(const Program& p);

 private:
  void AngleTyped();
  void SliderMoved(int degrees);

  std::function<bool(const QString&)> setAngle_;
  QLineEdit* Text_Alpha_;
  QSlider* HScroll_Alpha_;
  QLabel* Label_Forces_;
  QChartView* Chart_Moment_;
  QLabel* Label_Figures_;
  QPushButton* Command_AddedMasses_;
  // The moment's table belongs to one solution: made again only for the next.
  unsigned tableSolution_ = 0;
  ForcesTable table_;
};

}  // namespace tarvenol
