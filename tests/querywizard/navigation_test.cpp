// Searching a view for the records a query selects: XB_CHILDQUERY and XB_QWNAVIGATE.
#include "querywizard/qrywiz.h"
#include "qw_fixture.h"
#include "runtime/store/data_file.h"
#include "runtime/store/view.h"

using namespace qrywiz;

namespace {

vrt::TableSchema numbersSchema() {
  vrt::TableSchema t;
  t.label = "Numbers";
  t.prefix = "NUM";
  t.recordSize = 24;
  vrt::FieldDesc n;
  n.label = "NUM:N";
  n.name = "N";
  n.type = vrt::FieldType::Long;
  n.size = 4;
  vrt::FieldDesc s;
  s.label = "NUM:NAME";
  s.name = "NAME";
  s.type = vrt::FieldType::String;
  s.offset = 4;
  s.size = 20;
  t.fields = {n, s};
  vrt::KeyDesc k;
  k.label = "NUM:NKey";
  k.name = "NKey";
  k.components = {0};
  k.unique = true;
  t.keys = {k};
  return t;
}

class Navigation : public qwtest::QwTest {
 protected:
  void SetUp() override {
    QwTest::SetUp();
    ASSERT_TRUE(file.create());
    ASSERT_TRUE(file.open());
    for (int i = 1; i <= 100; ++i) {
      file.buffer().set(vrt::LongField{0}, i);
      file.buffer().set(vrt::StringField{4, 20}, i % 10 == 0 ? "ten" : "other");
      ASSERT_TRUE(file.add());
    }
    hooks().navigationTick = [this](std::int64_t read) {
      ticks.push_back(read);
      return !cancelAfter || read < cancelAfter;
    };
  }
  std::int32_t current() { return file.buffer().get(vrt::LongField{0}); }

  vrt::TableSchema schema = numbersSchema();
  vrt::DataFile file{schema};
  std::vector<std::int64_t> ticks;
  std::int64_t cancelAfter = 0;
};

}  // namespace

TEST_F(Navigation, ChildQueryFindsAFirstRecordUnderBothFilters) {
  vrt::View child(file);
  EXPECT_EQ(XB_CHILDQUERY(child, 0, "NUM:N > 50", "NUM:NAME = 'ten'"), 1);
  EXPECT_EQ(current(), 60);
  EXPECT_FALSE(child.isOpen());
  EXPECT_EQ(XB_CHILDQUERY(child, 0, "NUM:N > 100", "NUM:NAME = 'ten'"), 0);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(XB_CHILDQUERY(child, 0, "NUM:N >", "1"), 0);
  EXPECT_TRUE(wasShown("File Access Error"));
}

TEST_F(Navigation, FirstNextPreviousAndLastMatches) {
  vrt::View v(file);
  ASSERT_TRUE(v.setOrder("NUM:N"));
  ASSERT_TRUE(v.open());
  const std::string filter = "NUM:NAME = 'ten'";
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, filter, 1, nullptr, 0), 1);
  EXPECT_EQ(current(), 10);
  std::string at = v.position();
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, filter, 3, nullptr, 0, at), 1);
  EXPECT_EQ(current(), 20);
  at = v.position();
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, filter, 2, nullptr, 0, at), 1);
  EXPECT_EQ(current(), 10);
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, filter, 4, nullptr, 0), 1);
  EXPECT_EQ(current(), 100);
  EXPECT_TRUE(shown.empty());

  // Nothing further: the message of the direction, and the view is back where it was.
  at = v.position();
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, filter, 3, nullptr, 0, at), 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Next Query Result");
  EXPECT_EQ(shown[0].text, "No forward records meet the query criteria.");
  ASSERT_TRUE(v.previous());  // reads the record the view was reset to
  EXPECT_EQ(current(), 100);
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, "NUM:N = 0", 1, nullptr, 0), 0);
  EXPECT_EQ(shown.back().caption, "Query Navigation Result");
}

TEST_F(Navigation, SearchRunsTwentyRecordsPerTickAndCanBeCancelled) {
  vrt::View v(file);
  ASSERT_TRUE(v.setOrder("NUM:N"));
  ASSERT_TRUE(v.open());
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, "NUM:N = 75", 1, nullptr, 0), 1);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{20, 40, 60}));
  ticks.clear();
  cancelAfter = 40;
  v.setToStart();
  ASSERT_TRUE(v.next());
  const std::string start = v.position();
  EXPECT_EQ(XB_QWNAVIGATE(v, std::nullopt, "NUM:N = 95", 3, nullptr, 0, start), 0);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{20, 40}));
  EXPECT_TRUE(shown.empty());
  ASSERT_TRUE(v.next());
  EXPECT_EQ(current(), 1);
}

