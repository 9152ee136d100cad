// Song usage from the command line, checked against counts made independently from the
// tables' own exports.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "support/temp_dir.h"
#include "support/run_vesp_data.h"
#include "tools/vesp_data/commands.h"


namespace {

using Outcome = vesp::testing::CommandOutcome;

Outcome run(std::vector<std::string> words) { return vesp::testing::runVespData(std::move(words)); }

// CSV rows with quoted fields ("" inside quotes is a quote).
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string field;
  bool quoted = false, any = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += '"', ++i;
      else if (c == '"') quoted = false;
      else field += c;
    } else if (c == '"') {
      quoted = any = true;
    } else if (c == ',') {
      rows.back().push_back(field), field.clear();
    } else if (c == '\n') {
      rows.back().push_back(field), field.clear();
      rows.emplace_back();
    } else if (c != '\r') {
      field += c;
      any = true;
    }
  }
  if (!field.empty() || !rows.back().empty()) rows.back().push_back(field);
  if (rows.back().empty()) rows.pop_back();
  return rows;
}

int column(const std::vector<std::string>& header, const std::string& name) {
  for (std::size_t i = 0; i < header.size(); ++i)
    if (header[i] == name) return static_cast<int>(i);
  ADD_FAILURE() << "no column " << name;
  return 0;
}

}  // namespace

TEST(SongUsage, CountsEqualAnIndependentCountFromTheExports) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "120"}).status, 0);
  const std::string from = "2000-03-01", to = "2001-02-28";

  // Services in the range, and per bibliography entry the set of those services using it.
  const auto services = csvRows(run({"export", "Service"}).out);
  const int number = column(services[0], "SER:SERVICENUMBER"), date = column(services[0], "SER:WEEKOFDATE_DATE");
  std::map<std::string, std::string> dateOf;
  for (std::size_t i = 1; i < services.size(); ++i)
    if (services[i][date] >= from && services[i][date] <= to) dateOf[services[i][number]] = services[i][date];
  ASSERT_GT(dateOf.size(), 40u);
  const auto elements = csvRows(run({"export", "ServiceElement"}).out);
  const int service = column(elements[0], "SEL:SERVICENUMBER"), entry = column(elements[0], "SEL:BIBLIOGRAPHYNUMBER"),
            title = column(elements[0], "SEL:TITLE");
  std::map<std::string, std::set<std::string>> expected;  // entry (or "no entry: title") -> dates
  for (std::size_t i = 1; i < elements.size(); ++i) {
    const auto s = dateOf.find(elements[i][service]);
    if (s == dateOf.end()) continue;
    const std::string key = elements[i][entry] == "0" ? "no entry: " + elements[i][title] : elements[i][entry];
    expected[key].insert(s->second);
  }

  const Outcome usage = run({"usage", "--from", from, "--to", to, "--csv"});
  ASSERT_EQ(usage.status, 0) << usage.err;
  ASSERT_EQ(usage.out.rfind("\xEF\xBB\xBF", 0), 0u) << "a byte-order mark first";
  const auto rows = csvRows(usage.out.substr(3));
  ASSERT_EQ(rows[0], (std::vector<std::string>{"Bibliography #", "Title", "Written By", "Publisher", "CCLI", "Services",
                                               "Dates"}));
  std::map<std::string, std::set<std::string>> reported;
  std::string previousTitle;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const auto& r = rows[i];
    ASSERT_EQ(r.size(), 7u);
    const std::string key = r[0] == "no bibliography entry" ? "no entry: " + r[1] : r[0];
    std::set<std::string> dates;
    std::istringstream in(r[6]);
    for (std::string d; std::getline(in, d, ';');) dates.insert(d.substr(d.find_first_not_of(' ')));
    EXPECT_EQ(std::to_string(dates.size()), r[5]) << key;
    EXPECT_TRUE(reported.emplace(key, dates).second) << key << " listed twice";
  }
  EXPECT_EQ(reported, expected);
  EXPECT_TRUE(reported.count("no entry: Welcome")) << "elements without an entry are reported too";

  // By count: the most used first.
  const auto byCount = csvRows(run({"usage", "--from", from, "--to", to, "--csv", "--order", "count"}).out.substr(3));
  for (std::size_t i = 2; i < byCount.size(); ++i) EXPECT_GE(std::stoi(byCount[i - 1][5]), std::stoi(byCount[i][5]));
}

TEST(SongUsage, BadRangesAreRefusedWithAMessage) {
  vtest::TempDir dir;
  ASSERT_EQ(run({"generate", "--prayer-requests", "0", "--services", "4"}).status, 0);
  for (const auto& words : std::vector<std::vector<std::string>>{
           {"usage"}, {"usage", "--from", "2000-01-01"}, {"usage", "--from", "2000-02-30", "--to", "2000-03-01"},
           {"usage", "--from", "2001-01-01", "--to", "2000-01-01"}, {"usage", "--from", "yesterday", "--to", "today"},
           {"usage", "--from", "2000-01-01", "--to", "2000-12-31", "--order", "popularity"}}) {
    const Outcome r = run(words);
    EXPECT_EQ(r.status, 2) << words.size();
    EXPECT_FALSE(r.err.empty());
    EXPECT_TRUE(r.out.empty());
  }
  // A range without services is an empty list, not a failure.
  const Outcome none = run({"usage", "--from", "1990-01-01", "--to", "1990-12-31"});
  EXPECT_EQ(none.status, 0);
  EXPECT_NE(none.out.find("0 entries used in 0 services"), std::string::npos);
}
