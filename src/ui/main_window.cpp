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
namespace {

// The client area in twips; the controls stay where they are put.
constexpr int kClientWidth = 6945;
constexpr int kClientHeight = 8235;

QScrollBar* NewScrollBar(QWidget* parent, Qt::Orientation orientation, int minimum, int maximum,
                         int value, int pageStep) {
  auto* bar = new QScrollBar(orientation, parent);
  bar->setRange(minimum, maximum);
  bar->setValue(value);
  bar->setSingleStep(1);
  bar->setPageStep(pageStep);
  // The view redraws when the value has changed, not while the thumb is dragged.
  bar->setTracking(false);
  bar->setFocusPolicy(Qt::TabFocus);
  return bar;
}

}  // namespace

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
  Form_Pressure_ = new PressureWindow(this, setMach);
  ops_ = std::make_unique<QtWindowOps>(controls_, canvas_, this, std::move(sink),
                                       std::move(questions));
  Form_Incidence_ = new IncidenceWindow(
      this, program_, *ops_, paths_,
      [this](const QString& text) {
        const bool taken = SetAngleOfAttack(program_, *ops_, text.toStdString());
        ShowAngle();
        return taken;
      },
      [this] { Start(PlanBodyFigures(program_, *ops_), *figuresRunner_); }, setMach);
  Form_Field_ = new FieldWindow(program_, *ops_, paths_, this);
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
  // Gone before the program it sets the angle of.
  delete Form_Incidence_;
  Form_Incidence_ = nullptr;
}

bool Form1::Working() const {
  return runner_->Working() || (figuresRunner_ && figuresRunner_->Working());
}

