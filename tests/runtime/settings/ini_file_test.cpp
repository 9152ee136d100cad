#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "runtime/settings/ini_file.h"

namespace vrt {
namespace {

using testing::TempDir;

const char* const kHandWritten =
    "; written by hand\n"
    "[BrowseService]\n"
    "Maximize=No\n"
    "XPos = 10 \n"
    "\n"
    "[Other]\n"
    "# keep me\n"
    "Name=Value=With=Equals\n"
    "garbage line without equals\n";

TEST(IniFile, ReadsEntriesWithoutRegardToCase) {
  const IniFile ini = IniFile::Parse(kHandWritten);
  EXPECT_EQ(ini.Get("browseservice", "XPOS"), "10");
  EXPECT_EQ(ini.Get("Other", "Name"), "Value=With=Equals");
  EXPECT_EQ(ini.Get("Other", "garbage line without equals"), std::nullopt);
  EXPECT_EQ(ini.Get("Missing", "Name"), std::nullopt);
  EXPECT_TRUE(ini.HasSection("OTHER"));
}

TEST(IniFile, KeepsEverythingItDoesNotChange) {
  EXPECT_EQ(IniFile::Parse(kHandWritten).Text(), kHandWritten);
  IniFile ini = IniFile::Parse(kHandWritten);
  ASSERT_TRUE(ini.Set("BrowseService", "XPos", "20"));
  ASSERT_TRUE(ini.Set("BrowseService", "YPos", "30"));
  ASSERT_TRUE(ini.Set("New", "A", "1"));
  EXPECT_EQ(ini.Text(),
            "; written by hand\n"
            "[BrowseService]\n"
            "Maximize=No\n"
            "XPos=20\n"
            "YPos=30\n"
            "\n"
            "[Other]\n"
            "# keep me\n"
            "Name=Value=With=Equals\n"
            "garbage line without equals\n"
            "\n"
            "[New]\n"
            "A=1\n");
}

TEST(IniFile, KeepsWindowsLineEndsAndByteOrderMark) {
  const std::string text = "\xEF\xBB\xBF[S]\r\nA=1\r\n";
  IniFile ini = IniFile::Parse(text);
  EXPECT_EQ(ini.Get("S", "A"), "1");
  EXPECT_EQ(ini.Text(), text);
  ini.Set("S", "B", "2");
  EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n");
}

TEST(IniFile, ValuesKeepTheirOwnBlanksAndQuotes) {
  IniFile ini;
  for (const std::string value : {"  padded  ", "\"quoted\"", "\"", "", "a \"b\" c", "ünïcödé"}) {
    ASSERT_TRUE(ini.Set("S", "V", value)) << value;
    EXPECT_EQ(IniFile::Parse(ini.Text()).Get("S", "V"), value) << value;
  }
}

TEST(IniFile, RefusesWhatAPlainIniFileCannotHold) {
  IniFile ini = IniFile::Parse("[S]\nA=1\n");
  const std::string before = ini.Text();
  EXPECT_FALSE(ini.Set("S", "A", "two\nlines"));
  EXPECT_FALSE(ini.Set("S", "B=C", "1"));
  EXPECT_FALSE(ini.Set("S", "[T]", "1"));
  EXPECT_FALSE(ini.Set("S", ";note", "1"));
  EXPECT_FALSE(ini.Set("S", "  ", "1"));
  EXPECT_FALSE(ini.Set("S]x", "A", "1"));
  EXPECT_FALSE(ini.Set("S\r\n[T", "A", "1"));
  EXPECT_FALSE(ini.Set("", "A", "1"));
  EXPECT_EQ(ini.Text(), before);
}

TEST(IniFile, ReadsAtMost1024Characters) {
  IniFile ini;
  ASSERT_TRUE(ini.Set("S", "Long", std::string(1500, 'x')));
  EXPECT_EQ(ini.Get("S", "Long"), std::string(IniFile::kValueLimit, 'x'));
}

TEST(IniFile, RemoveTakesEveryCopyOfTheEntry) {
  IniFile ini = IniFile::Parse("[S]\nA=1\nB=2\na=3\n[T]\nA=4\n");
  EXPECT_TRUE(ini.Remove("s", "A"));
  EXPECT_EQ(ini.Get("S", "A"), std::nullopt);
  EXPECT_EQ(ini.Get("T", "A"), "4");
  EXPECT_FALSE(ini.Remove("S", "A"));
  EXPECT_FALSE(ini.Remove("Missing", "A"));
  EXPECT_EQ(ini.Text(), "[S]\nB=2\n[T]\nA=4\n");
}

TEST(IniFile, EntriesBeforeAnySectionAreKeptButNotReachable) {
  IniFile ini = IniFile::Parse("A=1\n[S]\nB=2\n");
  EXPECT_EQ(ini.Get("", "A"), std::nullopt);
  ini.Set("S", "C", "3");
  EXPECT_EQ(ini.Text(), "A=1\n[S]\nB=2\nC=3\n");
}

TEST(IniFile, AnyBytesParseAndComeBackUnchangedButForLineEnds) {
  std::string text;
  for (int i = 0; i < 4096; ++i) text += static_cast<char>((i * 7919) % 256);
  const std::string once = IniFile::Parse(text).Text();
  EXPECT_EQ(IniFile::Parse(once).Text(), once);
  auto withoutLineEnds = [](std::string s) {
    std::erase(s, '\r');
    std::erase(s, '\n');
    return s;
  };
  EXPECT_EQ(withoutLineEnds(once), withoutLineEnds(text));
}

TEST(IniFile, LoadAndSaveReplaceTheFileWhole) {
  vtest::TempDir dir;
  const std::string path = dir.file("vsp.INI");
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));  // missing: empty
  EXPECT_EQ(ini.Text(), "");
  ini.Set("S", "A", "1");
  ASSERT_TRUE(ini.Save(path));
  IniFile again;
  ASSERT_TRUE(again.Load(path));
  EXPECT_EQ(again.Get("S", "A"), "1");
  // Nothing but the file itself is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(IniFile, UnreadableOrUnwritablePlacesFail) {
  vtest::TempDir dir;
  std::filesystem::create_directory(dir.file("folder.INI"));
  IniFile ini;
  EXPECT_FALSE(ini.Load(dir.file("folder.INI")));
  EXPECT_FALSE(ini.Save(dir.file("no-such-folder/vsp.INI")));
}

}  // namespace
}  // namespace vrt
