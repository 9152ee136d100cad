// Display texts, file paths, the per-thread response and the packed field text.
#include <thread>

#include "qw_fixture.h"
#include "querywizard/field_registry.h"
#include "runtime/os/thread_state.h"

using namespace qrywiz;

namespace {

class Interface : public qwtest::QwTest {};

}  // namespace

TEST_F(Interface, DisplayTextsAreEmptyUntilSetAndCutToTheirWidth) {
  resetDisplayTexts();
  EXPECT_EQ(displayText(1), "");
  EXPECT_EQ(displayNumber(72), 0);
  XB_SETQWDISPLAYTEXT(1, std::string(50, 'a'));
  EXPECT_EQ(displayText(1), std::string(30, 'a'));
  // Button triples: long, short, button text.
  XB_SETQWDISPLAYTEXT(101, std::string(70, 'l'));
  XB_SETQWDISPLAYTEXT(102, std::string(70, 's'));
  XB_SETQWDISPLAYTEXT(103, std::string(70, 'b'));
  EXPECT_EQ(displayText(101).size(), 60u);
  EXPECT_EQ(displayText(102).size(), 35u);
  EXPECT_EQ(displayText(103).size(), 15u);
  EXPECT_EQ(displayTextWidth(217), 15u);
  EXPECT_EQ(displayTextWidth(238), 25u);
  EXPECT_EQ(displayTextWidth(38), 350u);
  EXPECT_EQ(displayTextWidth(303), 60u);
  // A cut never splits a character: 29 bytes of "a" and a two-byte character do not fit 30.
  XB_SETQWDISPLAYTEXT(2, std::string(29, 'a') + "é");
  EXPECT_EQ(displayText(2), std::string(29, 'a'));
}

TEST_F(Interface, NumberEntriesSplitEntriesAndIgnoredIds) {
  XB_SETQWDISPLAYTEXT(72, " 8");
  XB_SETQWDISPLAYTEXT(80, "12");
  XB_SETQWDISPLAYTEXT(74, "ten");
  EXPECT_EQ(displayNumber(72), 8);
  EXPECT_EQ(displayNumber(80), 12);
  EXPECT_EQ(displayNumber(74), 0);
  XB_SETQWDISPLAYTEXT(161, "Compare Using Absolute Values|Extra");
  EXPECT_EQ(displayText(161), "Compare Using Absolute Values");
  EXPECT_EQ(displayExtra(161), "Extra");
  XB_SETQWDISPLAYTEXT(162, std::string(80, 'c') + "|" + std::string(50, 'e'));
  EXPECT_EQ(displayText(162), std::string(70, 'c'));
  EXPECT_EQ(displayExtra(162), std::string(40, 'e'));
  XB_SETQWDISPLAYTEXT(162, "Case");
  EXPECT_EQ(displayExtra(162), "");
  for (int id : {0, 13, 30, 43, 99, 128, 218, 219, 243, 244, 248, 299, 304, -1}) {
    XB_SETQWDISPLAYTEXT(id, "x");
    EXPECT_EQ(displayText(id), "") << id;
  }
}

TEST_F(Interface, FilePathModes) {
  EXPECT_EQ(queryFileNames().queries, "QUERIES.TPS\\!XBQW_Queries");
  EXPECT_EQ(queryFileNames().elements, "QUERIES.TPS\\!XBQW_Elements");
  EXPECT_EQ(queryFileNames().fields, "QUERIES.TPS\\!XBQW_Fields");
  EXPECT_EQ(XBQW_FilePath, "");

  // Passed with a mode that is not 0: recorded, used at the next operation.
  const std::string path = "data", name = "MINE.TPS";
  XB_SETQWFILEPATHS(1, &path, &name);
  EXPECT_EQ(XBQW_FilePath, "");
  EXPECT_EQ(queryFileNames().queries, "data/MINE.TPS\\!XBQW_Queries");
  EXPECT_EQ(XBQW_FilePath, "data\\");
  EXPECT_EQ(XBQW_FileName, "MINE.TPS");

  // Mode 2 forgets what was recorded.
  XB_SETQWFILEPATHS(2);
  EXPECT_EQ(queryFileNames().fields, "QUERIES.TPS\\!XBQW_Fields");
  EXPECT_EQ(XBQW_FilePath, "");

  // Mode omitted rebuilds at once; a value not passed keeps the recorded one.
  XB_SETQWFILEPATHS(std::nullopt, &path);
  EXPECT_EQ(XBQW_FilePath, "data\\");
  XB_SETQWFILEPATHS(std::nullopt, nullptr, &name);
  EXPECT_EQ(queryFileNames().file, "data/MINE.TPS");
  const std::string slashed = "C:\\Queries\\";
  XB_SETQWFILEPATHS(0, &slashed);
  EXPECT_EQ(XBQW_FilePath, "C:\\Queries\\");
  EXPECT_EQ(queryFileNames().file, "C:/Queries/MINE.TPS");
}

