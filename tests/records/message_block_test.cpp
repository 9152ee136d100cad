#include <gtest/gtest.h>

#include <set>

#include "records/levels.h"
#include "records/message_block.h"
#include "records/messages.h"
#include "records/standard_messages.h"

namespace vesp {
namespace {

TEST(StandardMessages, AreThe52IdsWithoutThirtyTwo) {
  std::set<int> ids;
  for (const MessageEntry& e : standardMessages()) ids.insert(e.id);
  EXPECT_EQ(standardMessages().size(), 52u);
  EXPECT_EQ(ids.size(), 52u);
  for (int id = 1; id <= 53; ++id) EXPECT_EQ(ids.count(id), id == 32 ? 0u : 1u) << id;
}

TEST(StandardMessages, CarryTheirLevelsAndExactTexts) {
  struct Spot {
    int id;
    Level level;
    const char* title;
    const char* text;
  };
  const Spot spots[] = {
      {Msg::DuplicateKey, Level::Notify, "Duplicate Key Error",
       "Adding this record creates a duplicate entry for the key: %Message"},
      {Msg::ConfirmCancel, Level::Ask, "Changes will be lost!", "Are you sure you want to cancel?"},
      {Msg::FileCreationError, Level::Fatal, "File Creation Error", "Error: (%ErrorText) creating %File."},
      {Msg::FileNotOpened, Level::Program, "File Usage Error", "Attempt to use file (%File) before it was opened"},
      {Msg::SmtpError, Level::Notify, "SMTP Error", "The following SMTP Error occurred: %Message "},
      {Msg::ReportCommentMalformed, Level::Notify, "Report Writer Error",
       "Poorly Formed Comment String \"%Message\" at Position %Field."},
  };
  for (const Spot& s : spots) {
    const MessageEntry* found = nullptr;
    for (const MessageEntry& e : standardMessages()) {
      if (e.id == s.id) found = &e;
    }
    ASSERT_NE(found, nullptr) << s.id;
    EXPECT_EQ(found->level, s.level) << s.id;
    EXPECT_EQ(found->title, s.title) << s.id;
    EXPECT_EQ(found->text, s.text) << s.id;
    EXPECT_TRUE(found->category.empty()) << s.id;
  }
}

TEST(MessageBlock, StandardBlockRoundTripsEveryEntry) {
  const UnpackedMessages back = unpackMessages(standardMessageBlock());
  EXPECT_TRUE(back.complete);
  ASSERT_EQ(back.entries.size(), standardMessages().size());
  for (std::size_t i = 0; i < back.entries.size(); ++i) EXPECT_EQ(back.entries[i], standardMessages()[i]) << i;
}

TEST(MessageBlock, LayoutIsCountThenIdLevelAndLengthPrefixedTexts) {
  const MessageEntry entry{0x0102, Level::Notify, "Ti", "Txt", {}};
  const std::vector<std::uint8_t> expected{1, 0, 0x02, 0x01, 5, 2, 'T', 'i', 3, 'T', 'x', 't'};
  EXPECT_EQ(packMessages({&entry, 1}), expected);
}

TEST(MessageBlock, OverlongTextsAreCutOnACharacterBoundary) {
  std::string title(254, 't');
  title += "\xC3\xA9";  // a two-byte character straddling byte 255
  const MessageEntry entry{1, Level::Notify, title, std::string(300, 'x'), {}};
  const UnpackedMessages back = unpackMessages(packMessages({&entry, 1}));
  ASSERT_EQ(back.entries.size(), 1u);
  EXPECT_EQ(back.entries[0].title, std::string(254, 't'));
  EXPECT_EQ(back.entries[0].text, std::string(255, 'x'));
}

TEST(MessageBlock, EveryTruncationYieldsTheWholeEntriesBeforeIt) {
  const std::vector<std::uint8_t> block = standardMessageBlock();
  std::size_t previousCount = 0;
  for (std::size_t length = 0; length < block.size(); ++length) {
    const UnpackedMessages back = unpackMessages({block.data(), length});
    EXPECT_FALSE(back.complete) << length;
    ASSERT_GE(back.entries.size(), previousCount) << length;
    ASSERT_LT(back.entries.size(), standardMessages().size()) << length;
    for (std::size_t i = 0; i < back.entries.size(); ++i) ASSERT_EQ(back.entries[i], standardMessages()[i]);
    previousCount = back.entries.size();
  }
}

TEST(MessageBlock, CountBeyondTheDataIsNotTrusted) {
  const std::vector<std::uint8_t> block{0xFF, 0xFF, 7, 0, 5, 1, 'A', 1, 'B'};
  const UnpackedMessages back = unpackMessages(block);
  EXPECT_FALSE(back.complete);
  ASSERT_EQ(back.entries.size(), 1u);
  EXPECT_EQ(back.entries[0], (MessageEntry{7, Level::Notify, "A", "B", {}}));
}

}  // namespace
}  // namespace vesp
