#pragma once
// Form_Field: the picture of the flow around the body, in a window of its own that follows the
// solution shown and the results' angle of attack. The field of a solution is computed once,
// off the window's thread under a progress panel with its Cancel, for the axial and the
// transverse stream; a new angle of attack only adds them anew and retraces the streamlines.
// A field cancelled is offered again by a button; the picture shown may be saved.

#include <QWidget>
#include <memory>
#include <optional>

#include "core/window_ops.h"
#include "session/field_commands.h"
#include "plot/flow_drawing.h"
#include "ui/result_window.h"
#include "ui/save_path.h"

class QComboBox;
class QKeyEvent;
class QPushButton;

namespace tarvenol {

class FlowView;
class ProgressPanel;
class WorkRunner;

class FieldWindow : public QWidget, public ResultWindow {
 public:
  // Messages of the work (a failure) go to win; a picture saved asks paths where.
  FieldWindow(Program& program, WindowOps& win, SavePathSink paths, QWidget* parent);
  ~FieldWindow() override;

  // The solution shown may have changed: its field is computed when it has, and the picture
  // takes the results' angle of attack. A field the user stopped is computed again when the
  // user has asked for the window.
  void Follow(bool asked = false);
  // The angle of attack has moved: the picture follows at once from the field computed.
  void AlphaChanged(double degrees);
  // The work on a field is running.
  bool Working() const;

  QWidget* Widget() override { return this; }
  void Open() override { Follow(true); }
  void SolutionChanged() override { Follow(); }
  void SettingsChanged() override;

 protected:
  // Escape, which no control of the window has taken.
  void keyPressEvent(QKeyEvent* event) override;
  // A hidden window stops its work; showing it again follows the solution anew.
  void hideEvent(QHideEvent* event) override;

 private:
  void Compute();
  // Asks the work running to stop.
  void Stop();
  // The picture or the note in its place, and which buttons are of use.
  void Redraw();
  // Escape stops the work running, and closes the window when there is none.
  void Escape();
  void SavePicture();
  FlowColour Colour() const;

  Program& program_;
  WindowOps& win_;
  SavePathSink paths_;
  FlowView* view_;
  QComboBox* colour_;
  QPushButton* compute_;
  QPushButton* save_;
  ProgressPanel* progress_;
  double alpha_ = 0;
  // The SolutionKey of the solution shown when it was last followed, of the field being
  // computed, and of the last one the user stopped: a move of the angle of attack draws without
  // reading the solution again, and a field stopped is computed again only when asked.
  std::uint64_t shown_ = 0;
  std::uint64_t computing_ = 0;
  std::uint64_t stopped_ = 0;
  bool stopping_ = false;     // the work running was asked to stop
  bool cancelled_ = false;    // by the user
  bool followAgain_ = false;  // the solution changed while a field was computed
  // Last, so that it is gone, its work stopped, before anything that work reads.
  std::unique_ptr<WorkRunner> runner_;
};

}  // namespace tarvenol
