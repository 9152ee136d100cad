#include <gtest/gtest.h>

#include "fake_window.h"
#include "support/temp_dir.h"
#include "runtime/settings/ini_file.h"
#include "runtime/settings/settings_file.h"

namespace vrt::testing {
namespace {

class WindowPositionTest : public ::testing::Test {
 protected:
  WindowPositionTest() { settings.Open(path, SettingsFile::Ini); }

  std::optional<std::string> saved(const char* name) {
    IniFile ini;
    EXPECT_TRUE(ini.Load(path));
    return ini.Get("UpdateService", name);
  }

  vtest::TempDir dir;
  std::string path = dir.file("vsp.INI");
  SettingsFile settings;
};

TEST_F(WindowPositionTest, NormalWindowSavesAndRestoresPositionAndSize) {
  FakeWindow closing(40, 50, 600, 400);
  ASSERT_TRUE(settings.UpdateWindow("UpdateService", closing));
  EXPECT_EQ(saved("Maximize"), "No");
  EXPECT_EQ(saved("Minimize"), "No");
  EXPECT_EQ(saved("XPos"), "40");
  EXPECT_EQ(saved("YPos"), "50");
  EXPECT_EQ(saved("Width"), "600");
  EXPECT_EQ(saved("Height"), "400");

  FakeWindow opening(0, 0, 300, 200);
  settings.FetchWindow("UpdateService", opening);
  EXPECT_EQ(opening.changes, (std::vector<std::string>{"x=40", "y=50", "width=600", "height=400", "iconized=0"}));
}

TEST_F(WindowPositionTest, MaximizedWindowSavesNoPositionAndOpensMaximized) {
  settings.UpdateWindow("UpdateService", FakeWindow(40, 50, 600, 400));
  FakeWindow closing(1, 2, 3, 4);
  closing.SetMaximized(true);
  ASSERT_TRUE(settings.UpdateWindow("UpdateService", closing));
  EXPECT_EQ(saved("Maximize"), "Yes");
  EXPECT_EQ(saved("Minimize"), "No");
  for (const char* key : {"XPos", "YPos", "Width", "Height"}) EXPECT_EQ(saved(key), std::nullopt) << key;

  FakeWindow opening(10, 20, 300, 200);
  settings.FetchWindow("UpdateService", opening);
  EXPECT_TRUE(opening.IsMaximized());
  EXPECT_EQ(opening.changes, (std::vector<std::string>{"maximized=1", "iconized=0"}));
  EXPECT_EQ(opening.X(), 10);
  EXPECT_EQ(opening.Width(), 300);
}

TEST_F(WindowPositionTest, MaximizedWindowIsRestoredToNormalBeforeItIsPlaced) {
  settings.UpdateWindow("UpdateService", FakeWindow(40, 50, 600, 400));
  FakeWindow opening(0, 0, 300, 200);
  opening.SetMaximized(true);
  opening.changes.clear();
  settings.FetchWindow("UpdateService", opening);
  EXPECT_EQ(opening.changes,
            (std::vector<std::string>{"maximized=0", "x=40", "y=50", "width=600", "height=400", "iconized=0"}));
}

TEST_F(WindowPositionTest, FixedSizeWindowSavesNoSizeAndKeepsItsDesignedSize) {
  ASSERT_TRUE(settings.UpdateWindow("UpdateService", FakeWindow(40, 50, 600, 400, false)));
  EXPECT_EQ(saved("XPos"), "40");
  EXPECT_EQ(saved("Width"), std::nullopt);
  EXPECT_EQ(saved("Height"), std::nullopt);

  settings.Update("UpdateService", "Width", "999");  // even a size written by hand
  FakeWindow opening(0, 0, 300, 200, false);
  settings.FetchWindow("UpdateService", opening);
  EXPECT_EQ(opening.X(), 40);
  EXPECT_EQ(opening.Width(), 300);
  EXPECT_EQ(opening.Height(), 200);
}

TEST_F(WindowPositionTest, IconizedWindowSavesNoPositionAndOpensIconized) {
  FakeWindow closing(40, 50, 600, 400);
  closing.SetIconized(true);
  settings.UpdateWindow("UpdateService", closing);
  EXPECT_EQ(saved("Minimize"), "Yes");
  EXPECT_EQ(saved("XPos"), std::nullopt);
  FakeWindow opening(0, 0, 300, 200);
  settings.FetchWindow("UpdateService", opening);
  EXPECT_TRUE(opening.IsIconized());
  EXPECT_EQ(opening.X(), 0);
}

TEST_F(WindowPositionTest, WithoutASavedStateNothingIsRestored) {
  FakeWindow opening(0, 0, 300, 200);
  settings.FetchWindow("UpdateService", opening);
  settings.Update("UpdateService", "XPos", "40");
  settings.Update("UpdateService", "Maximize", "maybe");
  settings.FetchWindow("UpdateService", opening);
  EXPECT_TRUE(opening.changes.empty());
}

TEST_F(WindowPositionTest, DamagedNumbersAndEmptySizesAreIgnored) {
  settings.Update("UpdateService", "Maximize", "No");
  settings.Update("UpdateService", "XPos", "-20");
  settings.Update("UpdateService", "YPos", "12px");
  settings.Update("UpdateService", "Width", "0");
  settings.Update("UpdateService", "Height", "-5");
  FakeWindow opening(0, 7, 300, 200);
  settings.FetchWindow("UpdateService", opening);
  EXPECT_EQ(opening.changes, (std::vector<std::string>{"x=-20", "iconized=0"}));
}

TEST_F(WindowPositionTest, SectionsOfOtherScreensAreUntouched) {
  settings.UpdateWindow("BrowsePerformers", FakeWindow(5, 6, 700, 500));
  settings.UpdateWindow("UpdateService", FakeWindow(40, 50, 600, 400));
  FakeWindow opening(0, 0, 1, 1);
  settings.FetchWindow("BrowsePerformers", opening);
  EXPECT_EQ(opening.X(), 5);
  EXPECT_EQ(opening.Width(), 700);
}

}  // namespace
}  // namespace vrt::testing
