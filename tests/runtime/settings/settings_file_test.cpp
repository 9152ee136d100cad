#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <latch>
#include <sstream>
#include <thread>

#include "fake_window.h"
#include "support/temp_dir.h"
#include "runtime/settings/ini_file.h"
#include "runtime/settings/settings_file.h"
#include "runtime/settings/settings_list.h"

namespace vrt::testing {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class SettingsFileTest : public ::testing::Test {
 protected:
  void open(int kind = SettingsFile::Ini) { settings.Open(path, kind); }

  vtest::TempDir dir;
  std::string path = dir.file("vsp.INI");
  SettingsFile settings;
};

TEST_F(SettingsFileTest, FetchGivesTheValueOrTheDefault) {
  open();
  EXPECT_EQ(settings.Fetch("UpdateService", "XPos", "none"), "none");
  ASSERT_TRUE(settings.Update("UpdateService", "XPos", "12"));
  EXPECT_EQ(settings.Fetch("UpdateService", "XPos", "none"), "12");
  ASSERT_TRUE(settings.Delete("UpdateService", "XPos"));
  EXPECT_EQ(settings.Fetch("UpdateService", "XPos", "none"), "none");
  EXPECT_TRUE(settings.Delete("UpdateService", "XPos"));  // already gone
}

TEST_F(SettingsFileTest, UpdateKeepsWhatOthersWroteInTheFile) {
  writeFile(path, "; mine\n[_PreviewWindow_]\nZoom=2\n[UpdateService]\nXPos=1\n");
  open();
  settings.Update("UpdateService", "XPos", "2");
  EXPECT_EQ(readFile(path), "; mine\n[_PreviewWindow_]\nZoom=2\n[UpdateService]\nXPos=2\n");
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsNeverOverwritten) {
  writeFile(path, "[S]\nA=1\n");
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);  // stands in for a file we may not read
  open();
  EXPECT_EQ(settings.Fetch("S", "A", "default"), "default");
  EXPECT_FALSE(settings.Update("S", "A", "2"));
  EXPECT_FALSE(settings.UpdateWindow("S", FakeWindow(1, 2, 3, 4)));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(SettingsFileTest, UpdateRefusesEntriesAnIniFileCannotHold) {
  open();
  EXPECT_FALSE(settings.Update("S", "A", "line one\r\n[Injected]"));
  EXPECT_FALSE(settings.Update("S", "A=B", "1"));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SettingsFileTest, FetchFieldReturnsTheNthCommaSeparatedField) {
  open();
  settings.Update("S", "Row", "alpha,beta,,delta");
  EXPECT_EQ(settings.FetchField("S", "Row", 1), "alpha");
  EXPECT_EQ(settings.FetchField("S", "Row", 2), "beta");
  EXPECT_EQ(settings.FetchField("S", "Row", 3), "");
  EXPECT_EQ(settings.FetchField("S", "Row", 4), "delta");
  EXPECT_EQ(settings.FetchField("S", "Row", 5), "");
  EXPECT_EQ(settings.FetchField("S", "Row", 0), "");
  EXPECT_EQ(settings.FetchField("S", "Missing", 1), "---Unknown---");
  EXPECT_EQ(settings.FetchField("S", "Missing", 2), "");
  EXPECT_EQ(settings.FetchField("Missing", "Row", 1), "---Unknown---");
}

TEST_F(SettingsFileTest, ListsKeepCountAndRows) {
  open();
  const std::vector<std::vector<std::string>> rows{{"a", "b"}, {"c"}, {"", "d", ""}};
  ASSERT_TRUE(settings.UpdateList("Lists", "Recent", rows));
  EXPECT_EQ(settings.Fetch("Lists", "Recent"), "3");
  EXPECT_EQ(settings.Fetch("Lists", "Recent_1"), "a,b");
  EXPECT_EQ(settings.FetchList("Lists", "Recent"), rows);

  // A shorter list leaves no rows of the longer one behind.
  ASSERT_TRUE(settings.UpdateList("Lists", "Recent", {{"x"}}));
  EXPECT_EQ(settings.FetchList("Lists", "Recent"), (std::vector<std::vector<std::string>>{{"x"}}));
  EXPECT_EQ(settings.Fetch("Lists", "Recent_2", "gone"), "gone");
  EXPECT_TRUE(settings.FetchList("Lists", "Missing").empty());

  // A list too long to be read back whole is not written at all.
  const std::vector<std::vector<std::string>> huge(kSettingsListRowLimit + 1, {"x"});
  EXPECT_FALSE(settings.UpdateList("Lists", "Huge", huge));
  EXPECT_EQ(settings.Fetch("Lists", "Huge", "none"), "none");
}

TEST_F(SettingsFileTest, DamagedListCountsReadAsWhatIsThere) {
  writeFile(path, "[L]\nA=2\nA_1=one\nB=many\nB_1=x\nC=-4\nD=999999999\nD_1=first\n");
  open();
  EXPECT_EQ(settings.FetchList("L", "A"), (std::vector<std::vector<std::string>>{{"one"}}));
  EXPECT_TRUE(settings.FetchList("L", "B").empty());
  EXPECT_TRUE(settings.FetchList("L", "C").empty());
  EXPECT_EQ(settings.FetchList("L", "D"), (std::vector<std::vector<std::string>>{{"first"}}));
}

TEST_F(SettingsFileTest, KindNowhereKeepsNothing) {
  open(SettingsFile::Nowhere);
  EXPECT_TRUE(settings.Update("S", "A", "1"));
  EXPECT_EQ(settings.Fetch("S", "A", "default"), "");
  EXPECT_EQ(settings.FetchField("S", "A", 1), "---Unknown---");
  EXPECT_TRUE(settings.FetchList("S", "L").empty());
  EXPECT_TRUE(settings.UpdateWindow("S", FakeWindow(1, 2, 3, 4)));
  FakeWindow window(0, 0, 10, 10);
  settings.FetchWindow("S", window);
  EXPECT_TRUE(window.changes.empty());
  settings.AddSector("Owner", "Item", "Kind");
  settings.Close();
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SettingsFileTest, UnknownKindsKeepNothing) {
  settings.Open(path, 7);
  EXPECT_EQ(settings.Kind(), SettingsFile::Nowhere);
  settings.Update("S", "A", "1");
  settings.Close();
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SettingsFileTest, RegistryKindKeepsValuesUnderTheKeyPath) {
  const std::string registry = dir.file("user/registry.ini");
  settings.SetRegistryFallbackFile(registry);
  settings.Open("Software\\Vespera", SettingsFile::Registry);
  ASSERT_TRUE(settings.Update("UpdateService", "XPos", "12"));
  ASSERT_TRUE(settings.Update("UpdateService", "Blank", ""));
  EXPECT_EQ(settings.Fetch("UpdateService", "XPos", "none"), "12");
  EXPECT_EQ(settings.Fetch("UpdateService", "Blank", "none"), "none");  // empty counts as missing here
  EXPECT_EQ(settings.FetchField("UpdateService", "Blank", 1), "---Unknown---");
  ASSERT_TRUE(settings.Delete("UpdateService", "XPos"));
  EXPECT_EQ(settings.Fetch("UpdateService", "XPos", "none"), "none");
#ifndef _WIN32
  settings.Update("UpdateService", "YPos", "7");
  IniFile stored;
  ASSERT_TRUE(stored.Load(registry));
  EXPECT_EQ(stored.Get("80000000\\Software\\Vespera\\UpdateService", "YPos"), "7");

  // Without a file name the section is the key path itself; the root key is kept apart.
  settings.Open("", SettingsFile::Registry, 0x80000001L);
  settings.Update("UpdateService", "YPos", "8");
  ASSERT_TRUE(stored.Load(registry));
  EXPECT_EQ(stored.Get("80000001\\UpdateService", "YPos"), "8");
  EXPECT_EQ(stored.Get("80000000\\Software\\Vespera\\UpdateService", "YPos"), "7");
  EXPECT_FALSE(std::filesystem::exists(path));
#endif
}

// --- the sector list ---

TEST_F(SettingsFileTest, SectorListSurvivesCloseAndOpenWithDollarsAndCommas) {
  open();
  EXPECT_EQ(settings.AddSector("Report", "Cost $ & $$ more", "Columns"), "Report$Cost $$$ & $$$$$$ more$$Columns");
  EXPECT_EQ(settings.AddSector("Report", "a, b", "Sizes"), "Report$a, b$$Sizes");
  settings.AddSector("Report", "a, b", "Sizes");  // once only
  EXPECT_EQ(settings.AddSector("Re$port", "x", "y"), std::nullopt);
  settings.Close();

  IniFile stored;
  ASSERT_TRUE(stored.Load(path));
  EXPECT_EQ(stored.Get("__Dont_Touch_Me__", "Sectors"), "2");
  EXPECT_EQ(stored.Get("__Dont_Touch_Me__", "Sectors_1"), "Report,Cost $ & $$ more,Columns");
  EXPECT_EQ(stored.Get("__Dont_Touch_Me__", "Sectors_2"), "Report,a, b,Sizes");

  SettingsFile again;
  again.Open(path, SettingsFile::Ini);
  EXPECT_EQ(again.Sectors(), (std::vector<Sector>{{"Report", "Cost $ & $$ more", "Columns"},
                                                  {"Report", "a, b", "Sizes"}}));
  const std::vector<Sector> sectors = again.Sectors();
  EXPECT_EQ(parseSectorSectionName(*again.AddSector("Report", "Cost $ & $$ more", "Columns")), sectors[0]);
}

TEST_F(SettingsFileTest, OpeningAgainWritesTheSectorListFirst) {
  open();
  settings.AddSector("Owner", "Item", "Kind");
  open();
  EXPECT_EQ(settings.Sectors(), (std::vector<Sector>{{"Owner", "Item", "Kind"}}));
}

// --- concurrency ---

TEST_F(SettingsFileTest, TwoThreadsClosingAtOnceBothLeaveCompleteSections) {
  open();
  constexpr int kRounds = 50;
  std::latch start(2);
  auto browse = [&](const char* procedure, int base) {
    start.arrive_and_wait();
    for (int i = 0; i < kRounds; ++i) {
      settings.UpdateWindow(procedure, FakeWindow(base + i, base + i + 1, 500 + i, 300 + i));
      settings.Update(procedure, "Round", std::to_string(i));
    }
  };
  std::thread first(browse, "BrowseService", 0);
  std::thread second(browse, "BrowsePerformers", 1000);
  first.join();
  second.join();

  IniFile stored;
  ASSERT_TRUE(stored.Load(path));
  const int last = kRounds - 1;
  for (auto [procedure, base] : {std::pair{"BrowseService", 0}, std::pair{"BrowsePerformers", 1000}}) {
    EXPECT_EQ(stored.Get(procedure, "Maximize"), "No") << procedure;
    EXPECT_EQ(stored.Get(procedure, "Minimize"), "No") << procedure;
    EXPECT_EQ(stored.Get(procedure, "XPos"), std::to_string(base + last)) << procedure;
    EXPECT_EQ(stored.Get(procedure, "YPos"), std::to_string(base + last + 1)) << procedure;
    EXPECT_EQ(stored.Get(procedure, "Width"), std::to_string(500 + last)) << procedure;
    EXPECT_EQ(stored.Get(procedure, "Height"), std::to_string(300 + last)) << procedure;
    EXPECT_EQ(stored.Get(procedure, "Round"), std::to_string(last)) << procedure;
  }
  const std::string text = readFile(path);
  EXPECT_EQ(text.find("[BrowseService]"), text.rfind("[BrowseService]"));
}

}  // namespace
}  // namespace vrt::testing
