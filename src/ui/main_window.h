#pragma once
// Form1, the program's main window: the NI and NJ boxes, the two command buttons, the
// body-file chooser, the picture with the view's controls, and the menus. Its events go to
// the command flow and the view's handlers, with the one program state the window owns.

#include <QMainWindow>
#include <QMenu>
#include <functional>
#include <memory>
#include <vector>

#include "flow/operation.h"
#include "flow/program.h"
#include "raster/raster_canvas.h"
#include "ui/qt_window_ops.h"
#include "ui/result_window.h"
#include "ui/save_path.h"

namespace tarvenol {

class PictureArea;
class IncidenceWindow;
class ProgressPanel;
class WorkRunner;

// No signals of its own: its controls' events go straight to the handlers.
class Form1 : public QMainWindow {
 public:
  // Starts the program up: the report is emptied before the window is first shown. Paths to
  // save to are asked of paths, where given.
  explicit Form1(MessageSink sink = {}, QuestionSink questions = {}, SavePathSink paths = {});
  // Work still running is stopped first, and nothing of it is taken.
  ~Form1() override;

  const Program& program() const { return program_; }
  // False when another running program holds the report: this one must end at once.
  bool Started() const { return started_; }
  // An operation's long part is running: one of the main window's, or the added masses.
  bool Working() const;

 private:
  Form1Controls BuildControls();
  // A window of the "Results" menu, in the order of the menu: its entry opens it beside this
  // window, and it follows the solution, the results' settings and the program's work.
  void Register(ResultWindow* window, const char* caption, const char* name);
  void BuildMenus();
  void ConnectEvents(const Form1Controls& controls);
  // Runs a planned operation's long part off the window's thread under runner, whose panel
  // shows it, then finishes it here; no operation is one refused before it began. Work reads
  // the program's state: one runs at a time.
  void Start(std::unique_ptr<Operation> operation, WorkRunner& runner);
  // While work runs, the controls that would start other work are off, here and in the
  // incidence window; the view and About stay at the user's service. A control that started it
  // gives its focus to rest.
  void SetWorking(bool working, QWidget* rest);
  // After an operation, on the control a user goes on with, never in a text box; where the
  // user has put the focus while the work ran, it stays.
  void PlaceFocus();
  // The view may have drawn: show the picture again.
  void ShowPicture();
  // The results of the solution shown: its plot follows; an export asks where to save it.
  void ShowResults();
  // The results' angle of attack has moved: the result windows shown follow it.
  void ShowAngle();
  void Export(const QString& title, const QString& suggested, const QString& filter,
              void (*save)(const Program&, WindowOps&, const std::string&));

  Program program_;
  RasterCanvas canvas_;
  Form1Controls controls_;
  PictureArea* Pic1_ = nullptr;
  ProgressPanel* progress_ = nullptr;
  QMenu* Mn_Geometry_ = nullptr;
  struct RegisteredWindow {
    ResultWindow* window;
    const char* caption;
    const char* name;
  };
  std::vector<RegisteredWindow> results_;
  // The one result window named: its panel shows the added masses' work.
  IncidenceWindow* Form_Incidence_ = nullptr;
  SavePathSink paths_;
  std::unique_ptr<QtWindowOps> ops_;
  bool started_ = false;
  // Last, so that they are gone, their work stopped, before anything that work reads: the main
  // window's operations, and the added masses under the incidence window's panel.
  std::unique_ptr<WorkRunner> runner_;
  std::unique_ptr<WorkRunner> figuresRunner_;
};

}  // namespace tarvenol