TEST_F(Interface, ResponseBelongsToEachThread) {
  XBQW_Response() = 7;
  vrt::ThreadContext other(2);
  {
    vrt::ThreadContextScope scope(other);
    EXPECT_EQ(XBQW_Response(), 0);
    XBQW_Response() = -2;
  }
  EXPECT_EQ(XBQW_Response(), 7);
  std::int32_t seen = 99;
  std::thread([&] { seen = XBQW_Response(); }).join();
  EXPECT_EQ(seen, 0);
}

TEST_F(Interface, PackedTextAddsRecords) {
  XBQW_FIELDSQUEUE fields;
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(fields, error, qwtest::prayerFieldsText());
  EXPECT_EQ(error, 0);
  ASSERT_EQ(fields.size(), 8u);
  const auto& answer = fields[5];
  EXPECT_EQ(answer.QWFLDDESC, "PRA:Answer");
  EXPECT_EQ(answer.QWFLDFIELDTYPE, 0);
  EXPECT_EQ(answer.QWFLDNAME, "PRA:Answer");
  EXPECT_EQ(answer.QWFLDPICTURE, "@s20");
  EXPECT_EQ(answer.QWFLDLENGTH, 20);
  EXPECT_EQ(answer.QWFLDDATATYPE, 1);
  EXPECT_EQ(answer.QWFLDCONTROL, 3);
  EXPECT_EQ(answer.QWFLDOPTIONS, " |Yes|No|Other");
  EXPECT_EQ(answer.QWFLDQPOINTER, 0);
  EXPECT_EQ(answer.QWFLDFIELDPOINTER, 0);
  EXPECT_EQ(fields[1].QWFLDLENGTH, 5000);
  // A second call appends; empty values clear.
  XB_ADDFIELDSQUEUEDATA(fields, error, qwtest::packed({"Café ë", "1", "", "", "", "", "", "", ""}));
  EXPECT_EQ(error, 0);
  ASSERT_EQ(fields.size(), 9u);
  EXPECT_EQ(fields[8].QWFLDDESC, "Café ë");
  EXPECT_EQ(fields[8].QWFLDFIELDTYPE, 1);
  EXPECT_EQ(fields[8].QWFLDLENGTH, 0);
  // Longer values are cut to the field's width.
  XB_ADDFIELDSQUEUEDATA(fields, error, qwtest::packed({std::string(50, 'd'), "0", std::string(70, 'n'), "", "", "", "", "", ""}));
  EXPECT_EQ(fields.back().QWFLDDESC.size(), 40u);
  EXPECT_EQ(fields.back().QWFLDNAME.size(), 60u);
}

TEST_F(Interface, MalformedPackedTextEmptiesTheList) {
  XBQW_FIELDSQUEUE fields = qwtest::prayerFields();
  std::int32_t error = 0;
  std::string text = qwtest::prayerFieldsText();
  text.pop_back();
  XB_ADDFIELDSQUEUEDATA(fields, error, text);
  EXPECT_EQ(error, -2);
  EXPECT_TRUE(fields.empty());

  fields = qwtest::prayerFields();
  error = 0;
  XB_ADDFIELDSQUEUEDATA(fields, error, qwtest::packed({"a", "0", "b", "", "", "", "", "", "", "ten"}));
  EXPECT_EQ(error, -1);
  EXPECT_TRUE(fields.empty());

  error = 0;
  XB_ADDFIELDSQUEUEDATA(fields, error, qwtest::packed({"a", "0", "b", "", "", "", "", ""}));
  EXPECT_EQ(error, -1);
  error = 0;
  XB_ADDFIELDSQUEUEDATA(fields, error, "");
  EXPECT_EQ(error, -2);

  // A pending error makes later calls do nothing, so a caller may test once.
  fields = qwtest::prayerFields();
  error = -1;
  XB_ADDFIELDSQUEUEDATA(fields, error, qwtest::prayerFieldsText());
  EXPECT_EQ(error, -1);
  EXPECT_EQ(fields.size(), 8u);
}
