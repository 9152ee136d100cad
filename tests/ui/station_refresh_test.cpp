// Two stations on one server database: this program, and the data tool run as a process of
// its own in the same folder.
#include <gtest/gtest.h>

#include <QThread>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "records/location_file.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "runtime/store/data_location.h"
#include "support/run_vesp_data.h"
#include "support/scratch_database.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kStatistics = "Browse the Statistic Type File";

class StationRefreshTest : public ProgramTest {
 protected:
  void TearDown() override {
    ProgramTest::TearDown();
    vrt::store::openData(vrt::store::DataLocation::files());
  }
  vrt::PagedList& list() { return *robot.control(kStatistics, "?Browse:1").list(); }
  std::vector<std::string> rows() {
    std::vector<std::string> out;
    for (int r = 1; r <= list().rowCount(); ++r) out.push_back(list().rowAt(r).at(0));
    return out;
  }
  std::string highlighted() { return list().rowAt(list().selectedRow()).at(0); }
  // The statistic type's number, as the data tool exports it.
  static std::string numberOf(const std::string& name) {
    std::istringstream csv(runVespData({"export", "StatisticType"}).out);
    for (std::string line; std::getline(csv, line);)
      if (line.size() > name.size() && line.compare(line.size() - name.size(), name.size(), name) == 0)
        return line.substr(0, line.find(','));
    return {};
  }
};

}  // namespace

// Nobody touches the list at this station: the server's notice alone brings the other
// station's delete into it, and the row the user had highlighted stays highlighted.
TEST_F(StationRefreshTest, AnOpenListShowsAnotherStationsDeleteAndKeepsItsHighlightedRow) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db;
  ASSERT_TRUE(db.ok());
  ASSERT_EQ(location::writeLocation(".", db.location()), "");
  ASSERT_EQ(runVespData({"create"}).status, 0) << "a new database gets its starting lists";
  start();
  robot.chooseMenu("&Browse|&Lists|&Statistic Types");
  const std::vector<std::string> before = rows();
  ASSERT_GE(before.size(), 3u);
  robot.chooseRow(kStatistics, "?Browse:1", 3);
  ASSERT_EQ(highlighted(), before[2]);

  const std::string number = numberOf(before[0]);
  ASSERT_FALSE(number.empty()) << before[0];
  const std::string other = std::string(VESP_DATA_TOOL) + " delete StatisticType " + number + " >/dev/null";
  ASSERT_EQ(std::system(other.c_str()), 0) << other;

  std::vector<std::string> now = rows();
  for (int waited = 0; waited < 100 && now == before; ++waited) {
    QThread::msleep(50);
    robot.settle();
    now = rows();
  }
  std::vector<std::string> expected(before.begin() + 1, before.end());
  EXPECT_EQ(now, expected) << "the other station's delete shows without a key pressed";
  EXPECT_EQ(highlighted(), before[2]);
  robot.chooseMenu("&File|E&xit");
}
