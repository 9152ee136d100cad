#include <gtest/gtest.h>

#include <fstream>

#include "error_manager_fixture.h"
#include "records/error_log.h"
#include "runtime/testing/pinned_clock.h"
#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "support/temp_dir.h"

namespace vesp::testing {
namespace {

std::vector<std::string> linesOf(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class ErrorLogTest : public ErrorManagerTest {
 protected:
  ErrorLogTest() {
    vrt::pinClockForTesting(vrt::dateFromYmd(2006, 3, 18), vrt::timeFromHms(17, 30, 5));
    errors.SetLogFile(log);
  }
  ~ErrorLogTest() override { vrt::unpinClockForTesting(); }

  std::string stamp() const {
    return vrt::formatPicture(vrt::dateFromYmd(2006, 3, 18), "@d17") + " " +
           vrt::formatPicture(vrt::timeFromHms(17, 30, 5), "@t8");
  }

  vtest::TempDir dir;
  std::string log = dir.file(kErrorLogFileName);
};

TEST_F(ErrorLogTest, OffByDefaultWritesNothing) {
  static_cast<void>(errors.Raise(Msg::NoRecords));
  EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(ErrorLogTest, EachShownMessageAppendsDateTimeArrowAndText) {
  errors.SetLogErrors(true);
  errors.NoteFile("Service");
  static_cast<void>(errors.Raise(Msg::InvalidKey));
  static_cast<void>(errors.Raise(Msg::FileCreationError));
  const std::vector<std::string> lines = linesOf(log);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], stamp() + " --> Service key file is invalid. Key must be rebuilt.");
  // The log holds the message, not the box's notice that the program ends.
  EXPECT_EQ(lines[1].find("Press OK"), std::string::npos);
  EXPECT_TRUE(lines[1].starts_with(stamp() + " --> Error: ("));
}

TEST_F(ErrorLogTest, LinesStayWholeAndWithinTheLimit) {
  errors.SetLogErrors(true);
  static_cast<void>(errors.RaiseWithText(Msg::NntpError, "first line\nsecond line"));
  errors.NoteMessageText(std::string(255, 'm'));
  addMessage(910, Level::Notify, "%Message%Message%Message%Message%Message");
  static_cast<void>(errors.Raise(910));
  const std::vector<std::string> lines = linesOf(log);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], stamp() + " --> first line second line ");
  EXPECT_EQ(lines[1].size(), kErrorLogLineLimit);
}

TEST_F(ErrorLogTest, AnUnwritableLogNeverStopsTheMessage) {
  errors.SetLogErrors(true);
  errors.SetLogFile(dir.file("no-such-folder/BrikError.Log"));
  EXPECT_EQ(errors.Raise(Msg::NoRecords), Level::Notify);
  EXPECT_EQ(display.messages.size(), 1u);
}

TEST_F(ErrorLogTest, BenignMessagesAreNotLogged) {
  errors.SetLogErrors(true);
  addMessage(911, Level::Benign, "quiet");
  static_cast<void>(errors.Raise(911));
  EXPECT_FALSE(std::filesystem::exists(log));
}

}  // namespace
}  // namespace vesp::testing
