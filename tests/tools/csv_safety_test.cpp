// vesp-data's CSV, read back as a spreadsheet program would: stored text never turns into a
// formula, numbers and dates stay numbers, bytes that are not UTF-8 never reach the file.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>

#include "dictionary/dictionary.h"
#include "runtime/store/data_file.h"
#include "support/python_csv.h"
#include "support/run_vesp_data.h"
#include "support/temp_dir.h"

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

// Sets text fields of the first `texts.size()` records of `table`, in its first key's order.
void storeTexts(const std::string& table, const std::string& field, const std::vector<std::string>& texts,
                const std::string& zeroField = {}) {
  vrt::DataFile file(*vesp::dict::table(table));
  ASSERT_TRUE(file.open());
  const auto& schema = file.schema();
  const auto& f = schema.fields[static_cast<std::size_t>(schema.fieldIndex(field))];
  file.setToStart(0);
  for (const std::string& text : texts) {
    ASSERT_TRUE(file.next());
    file.buffer().setText(f, text);
    if (!zeroField.empty()) file.buffer().setNumber(schema.fields[static_cast<std::size_t>(schema.fieldIndex(zeroField))], 0);
    ASSERT_TRUE(file.put());
  }
  file.close();
}

vtest::CsvRows csvOf(const std::vector<std::string>& words) {
  const auto outcome = vesp::testing::runVespData(words);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  std::ofstream("out.csv", std::ios::binary | std::ios::trunc) << outcome.out;
  return vtest::readCsvWithPython("out.csv");
}

std::size_t column(const vtest::CsvRows& rows, const std::string& heading) {
  for (std::size_t c = 0; c < rows.at(0).size(); ++c)
    if (rows[0][c] == heading) return c;
  ADD_FAILURE() << "no column " << heading;
  return 0;
}

}  // namespace

TEST(CsvSafety, ExportAndQueryGuardFormulasAndReplaceBadBytes) {
  vtest::TempDir dir;
  ASSERT_EQ(vesp::testing::runVespData({"generate", "--prayer-requests", "5", "--services", "2"}).status, 0);
  storeTexts("PrayerRequest", "REQUEST", {"=HYPERLINK(\"http://x\")", "-2+3", "@me", "\rreturn", "Caf\xE9"});

  for (const auto& words : {std::vector<std::string>{"export", "PrayerRequest"},
                            std::vector<std::string>{"query", "PrayerRequest"}}) {
    const vtest::CsvRows rows = csvOf(words);
    ASSERT_EQ(rows.size(), 6u) << words[0];
    const std::size_t request = column(rows, "PRA:REQUEST"), number = column(rows, "PRA:REQUESTNUMBER"),
                      started = column(rows, "PRA:DATESTARTED");
    std::set<std::string> requests;
    for (std::size_t r = 1; r < rows.size(); ++r) {
      requests.insert(rows[r][request]);
      EXPECT_EQ(rows[r][number].find_first_not_of("0123456789"), std::string::npos) << rows[r][number];
      EXPECT_TRUE(rows[r][started].empty() || std::isdigit(static_cast<unsigned char>(rows[r][started][0])))
          << rows[r][started];
    }
    EXPECT_EQ(requests, (std::set<std::string>{"'=HYPERLINK(\"http://x\")", "'-2+3", "'@me", "'\rreturn",
                                               "Caf" + kReplacement}));
  }
}

TEST(CsvSafety, SongUsageGuardsTitlesAndKeepsItsCounts) {
  vtest::TempDir dir;
  ASSERT_EQ(vesp::testing::runVespData({"generate", "--prayer-requests", "0", "--services", "2"}).status, 0);
  // Elements without an entry are listed under their own titles.
  storeTexts("ServiceElement", "TITLE", {"=1+1", "+SUM(A1)", "Bad \xC3 byte"}, "BIBLIOGRAPHYNUMBER");
  const vtest::CsvRows rows = csvOf({"usage", "--from", "1900-01-01", "--to", "2100-12-31", "--csv"});
  ASSERT_GT(rows.size(), 3u);
  const std::size_t title = column(rows, "Title"), services = column(rows, "Services");
  std::set<std::string> titles;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    titles.insert(rows[r][title]);
    EXPECT_GE(std::stoi(rows[r][services]), 1) << rows[r][services];
  }
  EXPECT_TRUE(titles.count("'=1+1"));
  EXPECT_TRUE(titles.count("'+SUM(A1)"));
  EXPECT_TRUE(titles.count("Bad " + kReplacement + " byte"));
  EXPECT_FALSE(titles.count("=1+1"));
}
