#include "ui/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

#include "flow/command_flow.h"
#include "flow/incidence_flow.h"
#include "flow/mach_flow.h"
#include "flow/results_flow.h"
#include "flow/view_handlers.h"
#include "ui/about_window.h"
#include "ui/drag_window.h"
#include "ui/field_window.h"
#include "ui/file_chooser.h"
#include "ui/fitting_text_box.h"
#include "ui/focus_rest.h"
#include "ui/incidence_window.h"
#include "ui/picture_area.h"
#include "ui/pressure_window.h"
#include "ui/progress_panel.h"
#include "ui/twips.h"
#include "ui/window_placement.h"
#include "ui/work_runner.h"
#include "ui/wrapping_button.h"

namespace tarvenol {
Form1::Form1(MessageSink sink, QuestionSink questions, SavePathSink paths)
    : paths_(std::move(paths)) {
  setObjectName("Form1");
  setWindowTitle("Form1");
  // The program's own icon, on this window and, through it, on the windows it opens.
  setWindowIcon(QIcon(":/tarvenol.svg"));
  controls_ = BuildControls();
  controls_.Form_About = new Form_About(this);
  // Both result windows set the one Mach number of the results, and follow it.
  const auto setMach = [this](const QString& text, PressureRule rule) {
    const bool taken = SetMach(program_, *ops_, text.toStdString(), rule);
    ShowAngle();
    return taken;
  };
  ops_ = std::make_unique<QtWindowOps>(controls_, canvas_, this, std::move(sink),
                                       std::move(questions));
  Register(new PressureWindow(this, program_, setMach), "Pressure along the body", "Mn_Pressure");
  Form_Incidence_ = new IncidenceWindow(
      this, program_, *ops_, paths_,
      [this](const QString& text) {
        const bool taken = SetAngleOfAttack(program_, *ops_, text.toStdString());
        ShowAngle();
        return taken;
      },
      [this] { Start(PlanBodyFigures(program_, *ops_), *figuresRunner_); }, setMach);
  Register(Form_Incidence_, "Body at incidence", "Mn_Incidence");
  Register(new FieldWindow(program_, *ops_, paths_, this), "Flow around the body", "Mn_Field");
  Register(new DragWindow(program_, *ops_, paths_, this), "Drag", "Mn_Drag");
  runner_ = std::make_unique<WorkRunner>(progress_, Pic1_, nullptr);
  figuresRunner_ = std::make_unique<WorkRunner>(Form_Incidence_->Progress(),
                                                Form_Incidence_->FocusRest(), nullptr);
  BuildMenus();
  ConnectEvents(controls_);
  // The layout does not follow a resize, so the window keeps the size of its controls.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  started_ = StartUp(program_, *ops_);
}

Form1::~Form1() {
  if (Working()) QApplication::restoreOverrideCursor();
  // Its work stopped before the panel it shows on is gone.
  figuresRunner_.reset();
  // Gone before the program it sets the angle of, and followed no more.
  results_.clear();
  delete Form_Incidence_;
  Form_Incidence_ = nullptr;
}

bool Form1::Working() const {
  return runner_->Working() || (figuresRunner_ && figuresRunner_->Working());
}

void Form1::Register(ResultWindow* window, const char* caption, const char* name) {
  results_.push_back({window, caption, name});
}

void Form1::BuildMenus() {
  QMenu* Mn_Geometry = menuBar()->addMenu("Geometry");
  Mn_Geometry->setObjectName("Mn_Geometry");
  Mn_Geometry_ = Mn_Geometry;
  QAction* Mn_Sphere = Mn_Geometry->addAction("Test case for sphere");
  Mn_Sphere->setObjectName("Mn_Sphere");
  connect(Mn_Sphere, &QAction::triggered, this, [this] { ShowSphereCommand(program_, *ops_); });
  QAction* Mn_ReadData = Mn_Geometry->addAction("Read data from a file");
  Mn_ReadData->setObjectName("Mn_ReadData");
  connect(Mn_ReadData, &QAction::triggered, this, [this] { ShowFileChooser(program_, *ops_); });
  QAction* Mn_Resample = Mn_Geometry->addAction("Resample the profile");
  Mn_Resample->setObjectName("Mn_Resample");
  connect(Mn_Resample, &QAction::triggered, this,
          [this] { Start(PlanResampleProfile(program_, *ops_), *runner_); });
  QAction* Mn_About = menuBar()->addAction("About");
  Mn_About->setObjectName("Mn_About");
  connect(Mn_About, &QAction::triggered, this, [this] { ShowAbout(program_, *ops_); });

  // The results, after the program's own menus.
  QMenu* Mn_Results = menuBar()->addMenu("Results");
  Mn_Results->setObjectName("Mn_Results");
  for (const RegisteredWindow& r : results_) {
    QAction* entry = Mn_Results->addAction(r.caption);
    entry->setObjectName(r.name);
    connect(entry, &QAction::triggered, this, [this, window = r.window] {
      window->Open();
      ShowBeside(window->Widget(), this);
    });
  }
  QAction* Mn_ExportVtk = Mn_Results->addAction("Export the panels as VTK...");
  Mn_ExportVtk->setObjectName("Mn_ExportVtk");
  connect(Mn_ExportVtk, &QAction::triggered, this, [this] {
    Export("Export the panels as VTK", "panels.vtp", "VTK PolyData (*.vtp)", ExportVtk);
  });
  QAction* Mn_ExportCsv = Mn_Results->addAction("Export the panels as CSV...");
  Mn_ExportCsv->setObjectName("Mn_ExportCsv");
  connect(Mn_ExportCsv, &QAction::triggered, this, [this] {
    Export("Export the panels as CSV", "panels.csv", "CSV tables (*.csv)", ExportCsv);
  });
}

void Form1::Start(std::unique_ptr<Operation> operation, WorkRunner& runner) {
  if (!operation || Working()) return;
  // The panel with its Cancel button first, so that the focus can go there.
  const bool figures = &runner == figuresRunner_.get();
  runner.Start(std::move(operation), [this, figures](std::unique_ptr<Operation> done) {
    done->Finish(program_, *ops_);
    SetWorking(false, nullptr);
    ShowPicture();
    ShowResults();
    PlaceFocus();
    if (figures) Form_Incidence_->WorkEnded();
  });
  SetWorking(true, figures ? static_cast<QWidget*>(Pic1_) : progress_->CancelButton());
}

void Form1::SetWorking(bool working, QWidget* rest) {
  for (QWidget* control : {controls_.managed.at(ManagedControl::Command_Sphere),
                           controls_.managed.at(ManagedControl::Command_HessPan),
                           static_cast<QWidget*>(controls_.File_Body)}) {
    // The control that started the work gives its focus to Cancel, not to the next in the tab
    // order; a control the user has gone on to keeps it.
    if (working) PassFocusTo(rest, control);
    control->setEnabled(!working);
  }
  for (QAction* item : Mn_Geometry_->actions()) item->setEnabled(!working);
  for (const RegisteredWindow& r : results_) r.window->SetWorking(working);
  if (working) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void Form1::PlaceFocus() {
  // Where the user has put the focus meanwhile, it stays.
  if (QWidget* focus = focusWidget();
      focus != nullptr && focus != Pic1_ && focus->isEnabled() && focus->isVisible()) {
    return;
  }
  for (ManagedControl next : {ManagedControl::Command_HessPan, ManagedControl::Command_Sphere}) {
    if (QWidget* control = controls_.managed.at(next); control->isVisible()) {
      control->setFocus();
      return;
    }
  }
  Pic1_->setFocus();
}

void Form1::ShowPicture() {
  Pic1_->update();
}

void Form1::ShowResults() {
  for (const RegisteredWindow& r : results_) {
    if (r.window->Widget()->isVisible()) r.window->SolutionChanged();
  }
}

void Form1::ShowAngle() {
  for (const RegisteredWindow& r : results_) {
    if (r.window->Widget()->isVisible()) r.window->SettingsChanged();
  }
}

void Form1::Export(const QString& title, const QString& suggested, const QString& filter,
                   void (*save)(const Program&, WindowOps&, const std::string&)) {
  // Without a solution the export only says so: no place to save is asked for first.
  if (!program_.state.ShowSolution) {
    save(program_, *ops_, {});
    return;
  }
  const QString path = AskSavePath(this, paths_, title, suggested, filter);
  if (path.isEmpty()) return;
  save(program_, *ops_, QFile::encodeName(path).toStdString());
}

void Form1::ConnectEvents(const Form1Controls& controls) {
  auto* sphere = static_cast<QPushButton*>(controls.managed.at(ManagedControl::Command_Sphere));
  connect(sphere, &QPushButton::clicked, this,
          [this] { Start(PlanPrepareSphere(program_, *ops_), *runner_); });
  auto* apply = static_cast<QPushButton*>(controls.managed.at(ManagedControl::Command_HessPan));
  connect(apply, &QPushButton::clicked, this,
          [this] { Start(PlanApplyHessMethod(program_, *ops_), *runner_); });

  connect(controls.Drive1, &DriveList::driveChanged, this,
          [this] { DriveChanged(program_, *ops_); });
  connect(controls.Dir1, &DirectoryList::pathChanged, this, [this] {
    DirectoryChanged(program_, *ops_);
    controls_.Drive1->Follow(controls_.Dir1->Path());
  });
  connect(controls.File_Body, &FileList::fileClicked, this,
          [this] { Start(PlanPrepareBodyFile(program_, *ops_), *runner_); });

  for (const auto& [bar, control] : controls.bars) {
    connect(control, &QScrollBar::valueChanged, this, [this, bar = bar] {
      if (bar == ScrollBar::VScroll_Ölçek) {
        ScaleBarChanged(program_.state, program_.view, *ops_);
      } else {
        AngleBarChanged(program_.state, program_.view, *ops_, bar);
      }
      ShowPicture();
    });
  }
  // Escape stops the work as Cancel does; with no work running, it closes the file chooser.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (runner_->Working()) {
      progress_->CancelButton()->click();
    } else if (controls_.managed.at(ManagedControl::Frame_IOWindow)->isVisible()) {
      HideFileChooser(program_, *ops_);
      PlaceFocus();
    }
  });
  connect(Pic1_, &PictureArea::clicked, this, [this] {
    PictureClicked(program_.state, program_.view, *ops_);
    ShowPicture();
  });
}

}  // namespace tarvenol
