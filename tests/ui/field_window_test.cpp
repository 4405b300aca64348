// The window of the flow around the body: it follows the solution shown and the angle of
// attack, and computes off the window's thread, with its progress and Cancel.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "form_fixture.h"
#include "ui/field_window.h"

namespace tarvenol::testing {
namespace {

class FlowWindow : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Show();
  }
  FieldWindow* Field() { return Control<FieldWindow>("Form_Field"); }
  QImage Picture() { return Field()->findChild<QWidget*>("Picture_Flow")->grab().toImage(); }
  void SettleField() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Field()->Working(); }, 600000));
  }
  // Pixels mostly red (high pressure) and mostly blue (low pressure).
  static std::pair<int, int> Colours(const QImage& image) {
    int red = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > c.blue() + 60) ++red;
        if (c.blue() > c.red() + 60) ++blue;
      }
    }
    return {red, blue};
  }
};

TEST_F(FlowWindow, FollowsTheSolutionAndTheAngleOfAttack) {
  Control<QAction>("Mn_Field")->trigger();
  ASSERT_TRUE(Field()->isVisible());
  EXPECT_EQ(Colours(Picture()), std::make_pair(0, 0));  // no solution yet: words only

  Solve("12");
  SettleField();
  const QImage level = Picture();
  const auto [red, blue] = Colours(level);
  EXPECT_GT(red, 1000);
  EXPECT_GT(blue, 1000);

  // The angle of attack moves the picture, from the field already computed.
  Field()->AlphaChanged(30);
  EXPECT_FALSE(Field()->Working());
  EXPECT_NE(Picture(), level);
  Field()->AlphaChanged(0);
  EXPECT_EQ(Picture(), level);
  Field()->findChild<QComboBox*>("Combo_Colour")->setCurrentIndex(1);
  EXPECT_NE(Picture(), level);
  Field()->findChild<QComboBox*>("Combo_Colour")->setCurrentIndex(0);

  // A new geometry has no solution.
  Control<QAction>("Mn_Sphere")->trigger();
  QTest::mouseClick(Control<QPushButton>("Command_Sphere"), Qt::LeftButton);
  Settle();
  EXPECT_EQ(Colours(Picture()), std::make_pair(0, 0));
  EXPECT_TRUE(messages.empty());
}

TEST_F(FlowWindow, ItsWorkShowsProgressAndStopsAtCancel) {
  Solve("40");
  Control<QAction>("Mn_Field")->trigger();
  ASSERT_TRUE(Field()->Working());
  auto* panel = Field()->findChild<QWidget*>("Frame_Progress");
  EXPECT_TRUE(panel->isVisible());
  // The main window goes on answering meanwhile.
  EXPECT_FALSE(form->Working());
  EXPECT_TRUE(Control<QAction>("Mn_Sphere")->isEnabled());
  QTest::mouseClick(panel->findChild<QPushButton*>("Command_Cancel"), Qt::LeftButton);
  SettleField();
  EXPECT_EQ(Colours(Picture()), std::make_pair(0, 0));
  EXPECT_TRUE(messages.empty());
  // Asked again, it computes again.
  Control<QAction>("Mn_Field")->trigger();
  SettleField();
  EXPECT_GT(Colours(Picture()).first, 1000);
}

TEST_F(FlowWindow, ANewSolutionWhileAFieldIsComputedIsTheOneShown) {
  Control<QAction>("Mn_Field")->trigger();
  Solve("40");
  ASSERT_TRUE(Field()->Working());
  Solve("12");
  SettleField();
  EXPECT_TRUE(Field()
                  ->findChild<QWidget*>("Picture_Flow")
                  ->accessibleName()
                  .startsWith("Flow around the sphere, 12 × 12 panels, at 0°"));
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace tarvenol::testing
