// The main window's controls, where the program has always put them (in twips), a frame at a
// time, stacked and in tab order as they have always been.

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "ui/file_chooser.h"
#include "ui/fitting_text_box.h"
#include "ui/main_window.h"
#include "ui/picture_area.h"
#include "ui/progress_panel.h"
#include "ui/twips.h"
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

// Names a control and puts it at its place in twips.
class Placer {
 public:
  explicit Placer(double dpi) : dpi_(dpi) {}
  template <class Control>
  Control* operator()(Control* control, const char* name, int left, int top, int width,
                      int height) const {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(TwipsRect(left, top, width, height, dpi_));
    return control;
  }

 private:
  double dpi_;
};

// Frames are opaque: the file chooser hides the picture it covers.
QGroupBox* NewFrame(QWidget* parent) {
  auto* frame = new QGroupBox(parent);
  frame->setAutoFillBackground(true);
  return frame;
}

struct FileFrame {
  QGroupBox* Frame_IOWindow;
  DriveList* Drive1;
  DirectoryList* Dir1;
  FileList* File_Body;
};

FileFrame BuildFileFrame(QWidget* client, const Placer& place) {
  FileFrame f{};
  f.Frame_IOWindow = place(NewFrame(client), "Frame_IOWindow", 1920, 1680, 3615, 2655);
  f.Drive1 = place(new DriveList(f.Frame_IOWindow), "Drive1", 120, 240, 1695, 315);
  f.Dir1 = place(new DirectoryList(f.Frame_IOWindow), "Dir1", 120, 600, 1695, 1890);
  f.File_Body = place(new FileList(f.Frame_IOWindow), "File_Body", 1920, 240, 1575, 2235);
  f.Dir1->SetPath(QDir::currentPath());
  f.File_Body->SetPath(QDir::currentPath());
  return f;
}

// The picture, the view's angles below it and its scale at its left.
struct ViewFrame {
  QGroupBox *Frame5, *Frame6;
  QLineEdit *Text_AlfaX, *Text_AlfaY, *Text_AlfaZ, *Text_Ölçek;
  QScrollBar *HScroll_X, *HScroll_Y, *HScroll_Z, *VScroll_Ölçek;
  QLabel* Label9;
};

ViewFrame BuildViewFrame(QWidget* client, const Placer& place) {
  ViewFrame v{};
  v.Frame5 = place(NewFrame(client), "Frame5", 120, 720, 6735, 7455);
  v.Frame6 = place(NewFrame(v.Frame5), "Frame6", 480, 6120, 6255, 1215);
  v.Text_AlfaY = place(new FittingTextBox("0", v.Frame6), "Text_AlfaY", 120, 480, 495, 285);
  v.HScroll_Y = place(NewScrollBar(v.Frame6, Qt::Horizontal, 0, 180, 90, 10), "HScroll_Y", 720, 480,
                      5415, 285);
  v.Text_AlfaZ = place(new FittingTextBox("0", v.Frame6), "Text_AlfaZ", 120, 840, 495, 285);
  v.HScroll_Z = place(NewScrollBar(v.Frame6, Qt::Horizontal, 0, 180, 90, 10), "HScroll_Z", 720, 840,
                      5415, 285);
  v.Text_AlfaX = place(new FittingTextBox("0", v.Frame6), "Text_AlfaX", 120, 120, 495, 285);
  v.HScroll_X = place(NewScrollBar(v.Frame6, Qt::Horizontal, 0, 180, 90, 10), "HScroll_X", 720, 120,
                      5415, 255);
  // Minimum at the top: moving the thumb down enlarges the drawing.
  v.VScroll_Ölçek =
      place(NewScrollBar(v.Frame5, Qt::Vertical, 1, 8, 1, 1), "VScroll_Ölçek", 120, 720, 375, 5415);
  v.Text_Ölçek = place(new FittingTextBox("1", v.Frame5), "Text_Ölçek", 120, 480, 375, 285);
  v.Label9 = place(new QLabel("Scale", v.Frame5), "Label9", 120, 240, 420, 255);
  WidenToText(v.Label9);
  return v;
}

struct CountFrame {
  QGroupBox* Frame_NI_NJ;
  QLineEdit *Text_NI, *Text_NJ;
  QLabel *label1, *Label2;
};

