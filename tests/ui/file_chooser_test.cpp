// The body-file chooser: drives, directories, the "*.body" list and a clicked file.

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "form_fixture.h"
#include "ui/file_chooser.h"

namespace tarvenol::testing {
namespace {

// A closed profile of six points: NI becomes 5.
const char* const kBody = "0\n6\n0\n1,0,0\n2,0.1,0.3\n3,0.35,0.48\n4,0.65,0.48\n5,0.9,0.3\n6,1,0\n";

QStringList Names(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text().trimmed();
  return names;
}

QString Here(const TempWorkDir& dir) {
  return QString::fromStdString(dir.path().string());
}

class FileChooser : public FormTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir.path() / "sub");
    WriteFile(dir.path() / "ellipsoid.body", kBody);
    WriteFile(dir.path() / "notes.txt", "");
    WriteFile(dir.path() / "ellipsoid.body.bak", "");
    WriteFile(dir.path() / "sub" / "nested.body", kBody);
    FormTest::SetUp();
    Show();
    Control<QAction>("Mn_ReadData")->trigger();
  }

  void ClickFile(const char* name) {
    QListWidget* files = Control<QListWidget>("File_Body");
    const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(found[0]).center());
    Settle();
  }
};

TEST_F(FileChooser, ListsOnlyBodyFilesOfTheWorkingDirectory) {
  auto* Dir1 = Control<QListWidget>("Dir1");
  EXPECT_EQ(Dir1->currentItem()->data(Qt::UserRole).toString(), Here(dir));
  EXPECT_EQ(Names(Control<QListWidget>("File_Body")), QStringList{"ellipsoid.body"});
  // The chosen directory, its ancestors above it and its subdirectory below.
  EXPECT_EQ(Names(Dir1).first(), "/");
  EXPECT_EQ(Names(Dir1).last(), "sub");
}

TEST_F(FileChooser, ShowsFilesMadeWhileItWasHidden) {
  WriteFile(dir.path() / "later.body", kBody);
  Control<QWidget>("Frame_IOWindow")->hide();
  Control<QAction>("Mn_ReadData")->trigger();
  EXPECT_EQ(Names(Control<QListWidget>("File_Body")),
            (QStringList{"ellipsoid.body", "later.body"}));
}

TEST_F(FileChooser, FollowsADirectoryChosenInTheDirectoryList) {
  auto* Dir1 = Control<QListWidget>("Dir1");
  const QList<QListWidgetItem*> sub = Dir1->findItems("sub", Qt::MatchEndsWith);
  ASSERT_EQ(sub.size(), 1);
  emit Dir1->itemActivated(sub[0]);
  EXPECT_EQ(Names(Control<QListWidget>("File_Body")), QStringList{"nested.body"});

  // Up again through the row of the parent directory.
  const QList<QListWidgetItem*> up =
      Dir1->findItems(QString::fromStdString(dir.path().filename().string()), Qt::MatchEndsWith);
  ASSERT_EQ(up.size(), 1);
  emit Dir1->itemActivated(up[0]);
  EXPECT_EQ(Names(Control<QListWidget>("File_Body")), QStringList{"ellipsoid.body"});
}

TEST_F(FileChooser, ClickedFileIsPreparedFromItsDirectory) {
  auto* Dir1 = Control<QListWidget>("Dir1");
  emit Dir1->itemActivated(Dir1->findItems("sub", Qt::MatchEndsWith).at(0));
  Control<QAction>("Mn_Sphere")->trigger();
  ClickFile("nested.body");

  EXPECT_TRUE(messages.empty()) << messages.front();
  const ModelState& s = form->program().state;
  EXPECT_EQ(s.BodyFile, (dir.path() / "sub" / "nested.body").string());
  EXPECT_TRUE(s.GeometryReady);
  EXPECT_EQ(s.NI, 5);
  EXPECT_EQ(Control<QLineEdit>("Text_NI")->text(), "5");
  EXPECT_FALSE(Shown("Frame_IOWindow"));
  EXPECT_TRUE(Shown("Command_HessPan"));
  // The sphere's button stays as the menu left it.
  EXPECT_TRUE(Shown("Command_Sphere"));
  EXPECT_NE(Report().find(" Profile of the body of revolution"), std::string::npos);
  EXPECT_GT(CountPicture(Control<QWidget>("Pic1")).red, 0);
}

