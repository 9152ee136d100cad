#include "runtime/gui/file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <gtest/gtest.h>

#include "gui_fixture.h"

namespace vrt {
namespace {

// The patterns between the brackets of a name filter, as the dialog reads them.
QStringList patternsOf(const QString& filter) {
  const auto open = filter.indexOf(QLatin1Char('(')), close = filter.lastIndexOf(QLatin1Char(')'));
  return filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

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

TEST_F(FileDialogTest, AllFilesShowsNamesWithoutADot) {
  TestRobot robot;
  StartThread(
      [&] {
        FileDialogRequest request;
        request.masks = {{"All Files", "*.*"}, {"Pictures", "*.png;*.jpg"}};
        FileDialog(request);
      },
      50'000);
  robot.settle();
  QFileDialog* dialog = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->property(kFileDialogProperty).toBool() && w->isVisible()) dialog = qobject_cast<QFileDialog*>(w);
  ASSERT_NE(dialog, nullptr);
  const QStringList filters = dialog->nameFilters();
  ASSERT_EQ(filters.size(), 2);
  const QStringList all = patternsOf(filters[0]);
  EXPECT_TRUE(QDir::match(all, QStringLiteral("README"))) << filters[0].toStdString();
  EXPECT_TRUE(QDir::match(all, QStringLiteral("easter@2x.png")));
  const QStringList pictures = patternsOf(filters[1]);
  EXPECT_TRUE(QDir::match(pictures, QStringLiteral("flyer.jpg"))) << filters[1].toStdString();
  EXPECT_FALSE(QDir::match(pictures, QStringLiteral("README")));
  robot.cancelFileDialog();
}

TEST_F(FileDialogTest, OutsideAnyThreadItIsCancelledAtOnce) { EXPECT_TRUE(FileDialog({}).cancelled); }

}  // namespace
}  // namespace vrt
