// The fields the prayer-request browse offers the query wizard.
#include <gtest/gtest.h>

#include <map>

#include "querywizard/field_registry.h"
#include "screens/prayer/offered_fields.h"
#include "support/temp_dir.h"

using namespace vesp;

namespace {

TEST(OfferedFieldsTest, EightFieldsOfTheRequestTableWithTheirPicturesAndControls) {
  vtest::TempDir dir;  // the field numbers live in the saved-query file
  qrywiz::XBQW_FIELDSQUEUE fields;
  ASSERT_EQ(RegisterPrayerRequestFields(fields), 0);
  ASSERT_EQ(fields.size(), 8u);
  std::map<std::string, qrywiz::XBQW_FIELDSQUEUE_Record> byName;
  for (const auto& f : fields) byName[f.QWFLDNAME] = f;
  const auto& answer = byName.at("PRA:Answer");
  EXPECT_EQ(answer.QWFLDDESC, "PRA:Answer");
  EXPECT_EQ(answer.QWFLDCONTROL, 3);
  EXPECT_EQ(answer.QWFLDOPTIONS, " |Yes|No|Other");
  const auto& number = byName.at("PRA:RequestNumber");
  EXPECT_EQ(number.QWFLDDESC, "PRA:Request Number");
  EXPECT_EQ(number.QWFLDDATATYPE, 2);
  EXPECT_EQ(number.QWFLDPICTURE, "@n-14");
  const auto& started = byName.at("PRA:DateStarted");
  EXPECT_EQ(started.QWFLDDATATYPE, 4);
  EXPECT_EQ(started.QWFLDPICTURE, "@d2-");
  EXPECT_EQ(byName.at("PRA:Request").QWFLDLENGTH, 5000);
  EXPECT_EQ(byName.at("PRA:RequestCategory").QWFLDDESC, "PRA:Category");
  for (const auto& f : fields) {
    EXPECT_EQ(f.QWFLDFIELDTYPE, 0) << f.QWFLDNAME;
    EXPECT_EQ(f.QWFLDLOOKUP, "") << f.QWFLDNAME;
    EXPECT_GT(f.QWFLDFIELDPOINTER, 0) << f.QWFLDNAME << " is numbered";
  }
}

TEST(OfferedFieldsTest, RegisteringAgainKeepsEveryFieldsNumber) {
  vtest::TempDir dir;
  qrywiz::XBQW_FIELDSQUEUE first, again;
  RegisterPrayerRequestFields(first);
  RegisterPrayerRequestFields(again);
  again.push_back({});  // emptied before it is filled
  RegisterPrayerRequestFields(again);
  ASSERT_EQ(again.size(), first.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(again[i].QWFLDNAME, first[i].QWFLDNAME);
    EXPECT_EQ(again[i].QWFLDFIELDPOINTER, first[i].QWFLDFIELDPOINTER);
  }
}

}  // namespace
