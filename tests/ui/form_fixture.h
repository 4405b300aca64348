#pragma once
// A main window started in a fresh working directory, its messages collected instead of shown.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "ui/main_window.h"

namespace tarvenol::testing {

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<Form1>([this](const std::string& text) {
      messages.push_back(text);
      if (duringMessage) duringMessage();
    });
  }

  // The control of that name; the test stops when there is none of that kind.
  template <typename T>
  T* Control(const char* name) {
    T* control = form->findChild<T*>(QString::fromUtf8(name));
    if (control == nullptr) ADD_FAILURE() << "no control " << name;
    return control;
  }

  void Show() {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  std::string Report() const { return ReadFile(dir.path() / "Tarvenol.txt"); }

  // Waits while the operation started last runs, until it has been finished.
  void Settle() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->Working(); }, 600000));
  }

  // The sphere of count x count panels prepared and solved as the user does it, by the menu,
  // the boxes and the buttons.
  void Solve(const char* count);

  bool Shown(const char* name) { return !Control<QWidget>(name)->isHidden(); }

  TempWorkDir dir;
  std::vector<std::string> messages;
  // Runs while a message is being shown.
  std::function<void()> duringMessage;
  std::unique_ptr<Form1> form;
};

// How many pixels of the picture's drawing area differ from its background, and how many of
// them are mostly of the given colour.
struct PictureCount {
  int drawn = 0;
  int red = 0;
  int blue = 0;
};
PictureCount CountPicture(QWidget* picture);

}  // namespace tarvenol::testing
