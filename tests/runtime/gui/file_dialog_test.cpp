#include "runtime/gui/file_dialog.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "gui_fixture.h"

namespace vrt {
namespace {

using FileDialogTest = testing::GuiTest;

TEST_F(FileDialogTest, ReturnsTheChosenFileOrNothingWhenCancelled) {
  QFile flyer(QDir::current().filePath("flyer.pdf"));
  ASSERT_TRUE(flyer.open(QIODevice::WriteOnly));
  flyer.close();
  std::vector<FileDialogResult> results;
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("Changing a Service Record", "UpdateService");
        design.controls = {button("?LOOKUPFILE", "...")};
        Window form(std::move(design));
        form.open();
        FileDialogRequest request;
        request.masks = {{"All Files", "*.*"}};
        request.restoreDirectory = true;
        for (int i = 0; i < 2; ++i) {
          while (form.accept().event != kEventAccepted) {
          }
          results.push_back(FileDialog(request));
        }
        while (form.accept().event != kEventCloseDown) {
        }
      },
      50'000);
  robot.settle();
  robot.press("UpdateService", "?LOOKUPFILE");
  EXPECT_FALSE(robot.window("UpdateService").takesInput() && robot.window("UpdateService").widget()->isEnabled());
  robot.chooseFile(QDir::current().filePath("flyer.pdf").toStdString());
  robot.press("UpdateService", "?LOOKUPFILE");
  robot.cancelFileDialog();
  ASSERT_EQ(results.size(), 2u);
  EXPECT_FALSE(results[0].cancelled);
  EXPECT_EQ(QDir::fromNativeSeparators(QString::fromStdString(results[0].path)), QDir::current().filePath("flyer.pdf"));
  EXPECT_TRUE(results[1].cancelled);
  EXPECT_EQ(results[1].path, "");
  EXPECT_TRUE(robot.window("UpdateService").widget()->isEnabled());
  EXPECT_THROW(robot.cancelFileDialog(), RobotError);
}

TEST_F(FileDialogTest, OutsideAnyThreadItIsCancelledAtOnce) { EXPECT_TRUE(FileDialog({}).cancelled); }

}  // namespace
}  // namespace vrt
