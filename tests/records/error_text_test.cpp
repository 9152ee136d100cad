#include <gtest/gtest.h>

#include "records/error_text.h"

namespace vesp {
namespace {

class MessageTextTest : public ::testing::Test {
 protected:
  MessageTextTest() {
    status.FILENAME = "Service";
    status.KEYNAME = "SER:ServiceNumberKey";
    status.FIELDNAME = "SER:Title";
    status.MESSAGETEXT = "the message";
    status.errorCode = 33;
    status.errorText = "Record Not Available";
    status.fileErrorCode = 19;
    status.fileErrorText = "constraint failed";
  }
  std::string build(std::string_view text, std::string_view procedure = "UpdateService") const {
    return buildMessageText(text, MessageContext{status, procedure, "Brik"});
  }
  ErrorStatus status;
};

TEST_F(MessageTextTest, ErrorTextIsTheDriversOwnForCodes90And100Only) {
  EXPECT_EQ(build("(%ErrorText)"), "(Record Not Available (33))");
  for (int code : {90, 100}) {
    status.errorCode = code;
    EXPECT_EQ(build("(%ErrorText)"), "(constraint failed (19))") << code;
  }
  status.errorCode = 91;
  status.errorText = "Invalid Argument";
  EXPECT_EQ(build("(%ErrorText)"), "(Invalid Argument (91))");
}

TEST_F(MessageTextTest, LongerPlaceholdersAreNeverEatenByShorterOnes) {
  EXPECT_EQ(build("%FileErrorCode|%FileError|%File"), "19|constraint failed|Service");
  EXPECT_EQ(build("%ErrorCode|%ErrorText|%Error"), "33|Record Not Available (33)|Record Not Available");
  EXPECT_EQ(build("%FileErrorCodes"), "19s");
}

TEST_F(MessageTextTest, EveryPlaceholderIsFilledWhereverItOccurs) {
  EXPECT_EQ(build("%Key %Field %Message %Procedure %Category %File %File"),
            "SER:ServiceNumberKey SER:Title the message UpdateService Brik Service Service");
  EXPECT_EQ(build("In %Procedure", ""), "In ");
}

TEST_F(MessageTextTest, PreviousIsThePreviousTextOrNothing) {
  status.previousText = "stale";
  EXPECT_EQ(build("[%Previous]"), "[]");
  status.previousId = 15;
  status.previousText = "Adding this record creates a duplicate entry";
  EXPECT_EQ(build("[%Previous]"), "[Adding this record creates a duplicate entry]");
}

TEST_F(MessageTextTest, FilledValuesAreNeverReadAsPlaceholders) {
  status.MESSAGETEXT = "100%File and %Key";
  status.FILENAME = "%Message";
  EXPECT_EQ(build("%File: %Message"), "%Message: 100%File and %Key");
}

TEST_F(MessageTextTest, OtherPercentSignsAndOtherCasesAreKept) {
  EXPECT_EQ(build("50% of %file, %Unknown and %"), "50% of %file, %Unknown and %");
}

TEST_F(MessageTextTest, TextIsCutAt2000Characters) {
  status.MESSAGETEXT = std::string(255, 'a');
  std::string text;
  for (int i = 0; i < 10; ++i) text += "%Message";
  EXPECT_EQ(build(text), std::string(kMessageTextLimit, 'a'));
  // Characters, not bytes: a two-byte character counts once and is never split.
  status.MESSAGETEXT.clear();
  for (int i = 0; i < 300; ++i) status.MESSAGETEXT += "\xC3\xA9";  // é
  const std::string built = build(text);
  EXPECT_EQ(built.size(), 2 * kMessageTextLimit);
}

}  // namespace
}  // namespace vesp