TEST_F(FileChooser, BadFileShowsItsMessageAndKeepsTheChooserOpen) {
  WriteFile(dir.path() / "short.body", "0\n6\n0\n1,0,0\n");
  Control<QWidget>("Frame_IOWindow")->hide();
  Control<QAction>("Mn_ReadData")->trigger();
  // Behind the message the focus is in no text box, where the next key would replace a count.
  QWidget* focusBehind = nullptr;
  duringMessage = [&] { focusBehind = form->focusWidget(); };
  ClickFile("short.body");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(qobject_cast<QLineEdit*>(focusBehind), nullptr)
      << focusBehind->objectName().toStdString();
  EXPECT_EQ(qobject_cast<QLineEdit*>(form->focusWidget()), nullptr);
  EXPECT_NE(messages[0].find("short.body"), std::string::npos);
  EXPECT_TRUE(Shown("Frame_IOWindow"));
  EXPECT_FALSE(Shown("Command_HessPan"));
  EXPECT_FALSE(form->program().state.GeometryReady);
  EXPECT_EQ(Control<QLineEdit>("Text_NI")->text(), "4");
}

TEST_F(FileChooser, EscapeClosesItWithoutChoosing) {
  QListWidget* files = Control<QListWidget>("File_Body");
  files->setFocus();
  files->setCurrentRow(0);
  QTest::keyClick(files, Qt::Key_Escape);
  EXPECT_FALSE(Shown("Frame_IOWindow"));
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(form->program().state.GeometryReady);
  EXPECT_EQ(Report(), "");
  // The focus left the hidden list for the picture, not for the next box in the tab order.
  EXPECT_EQ(form->focusWidget(), Control<QWidget>("Pic1"));
}

TEST_F(FileChooser, ChangingTheDriveMovesBothLists) {
  auto* Drive1 = Control<QComboBox>("Drive1");
  ASSERT_GE(Drive1->count(), 1);
  EXPECT_EQ(Drive1->itemData(0).toString(), "/");
  const int home = Drive1->findData(QDir::homePath());
  if (home < 0) GTEST_SKIP() << "the home folder is the root";
  Drive1->setCurrentIndex(home);
  EXPECT_EQ(Control<QListWidget>("Dir1")->currentItem()->data(Qt::UserRole).toString(),
            QDir::homePath());
  Drive1->setCurrentIndex(0);
  EXPECT_EQ(Control<QListWidget>("Dir1")->currentItem()->data(Qt::UserRole).toString(), "/");
  EXPECT_EQ(Names(Control<QListWidget>("File_Body")),
            QDir("/").entryList({"*.body"}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

TEST_F(FileChooser, TheDriveFollowsTheDirectoryListAndLongNamesShowWhole) {
  auto* Drive1 = Control<QComboBox>("Drive1");
  const int home = Drive1->findData(QDir::homePath());
  if (home < 0) GTEST_SKIP() << "the home folder is the root";
  Drive1->setCurrentIndex(home);
  // The user walks the directory list up to the root: the drive box says so.
  auto* Dir1 = Control<QListWidget>("Dir1");
  emit Dir1->itemActivated(Dir1->item(0));
  EXPECT_EQ(Drive1->currentData().toString(), "/");

  const std::string name = std::string(80, 'l') + ".body";
  WriteFile(dir.path() / name, kBody);
  Control<QWidget>("Frame_IOWindow")->hide();
  Drive1->setCurrentIndex(home);
  static_cast<DirectoryList*>(Dir1)->SetPath(QString::fromStdString(dir.path().string()));
  Control<QAction>("Mn_ReadData")->trigger();
  const auto found =
      Control<QListWidget>("File_Body")->findItems(QString::fromStdString(name), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  EXPECT_EQ(found[0]->toolTip().toStdString(), (dir.path() / name).string());
}

}  // namespace
}  // namespace tarvenol::testing