Form1Controls Form1::BuildControls() {
  const double dpi = logicalDpiX();
  auto place = [dpi](QWidget* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(TwipsRect(left, top, width, height, dpi));
  };

  auto* client = new QWidget(this);
  client->setObjectName("Form1_Client");
  client->setFixedSize(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
  setCentralWidget(client);

  // Frames are opaque: the file chooser hides the picture it covers.
  auto newFrame = [](QWidget* parent) {
    auto* frame = new QGroupBox(parent);
    frame->setAutoFillBackground(true);
    return frame;
  };

  auto* Command_Sphere = new WrappingButton("Calculate sphere coordinates", client);
  place(Command_Sphere, "Command_Sphere", 2040, 120, 1815, 615);
  auto* Command_HessPan = new WrappingButton("Apply Hess panel method", client);
  place(Command_HessPan, "Command_HessPan", 4080, 120, 2655, 615);
  // Over both buttons, which are put out of use while long work runs.
  progress_ = new ProgressPanel(client);
  place(progress_, "Frame_Progress", 2040, 120, 4695, 615);

  QGroupBox* Frame_IOWindow = newFrame(client);
  place(Frame_IOWindow, "Frame_IOWindow", 1920, 1680, 3615, 2655);
  auto* Drive1 = new DriveList(Frame_IOWindow);
  place(Drive1, "Drive1", 120, 240, 1695, 315);
  auto* Dir1 = new DirectoryList(Frame_IOWindow);
  place(Dir1, "Dir1", 120, 600, 1695, 1890);
  auto* File_Body = new FileList(Frame_IOWindow);
  place(File_Body, "File_Body", 1920, 240, 1575, 2235);
  Dir1->SetPath(QDir::currentPath());
  File_Body->SetPath(QDir::currentPath());

  QGroupBox* Frame5 = newFrame(client);
  place(Frame5, "Frame5", 120, 720, 6735, 7455);
  Pic1_ = new PictureArea(canvas_, Frame5);
  place(Pic1_, "Pic1", 600, 120, 6000, 6000);
  canvas_.Resize(Pic1_->contentsRect().width(), Pic1_->contentsRect().height(),
                 Pic1_->devicePixelRatioF());
  QGroupBox* Frame6 = newFrame(Frame5);
  place(Frame6, "Frame6", 480, 6120, 6255, 1215);
  QLineEdit* Text_AlfaY = new FittingTextBox("0", Frame6);
  place(Text_AlfaY, "Text_AlfaY", 120, 480, 495, 285);
  QScrollBar* HScroll_Y = NewScrollBar(Frame6, Qt::Horizontal, 0, 180, 90, 10);
  place(HScroll_Y, "HScroll_Y", 720, 480, 5415, 285);
  QLineEdit* Text_AlfaZ = new FittingTextBox("0", Frame6);
  place(Text_AlfaZ, "Text_AlfaZ", 120, 840, 495, 285);
  QScrollBar* HScroll_Z = NewScrollBar(Frame6, Qt::Horizontal, 0, 180, 90, 10);
  place(HScroll_Z, "HScroll_Z", 720, 840, 5415, 285);
  QLineEdit* Text_AlfaX = new FittingTextBox("0", Frame6);
  place(Text_AlfaX, "Text_AlfaX", 120, 120, 495, 285);
  QScrollBar* HScroll_X = NewScrollBar(Frame6, Qt::Horizontal, 0, 180, 90, 10);
  place(HScroll_X, "HScroll_X", 720, 120, 5415, 255);
  // Minimum at the top: moving the thumb down enlarges the drawing.
  QScrollBar* VScroll_Ölçek = NewScrollBar(Frame5, Qt::Vertical, 1, 8, 1, 1);
  place(VScroll_Ölçek, "VScroll_Ölçek", 120, 720, 375, 5415);
  QLineEdit* Text_Ölçek = new FittingTextBox("1", Frame5);
  place(Text_Ölçek, "Text_Ölçek", 120, 480, 375, 285);
  auto* Label9 = new QLabel("Scale", Frame5);
  place(Label9, "Label9", 120, 240, 420, 255);
  WidenToText(Label9);

  QGroupBox* Frame_NI_NJ = newFrame(client);
  place(Frame_NI_NJ, "Frame_NI_NJ", 120, 0, 1815, 735);
  QLineEdit* Text_NI = new FittingTextBox("4", Frame_NI_NJ);
  place(Text_NI, "Text_NI", 480, 240, 375, 285);
  QLineEdit* Text_NJ = new FittingTextBox("4", Frame_NI_NJ);
  place(Text_NJ, "Text_NJ", 1320, 240, 375, 315);
  auto* label1 = new QLabel("NI =", Frame_NI_NJ);
  place(label1, "label1", 120, 240, 375, 255);
  auto* Label2 = new QLabel("NJ =", Frame_NI_NJ);
  place(Label2, "Label2", 960, 240, 375, 255);
  WidenToText(label1);
  WidenToText(Label2);

  // Of two overlapping siblings the one raised later lies in front: each box in front of its
  // label, the frames' contents in the order the layout lists them.
  QWidget* const backToFront[] = {
      Label2,     label1,        Text_NJ,        Text_NI,         Frame_NI_NJ,    Label9,
      Text_Ölçek, VScroll_Ölçek, HScroll_X,      Text_AlfaX,      HScroll_Z,      Text_AlfaZ,
      HScroll_Y,  Text_AlfaY,    Frame6,         Pic1_,           Frame5,         File_Body,
      Dir1,       Drive1,        Frame_IOWindow, Command_HessPan, Command_Sphere, progress_};
  for (QWidget* w : backToFront) w->raise();

  Command_Sphere->hide();
  Command_HessPan->hide();
  Frame_IOWindow->hide();

  QWidget* const tabOrder[] = {Text_NJ,   Text_NI,    Text_Ölçek,      VScroll_Ölçek,
                               HScroll_X, Text_AlfaX, HScroll_Z,       Text_AlfaZ,
                               HScroll_Y, Text_AlfaY, Pic1_,           File_Body,
                               Dir1,      Drive1,     Command_HessPan, Command_Sphere};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  Form1Controls controls;
  controls.texts = {{TextBox::Text_NI, Text_NI},       {TextBox::Text_NJ, Text_NJ},
                    {TextBox::Text_AlfaX, Text_AlfaX}, {TextBox::Text_AlfaY, Text_AlfaY},
                    {TextBox::Text_AlfaZ, Text_AlfaZ}, {TextBox::Text_Ölçek, Text_Ölçek}};
  controls.managed = {{ManagedControl::Command_Sphere, Command_Sphere},
                      {ManagedControl::Command_HessPan, Command_HessPan},
                      {ManagedControl::Frame_IOWindow, Frame_IOWindow}};
  controls.bars = {{ScrollBar::HScroll_X, HScroll_X},
                   {ScrollBar::HScroll_Y, HScroll_Y},
                   {ScrollBar::HScroll_Z, HScroll_Z},
                   {ScrollBar::VScroll_Ölçek, VScroll_Ölçek}};
  controls.Drive1 = Drive1;
  controls.Dir1 = Dir1;
  controls.File_Body = File_Body;
  controls.Pic1 = Pic1_;
  return controls;
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
  QAction* Mn_About = menuBar()->addAction("About");
  Mn_About->setObjectName("Mn_About");
  connect(Mn_About, &QAction::triggered, this, [this] { ShowAbout(program_, *ops_); });

  // The results, after the program's own menus.
  QMenu* Mn_Results = menuBar()->addMenu("Results");
  Mn_Results->setObjectName("Mn_Results");
  QAction* Mn_Pressure = Mn_Results->addAction("Pressure along the body");
  Mn_Pressure->setObjectName("Mn_Pressure");
  connect(Mn_Pressure, &QAction::triggered, this, [this] {
    Form_Pressure_->ShowPressure(CurrentPressure(program_), CurrentMach(program_));
    ShowBeside(Form_Pressure_, this);
  });
  QAction* Mn_Incidence = Mn_Results->addAction("Body at incidence");
  Mn_Incidence->setObjectName("Mn_Incidence");
  connect(Mn_Incidence, &QAction::triggered, this, [this] {
    Form_Incidence_->ShowBody();
    ShowBeside(Form_Incidence_, this);
  });
  QAction* Mn_Field = Mn_Results->addAction("Flow around the body");
  Mn_Field->setObjectName("Mn_Field");
  connect(Mn_Field, &QAction::triggered, this, [this] {
    Form_Field_->Follow(true);
    ShowBeside(Form_Field_, this);
  });
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
  Form_Incidence_->SetWorking(working);
  Form_Pressure_->SetWorking(working);
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
  if (Form_Pressure_->isVisible()) {
    Form_Pressure_->ShowPressure(CurrentPressure(program_), CurrentMach(program_));
  }
  if (Form_Incidence_ != nullptr && Form_Incidence_->isVisible()) Form_Incidence_->ShowBody();
  if (Form_Field_->isVisible()) Form_Field_->Follow();
}

void Form1::ShowAngle() {
  if (Form_Pressure_->isVisible()) {
    Form_Pressure_->ShowPressure(CurrentPressure(program_), CurrentMach(program_));
  }
  if (Form_Incidence_ != nullptr && Form_Incidence_->isVisible()) Form_Incidence_->ShowBody();
  if (Form_Field_->isVisible()) Form_Field_->AlphaChanged(program_.alphaDegrees);
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
