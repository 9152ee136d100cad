#include <gtest/gtest.h>

#include "error_manager_fixture.h"
#include "records/standard_messages.h"
#include "runtime/data/errors.h"

namespace vesp::testing {
namespace {

constexpr const char* kFatalSuffix = "  Press OK to end this application";

// --- levels: what the user sees and what the caller gets back ---

TEST_F(ErrorManagerTest, AskShowsYesNoWithYesDefaultAndAnswersZeroOrCancel) {
  display.Answer(Button::Yes);
  EXPECT_EQ(errors.Raise(Msg::ConfirmDelete), Level::Benign);
  const ShownMessage& box = lastMessage();
  EXPECT_EQ(box.title, "Confirm Delete");
  EXPECT_EQ(box.text, "Are you sure you want to delete the highlighted record?");
  EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  EXPECT_EQ(box.buttons, Button::Yes | Button::No);
  EXPECT_EQ(box.defaultButton, Button::Yes);

  display.Answer(Button::No);
  EXPECT_EQ(errors.Raise(Msg::ConfirmDelete), Level::Cancel);
  // A box closed without a button is not a Yes.
  display.Answer(0);
  EXPECT_EQ(errors.Raise(Msg::ConfirmSave), Level::Cancel);
  EXPECT_TRUE(endedWith.empty());
}

TEST_F(ErrorManagerTest, CancelLevelAsksLikeLevelOne) {
  addMessage(900, Level::Cancel, "Stop now?");
  display.Answer(Button::No);
  EXPECT_EQ(errors.Raise(900), Level::Cancel);
  EXPECT_EQ(lastMessage().buttons, Button::Yes | Button::No);
  EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);
  display.Answer(Button::Yes);
  EXPECT_EQ(errors.Raise(900), Level::Benign);
}

TEST_F(ErrorManagerTest, NotifyShowsOkWithInformationIconAndReturnsFive) {
  EXPECT_EQ(errors.Raise(Msg::NoRecords), Level::Notify);
  EXPECT_EQ(lastMessage().title, "No Records");
  EXPECT_EQ(lastMessage().buttons, Button::Ok);
  EXPECT_EQ(lastMessage().defaultButton, Button::Ok);
  EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
}

TEST_F(ErrorManagerTest, FatalAddsEndNoticeAndEndsTheProgramAfterOk) {
  errors.NoteFile("Service");
  vrt::setError(vrt::kAccessDenied);
  static_cast<void>(errors.Raise(Msg::FileOpenError));
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(lastMessage().text,
            std::string("File Service could not be opened.  Error: Access Denied (5).") + kFatalSuffix);
  EXPECT_EQ(lastMessage().buttons, Button::Ok);
  EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
  EXPECT_EQ(endedWith, std::vector<Level>{Level::Fatal});
}

TEST_F(ErrorManagerTest, ProgramLevelAndUnknownLevelsAreShownAsFatal) {
  errors.NoteFile("Topic");
  static_cast<void>(errors.Raise(Msg::FileNotOpened));
  EXPECT_EQ(lastMessage().text, std::string("Attempt to use file (Topic) before it was opened") + kFatalSuffix);
  addMessage(901, levelFromNumber(9), "Odd level");  // as a message table may store it
  static_cast<void>(errors.Raise(901));
  EXPECT_EQ(lastMessage().text, std::string("Odd level") + kFatalSuffix);
  EXPECT_EQ(endedWith.size(), 2u);
}

TEST_F(ErrorManagerTest, BenignShowsNothingAndReturnsZero) {
  addMessage(902, Level::Benign, "All is well");
  EXPECT_EQ(errors.Raise(902), Level::Benign);
  EXPECT_TRUE(display.messages.empty());
}

TEST_F(ErrorManagerTest, SilentShowsNothingAndAnswersTheLevelsDefault) {
  errors.SetSilent(true);
  EXPECT_EQ(errors.Raise(Msg::ConfirmCancel), Level::Benign);
  EXPECT_EQ(errors.Raise(Msg::DuplicateKey), Level::Notify);
  static_cast<void>(errors.Raise(Msg::FileCreationError));
  EXPECT_TRUE(display.messages.empty());
  // The program still ends: its callers rely on a fatal message not coming back.
  EXPECT_EQ(endedWith.size(), 1u);
}

TEST_F(ErrorManagerTest, UnknownIdIsStillReportedToTheUser) {
  EXPECT_EQ(errors.Raise(32), Level::Notify);
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_NE(lastMessage().text.find("32"), std::string::npos);
}

// --- what gets into the text ---

TEST_F(ErrorManagerTest, NotedNamesLoseTrailingBlanksAndStayWithinTheirSize) {
  errors.NoteFile("Service   ");
  errors.NoteKey("SER:ServiceNumberKey  ");
  errors.NoteField(std::string(300, 'x'));
  EXPECT_EQ(ErrorManager::ThreadStatus().FILENAME, "Service");
  EXPECT_EQ(ErrorManager::ThreadStatus().KEYNAME, "SER:ServiceNumberKey");
  EXPECT_EQ(ErrorManager::ThreadStatus().FIELDNAME, std::string(255, 'x'));
  vrt::setError(vrt::kRecordNotAvailable);
  display.Answer(Button::No);
  EXPECT_EQ(errors.Raise(Msg::AutoNumberFailed), Level::Cancel);
  EXPECT_EQ(lastMessage().text,
            "Attempts to automatically number this record have failed.|File: Service|Key: SER:ServiceNumberKey|"
            "Error: Record Not Available (33).|Try Again?");
}

TEST_F(ErrorManagerTest, DriverErrorShowsTheDriversOwnTextAndCode) {
  errors.NoteFile("Service");
  vrt::setDriverError(11, "database disk image is malformed");
  static_cast<void>(errors.Raise(Msg::RecordUpdateFailed));
  EXPECT_EQ(lastMessage().text,
            "An error (database disk image is malformed (11)) was experienced when making changes to the "
            "Service file.");

  vrt::setError(vrt::kRecordHeld);
  static_cast<void>(errors.Raise(Msg::RecordUpdateFailed));
  EXPECT_EQ(lastMessage().text,
            "An error (Record Is Already Held (43)) was experienced when making changes to the Service file.");
}

TEST_F(ErrorManagerTest, RecordErrorCapturesTheDriverErrorAtThatMoment) {
  vrt::setError(vrt::kDuplicateKey);
  errors.RecordError(Msg::RecordInsertError);
  vrt::clearError();
  errors.NoteFile("Topic");
  static_cast<void>(errors.ShowCurrent(Msg::RecordInsertError));
  EXPECT_EQ(lastMessage().text,
            "An error was experienced during the creation of a record.|File: Topic|Error: Creates Duplicate Key (40).");
  EXPECT_EQ(ErrorManager::ThreadStatus().messageId, Msg::RecordInsertError);
}

TEST_F(ErrorManagerTest, RaiseWithTextFillsMessage) {
  static_cast<void>(errors.RaiseWithText(Msg::DuplicateKey, "SER:ServiceNumberKey"));
  EXPECT_EQ(lastMessage().text, "Adding this record creates a duplicate entry for the key: SER:ServiceNumberKey");
  errors.NoteField("SEL:Type");
  static_cast<void>(errors.RaiseWithText(Msg::FieldNotInFile, "ElementType"));
  EXPECT_EQ(lastMessage().text, "The value of SEL:Type must be found in the ElementType file.");
}

TEST_F(ErrorManagerTest, PreviousIsTheTextOfThisThreadsMessageBefore) {
  addMessage(903, Level::Notify, "Then: %Previous");
  static_cast<void>(errors.Raise(903));
  EXPECT_EQ(lastMessage().text, "Then: ");
  errors.NoteFile("Role");
  static_cast<void>(errors.Raise(Msg::InvalidKey));
  static_cast<void>(errors.Raise(903));
  EXPECT_EQ(lastMessage().text, "Then: Role key file is invalid. Key must be rebuilt.");
  EXPECT_EQ(ErrorManager::ThreadStatus().previousId, Msg::InvalidKey);
}

// --- procedure names ---

TEST_F(ErrorManagerTest, ProcedureShowsTheNewestNameOfThisThread) {
  addMessage(904, Level::Notify, "In %Procedure");
  EXPECT_EQ(errors.CurrentProcedure(), "");
  errors.NoteProcedure("BrowseService");
  errors.NoteProcedure("UpdateService");
  static_cast<void>(errors.Raise(904));
  EXPECT_EQ(lastMessage().text, "In UpdateService");
  errors.NoteProcedure();
  static_cast<void>(errors.Raise(904));
  EXPECT_EQ(lastMessage().text, "In BrowseService");
  errors.NoteProcedure();
  errors.NoteProcedure();  // one pop too many is harmless
  EXPECT_EQ(errors.CurrentProcedure(), "");
}

TEST_F(ErrorManagerTest, ProcedureStackIsPerThread) {
  vrt::ThreadContext other(902);
  errors.NoteProcedure("Main");
  {
    vrt::ThreadContextScope otherScope(other);
    EXPECT_EQ(errors.CurrentProcedure(), "");
    errors.NoteProcedure("BrowseTopic");
  }
  EXPECT_EQ(errors.CurrentProcedure(), "Main");
  errors.NoteProcedure();
  EXPECT_EQ(errors.CurrentProcedure(), "");
  vrt::ThreadContextScope otherAgain(other);
  EXPECT_EQ(errors.CurrentProcedure(), "BrowseTopic");
}

// --- the message table ---

TEST_F(ErrorManagerTest, SetupLoadsEveryStandardMessage) {
  for (const MessageEntry& e : standardMessages()) {
    errors.RecordError(e.id);
    EXPECT_EQ(ErrorManager::ThreadStatus().title, e.title) << e.id;
    EXPECT_EQ(ErrorManager::ThreadStatus().level, e.level) << e.id;
  }
}

TEST_F(ErrorManagerTest, CategoryIsTheMessagesOwnOrTheDefault) {
  EXPECT_EQ(errors.CategoryFor(Msg::DuplicateKey), "Brik");
  EXPECT_EQ(errors.CategoryFor(999), "Brik");
  const MessageEntry entry{905, Level::Notify, "Mail", "%Category trouble", {}};
  EXPECT_TRUE(errors.AppendMessages(packMessages({&entry, 1}), "Mail"));
  EXPECT_EQ(errors.CategoryFor(905), "Mail");
  static_cast<void>(errors.Raise(905));
  EXPECT_EQ(lastMessage().text, "Mail trouble");
  errors.SetDefaultCategory("Vespera");
  EXPECT_EQ(errors.CategoryFor(Msg::DuplicateKey), "Vespera");
}

TEST_F(ErrorManagerTest, AppendedMessageReplacesAnEarlierTextOfItsId) {
  addMessage(Msg::NoRecords, Level::Notify, "Nothing here.", "Empty");
  static_cast<void>(errors.Raise(Msg::NoRecords));
  EXPECT_EQ(lastMessage().title, "Empty");
  EXPECT_EQ(lastMessage().text, "Nothing here.");
}

TEST_F(ErrorManagerTest, DamagedBlockKeepsTheWholeEntriesBeforeTheDamage) {
  const MessageEntry entries[] = {{906, Level::Notify, "A", "first", {}}, {907, Level::Notify, "B", "second", {}}};
  std::vector<std::uint8_t> block = packMessages(entries);
  block.resize(block.size() - 3);
  EXPECT_FALSE(errors.AppendMessages(block));
  static_cast<void>(errors.Raise(906));
  EXPECT_EQ(lastMessage().text, "first");
  static_cast<void>(errors.Raise(907));
  EXPECT_NE(lastMessage().text, "second");
}

TEST_F(ErrorManagerTest, SetupRestoresTheProgramsSettings) {
  errors.SetDefaultCategory("Other");
  errors.SetHistoryThreshold(5);
  errors.SetHistoryViewLevel(Level::Notify);
  errors.SetResetHistoryOnView(true);
  errors.Setup();
  EXPECT_EQ(errors.DefaultCategory(), "Brik");
  EXPECT_EQ(errors.HistoryThreshold(), 0);
  EXPECT_EQ(errors.HistoryViewLevel(), Level::Fatal);
  EXPECT_FALSE(errors.ResetHistoryOnView());
  EXPECT_FALSE(errors.LogErrors());
  EXPECT_FALSE(errors.Silent());
}

TEST_F(ErrorManagerTest, ShutdownReleasesTheTable) {
  errors.NoteProcedure("Main");
  errors.Shutdown();
  EXPECT_EQ(errors.CurrentProcedure(), "");
  static_cast<void>(errors.Raise(Msg::NoRecords));
  EXPECT_NE(lastMessage().title, "No Records");
}

}  // namespace
}  // namespace vesp::testing
