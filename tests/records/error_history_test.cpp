#include <gtest/gtest.h>

#include "error_manager_fixture.h"
#include "runtime/data/errors.h"

namespace vesp::testing {
namespace {

std::vector<std::string> messagesOf(const std::vector<HistoryRow>& rows) {
  std::vector<std::string> out;
  for (const HistoryRow& r : rows) out.push_back(r.message);
  return out;
}

TEST_F(ErrorManagerTest, HistoryIsOffByDefault) {
  static_cast<void>(errors.Raise(Msg::NoRecords));
  EXPECT_TRUE(errors.History().empty());
  EXPECT_EQ(display.messages.size(), 1u);
}

TEST_F(ErrorManagerTest, HistoryKeepsTheNewestMessagesUpToItsThreshold) {
  errors.SetHistoryThreshold(2);
  errors.NoteFile("A");
  static_cast<void>(errors.Raise(Msg::InvalidKey));
  errors.NoteFile("B");
  static_cast<void>(errors.Raise(Msg::InvalidKey));
  errors.NoteFile("C");
  static_cast<void>(errors.Raise(Msg::InvalidKey));
  const std::vector<HistoryRow> rows = errors.History();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (HistoryRow{"B key file is invalid. Key must be rebuilt.", "Brik", Msg::InvalidKey}));
  EXPECT_EQ(rows[1].message, "C key file is invalid. Key must be rebuilt.");

  // Lowering the threshold drops the oldest at once.
  errors.SetHistoryThreshold(1);
  EXPECT_EQ(messagesOf(errors.History()), std::vector<std::string>{"C key file is invalid. Key must be rebuilt."});
}

TEST_F(ErrorManagerTest, WithHistoryOnNotificationsAreCollectedNotShown) {
  errors.SetHistoryThreshold(10);
  EXPECT_EQ(errors.Raise(Msg::NoRecords), Level::Notify);
  EXPECT_TRUE(display.messages.empty());
  EXPECT_TRUE(display.histories.empty());
  EXPECT_EQ(errors.History().size(), 1u);
}

TEST_F(ErrorManagerTest, WithHistoryOnQuestionsAreStillAsked) {
  errors.SetHistoryThreshold(10);
  display.Answer(Button::No);
  EXPECT_EQ(errors.Raise(Msg::ConfirmDelete), Level::Cancel);
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(display.messages[0].title, "Confirm Delete");
}

TEST_F(ErrorManagerTest, MessageAtTheViewLevelOpensTheHistoryWindow) {
  errors.SetHistoryThreshold(10);
  static_cast<void>(errors.Raise(Msg::NoRecords));
  errors.NoteFile("Service");
  vrt::setError(vrt::kAccessDenied);
  static_cast<void>(errors.Raise(Msg::FileCreationError));
  ASSERT_EQ(display.histories.size(), 1u);
  EXPECT_EQ(display.histories[0].buttons, Button::Ok | Button::Help);
  EXPECT_EQ(messagesOf(display.histories[0].rows),
            (std::vector<std::string>{"There are no records available to process.",
                                      "Error: (Access Denied (5)) creating Service."}));
  // The history window has said it; no second box, and the program ends.
  EXPECT_TRUE(display.messages.empty());
  EXPECT_EQ(endedWith.size(), 1u);
  EXPECT_EQ(errors.History().size(), 2u);
}

TEST_F(ErrorManagerTest, ProgramEndingBelowTheViewLevelStillSaysWhy) {
  errors.SetHistoryThreshold(10);
  errors.SetHistoryViewLevel(Level::Notify);
  static_cast<void>(errors.Raise(Msg::WmfInvalidFile));
  EXPECT_TRUE(display.histories.empty());
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(endedWith.size(), 1u);
}

TEST_F(ErrorManagerTest, ResetOnViewClearsTheHistoryOnceShown) {
  errors.SetHistoryThreshold(10);
  errors.SetHistoryViewLevel(Level::Notify);
  errors.SetResetHistoryOnView(true);
  static_cast<void>(errors.Raise(Msg::NoRecords));
  ASSERT_EQ(display.histories.size(), 1u);
  EXPECT_EQ(display.histories[0].rows.size(), 1u);
  EXPECT_TRUE(errors.History().empty());
}

TEST_F(ErrorManagerTest, ShowHistoryWindowListsWithOkAndHelp) {
  errors.SetHistoryThreshold(3);
  static_cast<void>(errors.Raise(Msg::NoRecords));
  EXPECT_EQ(errors.ShowHistoryWindow(), Button::Ok);
  ASSERT_EQ(display.histories.size(), 1u);
  EXPECT_EQ(display.histories[0].buttons, Button::Ok | Button::Help);
  EXPECT_EQ(display.histories[0].rows,
            (std::vector<HistoryRow>{{"There are no records available to process.", "Brik", Msg::NoRecords}}));
  EXPECT_EQ(errors.History().size(), 1u);
}

TEST_F(ErrorManagerTest, SilentStillCollectsHistory) {
  errors.SetHistoryThreshold(3);
  errors.SetSilent(true);
  static_cast<void>(errors.Raise(Msg::FileCreationError));
  EXPECT_TRUE(display.histories.empty());
  EXPECT_EQ(errors.History().size(), 1u);
}

}  // namespace
}  // namespace vesp::testing