CountFrame BuildCountFrame(QWidget* client, const Placer& place) {
  CountFrame c{};
  c.Frame_NI_NJ = place(NewFrame(client), "Frame_NI_NJ", 120, 0, 1815, 735);
  c.Text_NI = place(new FittingTextBox("4", c.Frame_NI_NJ), "Text_NI", 480, 240, 375, 285);
  c.Text_NJ = place(new FittingTextBox("4", c.Frame_NI_NJ), "Text_NJ", 1320, 240, 375, 315);
  c.label1 = place(new QLabel("NI =", c.Frame_NI_NJ), "label1", 120, 240, 375, 255);
  c.Label2 = place(new QLabel("NJ =", c.Frame_NI_NJ), "Label2", 960, 240, 375, 255);
  WidenToText(c.label1);
  WidenToText(c.Label2);
  return c;
}

}  // namespace

Form1Controls Form1::BuildControls() {
  const double dpi = logicalDpiX();
  const Placer place(dpi);
  auto* client = new QWidget(this);
  client->setObjectName("Form1_Client");
  client->setFixedSize(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
  setCentralWidget(client);

  auto* Command_Sphere = place(new WrappingButton("Calculate sphere coordinates", client),
                               "Command_Sphere", 2040, 120, 1815, 615);
  auto* Command_HessPan = place(new WrappingButton("Apply Hess panel method", client),
                                "Command_HessPan", 4080, 120, 2655, 615);
  // Over both buttons, which are put out of use while long work runs.
  progress_ = place(new ProgressPanel(client), "Frame_Progress", 2040, 120, 4695, 615);
  const FileFrame f = BuildFileFrame(client, place);
  const ViewFrame v = BuildViewFrame(client, place);
  Pic1_ = place(new PictureArea(canvas_, v.Frame5), "Pic1", 600, 120, 6000, 6000);
  canvas_.Resize(Pic1_->contentsRect().width(), Pic1_->contentsRect().height(),
                 Pic1_->devicePixelRatioF());
  const CountFrame c = BuildCountFrame(client, place);

  // Of two overlapping siblings the one raised later lies in front: each box in front of its
  // label, the frames' contents in the order the layout lists them.
  QWidget* const backToFront[] = {
      c.Label2,         c.label1,        c.Text_NJ,      c.Text_NI,
      c.Frame_NI_NJ,    v.Label9,        v.Text_Ölçek,   v.VScroll_Ölçek,
      v.HScroll_X,      v.Text_AlfaX,    v.HScroll_Z,    v.Text_AlfaZ,
      v.HScroll_Y,      v.Text_AlfaY,    v.Frame6,       Pic1_,
      v.Frame5,         f.File_Body,     f.Dir1,         f.Drive1,
      f.Frame_IOWindow, Command_HessPan, Command_Sphere, progress_};
  for (QWidget* w : backToFront) w->raise();

  Command_Sphere->hide();
  Command_HessPan->hide();
  f.Frame_IOWindow->hide();

  QWidget* const tabOrder[] = {c.Text_NJ,   c.Text_NI,    v.Text_Ölçek,    v.VScroll_Ölçek,
                               v.HScroll_X, v.Text_AlfaX, v.HScroll_Z,     v.Text_AlfaZ,
                               v.HScroll_Y, v.Text_AlfaY, Pic1_,           f.File_Body,
                               f.Dir1,      f.Drive1,     Command_HessPan, Command_Sphere};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  Form1Controls controls;
  controls.texts = {{TextBox::Text_NI, c.Text_NI},       {TextBox::Text_NJ, c.Text_NJ},
                    {TextBox::Text_AlfaX, v.Text_AlfaX}, {TextBox::Text_AlfaY, v.Text_AlfaY},
                    {TextBox::Text_AlfaZ, v.Text_AlfaZ}, {TextBox::Text_Ölçek, v.Text_Ölçek}};
  controls.managed = {{ManagedControl::Command_Sphere, Command_Sphere},
                      {ManagedControl::Command_HessPan, Command_HessPan},
                      {ManagedControl::Frame_IOWindow, f.Frame_IOWindow}};
  controls.bars = {{ScrollBar::HScroll_X, v.HScroll_X},
                   {ScrollBar::HScroll_Y, v.HScroll_Y},
                   {ScrollBar::HScroll_Z, v.HScroll_Z},
                   {ScrollBar::VScroll_Ölçek, v.VScroll_Ölçek}};
  controls.Drive1 = f.Drive1;
  controls.Dir1 = f.Dir1;
  controls.File_Body = f.File_Body;
  controls.Pic1 = Pic1_;
  return controls;
}

}  // namespace tarvenol
