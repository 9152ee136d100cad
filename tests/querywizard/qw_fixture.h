#pragma once
// Common ground for the library's tests: a fresh folder, the display texts the main program
// sets, and scripted answers in place of the windows, with a record of every message shown.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "querywizard/display_text.h"
#include "querywizard/field_registry.h"
#include "querywizard/globals.h"
#include "querywizard/hooks.h"
#include "querywizard/lists.h"
#include "support/temp_dir.h"

namespace qwtest {

struct Shown {
  std::string text, caption;
};

inline void setMainProgramTexts() {
  const char* ops[] = {"Is Equal To", "Is NOT Equal To", "Is Greater Than", "Is Less Than",
                       "Is Greater Than or Equal To", "Is Less Than or Equal To", "Begins With", "Contains",
                       "Does NOT Begin With", "Does NOT Contain", "Is Checked", "Is NOT Checked"};
  for (int i = 0; i < 12; ++i) qrywiz::XB_SETQWDISPLAYTEXT(i + 1, ops[i]);
  qrywiz::XB_SETQWDISPLAYTEXT(31, "ErrorLoadingQuery");
  qrywiz::XB_SETQWDISPLAYTEXT(32, "An error has prevented the Query Wizard from loading your query at this time.");
  qrywiz::XB_SETQWDISPLAYTEXT(33, "Invalid Query");
  qrywiz::XB_SETQWDISPLAYTEXT(34, "The query you have designed is invalid.|Please review your query and correct the problem.");
  qrywiz::XB_SETQWDISPLAYTEXT(37, "Query No Longer Valid");
  qrywiz::XB_SETQWDISPLAYTEXT(38, "This query is no longer valid.");
  qrywiz::XB_SETQWDISPLAYTEXT(39, "Restricted Query");
  qrywiz::XB_SETQWDISPLAYTEXT(40, "Sorry, this is a restricted query and may not be modified.");
  qrywiz::XB_SETQWDISPLAYTEXT(300, "Converting Saved Query Data -- Please Wait...");
  qrywiz::XB_SETQWDISPLAYTEXT(301, "Converting Data File Structure  -- Please Wait...");
  qrywiz::XB_SETQWDISPLAYTEXT(302, "All Records");
  qrywiz::XB_SETQWDISPLAYTEXT(303, "Custom Query...");
}

// The packed text of one offered field.
inline std::string packed(const std::vector<std::string>& values) {
  std::string s;
  for (const auto& v : values) s += v + "\xA6";
  return s + "\xAB";
}

// The prayer-request fields the main program offers.
inline std::string prayerFieldsText() {
  return packed({"PRA:Request Number", "0", "PRA:RequestNumber", "@n-14", "4", "2", "1", "", ""}) +
         packed({"PRA:Request", "0", "PRA:Request", "@s255", "5000", "1", "1", "", ""}) +
         packed({"PRA:Date Started", "0", "PRA:DateStarted", "@d2-", "4", "4", "1", "", ""}) +
         packed({"PRA:Date Answered", "0", "PRA:DateAnswered", "@d2-", "4", "4", "1", "", ""}) +
         packed({"PRA:Number of Days", "0", "PRA:NumberDays", "@s10", "10", "1", "1", "", ""}) +
         packed({"PRA:Answer", "0", "PRA:Answer", "@s20", "20", "1", "3", "", " |Yes|No|Other"}) +
         packed({"PRA:Comments", "0", "PRA:Comments", "@s255", "5000", "1", "1", "", ""}) +
         packed({"PRA:Category", "0", "PRA:RequestCategory", "@s30", "30", "1", "1", "", ""});
}

inline qrywiz::XBQW_FIELDSQUEUE prayerFields() {
  qrywiz::XBQW_FIELDSQUEUE fields;
  std::int32_t error = 0;
  qrywiz::XB_ADDFIELDSQUEUEDATA(fields, error, prayerFieldsText());
  return fields;
}

class QwTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qrywiz::resetHooks();
    qrywiz::resetDisplayTexts();
    qrywiz::resetFilePaths();
    qrywiz::XBQW_SqlUpper.clear();
    qrywiz::XBQW_SqlDatePic.clear();
    setMainProgramTexts();
    auto& h = qrywiz::hooks();
    h.message = [this](std::string_view text, std::string_view caption, int, int defaultButton) {
      shown.push_back({std::string(text), std::string(caption)});
      if (answers.empty()) return defaultButton;
      const int a = answers.front();
      answers.pop_front();
      return a;
    };
    h.describe = [this](qrywiz::DescriptionRequest, std::string_view current) -> std::optional<std::string> {
      if (descriptions.empty()) return std::string(current);
      auto d = descriptions.front();
      descriptions.pop_front();
      return d;
    };
  }
  void TearDown() override { qrywiz::resetHooks(); }

  bool wasShown(std::string_view caption) const {
    for (const auto& s : shown)
      if (s.caption == caption) return true;
    return false;
  }

  vtest::TempDir dir;
  std::vector<Shown> shown;
  std::deque<int> answers;                              // buttons pressed, in order
  std::deque<std::optional<std::string>> descriptions;  // what the description form returns
};

}  // namespace qwtest
