#pragma once
// Form_Drag: the boundary layer and the drag of the body, in a window of its own that follows
// the solution shown and the results' angle of attack (the drag is the axial stream's): the
// Reynolds number on the body's length, the transition, the drag's figures and the plot of cf,
// theta and H along the body. The layer is marched off the window's thread under a progress
// panel with its Cancel; the table and the plot may be saved.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

#include "core/window_ops.h"
#include "session/drag_commands.h"
#include "ui/result_window.h"
#include "ui/save_path.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

namespace tarvenol {

class ProgressPanel;
class WorkRunner;

class DragWindow : public QWidget, public ResultWindow {
 public:
  // Messages (a bad setting, a failure) go to win; a file saved asks paths where.
  DragWindow(Program& program, WindowOps& win, SavePathSink paths, QWidget* parent);
  ~DragWindow() override;

  // The solution shown or the angle of attack may have changed: the drag is computed again
  // when the solution or the settings have. A drag the user stopped is computed again when the
  // user has asked for the window.
  void Follow(bool asked = false);
  bool Working() const;

  QWidget* Widget() override { return this; }
  void Open() override { Follow(true); }
  void SolutionChanged() override { Follow(); }

 protected:
  // Escape, which no control of the window has taken.
  void keyPressEvent(QKeyEvent* event) override;
  // A hidden window stops its work.
  void hideEvent(QHideEvent* event) override;

 private:
  void ReynoldsTyped();
  void TransitionChosen();
  // The settings' controls show the program's settings.
  void ShowSettings();
  void Compute();
  // The figures and the plot, or the note in their place, and which buttons are of use.
  void Redraw();
  // The result shown is of the solution shown at the program's settings.
  bool Current() const;
  void Escape();
  void SaveTable();
  void SaveChart();

  Program& program_;
  WindowOps& win_;
  SavePathSink paths_;
  ProgressPanel* progress_;
  QLineEdit* Text_Reynolds_;
  QComboBox* Combo_Transition_;
  QLineEdit* Text_Trip_;
  QLabel* Label_Drag_;
  QChartView* Chart_Drag_;
  QPushButton* Command_ComputeDrag_;
  QPushButton* Command_SaveTable_;
  QPushButton* Command_SaveChart_;
  std::string refusal_;             // why there is no drag of the solution shown
  // The solution key of the drag being computed and of the last one the user stopped.
  std::uint64_t computing_ = 0;
  std::uint64_t stopped_ = 0;
  bool cancelled_ = false;
  bool followAgain_ = false;  // the solution or a setting changed while the drag was computed
  // Last, so that it is gone, its work stopped, before anything that work reads.
  std::unique_ptr<WorkRunner> runner_;
};

}  // namespace tarvenol
