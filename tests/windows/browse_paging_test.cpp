#include <gtest/gtest.h>

#include "dictionary/tables.h"
#include "records/records_fixture.h"
#include "runtime/gui/events.h"
#include "windows/browse_manager.h"

using namespace vesp;
using namespace vesp::testing;
using vrt::expr::Value;

namespace {

// What the list control shows, as a user would read it.
struct FakeList : ListControl {
  int items = 10;
  bool visible = true;
  int choice = 0;
  int thumb = -1;
  bool thumbShown = false;
  std::vector<std::string> shown;  // the first column of each row
  int Choice() const override { return choice; }
  int Control() const override { return 1; }
  int Items() const override { return items; }
  bool Visible() const override { return visible; }
  void SetChoice(int row) override { choice = row; }
  void Show(const std::vector<ListRow>& rows) override {
    shown.clear();
    for (const auto& r : rows) shown.push_back(r.columns.at(0));
  }
  void SetThumb(int position, bool show) override {
    thumb = position;
    thumbShown = show;
  }
};

// 50 element types whose names run evenly from A to Y: "AA hymn", "AN hymn", "BA hymn", ...
std::string typeName(int i) { return std::string{char('A' + i / 2), char(i % 2 ? 'N' : 'A')} + " hymn"; }

class BrowsePagingTest : public RecordsTest {
 protected:
  void fill(int count) {
    for (int i = 0; i < count; ++i)
      addRaw(tables::ElementType, [&](vrt::RecordRef r) {
        r.set(ELT_ELEMENTTYPENUMBER, i + 1);
        r.set(ELT_ELEMENTTYPE, typeName(i));
      });
  }
  void open(bool withStep = true) {
    RelationManager& relate = Relate(tables::ElementType);
    view = std::make_unique<vrt::View>(TableFile(tables::ElementType));
    browse.Setup(list, *view, queue, relate);
    const auto& fields = TableFile(tables::ElementType).schema().fields;
    vrt::RecordRef record = Buffer(tables::ElementType);
    FieldPairs columns;
    columns.AddPair(ValueRef::ofField(record, fields[dict::idx::ELT::ELEMENTTYPE]));
    columns.AddPair(ValueRef::ofField(record, fields[dict::idx::ELT::ELEMENTTYPENUMBER]));
    browse.AddKeyOrder(withStep ? std::make_unique<TextStep>(ThumbStep::kLetters) : nullptr, ELT_ElementTypeKey.index);
    browse.Configure({.RETAINROW = false, .FIELDS = columns});
    browse.FillPage(BrowseManager::kFromHighlight);
    browse.RefreshControls();
  }
  std::string highlighted() const { return list.shown.at(static_cast<std::size_t>(list.choice - 1)); }
  std::string bufferName() { return vrt::RecordRef(Buffer(tables::ElementType)).get(ELT_ELEMENTTYPE); }

  FakeList list;
  ListQueue queue;
  std::unique_ptr<vrt::View> view;
  BrowseManager browse;
};

}  // namespace

TEST_F(BrowsePagingTest, AShortTableShowsItsRowsAndNoScrollBar) {
  fill(3);
  open();
  EXPECT_EQ(list.shown, (std::vector<std::string>{"AA hymn", "AN hymn", "BA hymn"}));
  EXPECT_EQ(list.choice, 1);
  EXPECT_FALSE(list.thumbShown);
  EXPECT_EQ(bufferName(), "AA hymn");  // the highlighted row is in the record
}

TEST_F(BrowsePagingTest, AnEmptyTableShowsAnEmptyList) {
  open();
  EXPECT_TRUE(list.shown.empty());
  EXPECT_EQ(list.choice, 0);
  browse.OnScroll(vrt::kEventPageDown);  // nothing to scroll, nothing breaks
  EXPECT_TRUE(list.shown.empty());
}

TEST_F(BrowsePagingTest, PagesAndRowsScrollTheHeldPageOnly) {
  fill(50);
  open(false);
  ASSERT_EQ(list.shown.size(), 10u);
  EXPECT_EQ(list.shown.front(), typeName(0));
  EXPECT_TRUE(list.thumbShown);
  list.choice = 3;
  browse.HighlightRow(3);
  browse.OnScroll(vrt::kEventPageDown);  // a whole page: the highlight keeps its screen row
  EXPECT_EQ(list.shown.front(), typeName(10));
  EXPECT_EQ(highlighted(), typeName(12));
  EXPECT_EQ(list.thumb, 50);
  browse.OnScroll(vrt::kEventScrollBottom);
  EXPECT_EQ(list.shown.front(), typeName(40));
  EXPECT_EQ(list.shown.back(), typeName(49));
  EXPECT_EQ(highlighted(), typeName(49));
  EXPECT_EQ(list.thumb, 100);
  browse.OnScroll(vrt::kEventScrollDown);  // at the end: nothing more
  EXPECT_EQ(highlighted(), typeName(49));
  browse.OnScroll(vrt::kEventPageUp);
  EXPECT_EQ(list.shown.front(), typeName(30));
  EXPECT_EQ(highlighted(), typeName(39));
  for (int i = 0; i < 9; ++i) browse.OnScroll(vrt::kEventScrollUp);
  EXPECT_EQ(highlighted(), typeName(30));
  browse.OnScroll(vrt::kEventScrollUp);  // past the top row: one record is read above
  EXPECT_EQ(list.shown.front(), typeName(29));
  EXPECT_EQ(list.shown.back(), typeName(38));
  EXPECT_EQ(bufferName(), typeName(29));
  browse.OnScroll(vrt::kEventScrollTop);
  EXPECT_EQ(list.shown.front(), typeName(0));
  EXPECT_EQ(list.thumb, 0);
  // Page up from a page that starts two rows down reads what there is; the highlight still
  // moves a page's worth of records, and from row 1 it would land on row 1.
  for (int i = 0; i < 11; ++i) browse.OnScroll(vrt::kEventScrollDown);
  ASSERT_EQ(list.shown.front(), typeName(2));
  ASSERT_EQ(highlighted(), typeName(11));
  browse.OnScroll(vrt::kEventPageUp);
  EXPECT_EQ(list.shown.front(), typeName(0));
  EXPECT_EQ(highlighted(), typeName(1));
  browse.OnScroll(vrt::kEventPageUp);
  EXPECT_EQ(list.choice, 1);
  EXPECT_EQ(list.thumb, 0);
}

TEST_F(BrowsePagingTest, AFillAtTheEndBackFillsFromAbove) {
  fill(50);
  open();
  vrt::RecordRef(Buffer(tables::ElementType)).set(ELT_ELEMENTTYPE, typeName(47));
  browse.RefreshAtKeyValue();
  EXPECT_EQ(list.shown.front(), typeName(40));
  EXPECT_EQ(list.shown.back(), typeName(49));
  EXPECT_EQ(highlighted(), typeName(47));
}

TEST_F(BrowsePagingTest, RetainRowKeepsTheRecordOnItsScreenRow) {
  fill(50);
  open();
  browse.Configure({.RETAINROW = true, .FIELDS = browse.SETTINGS().FIELDS});
  browse.OnScroll(vrt::kEventPageDown);
  browse.HighlightRow(4);  // the user highlights the fourth row
  browse.LoadRowIntoRecord();
  ASSERT_EQ(bufferName(), typeName(13));
  browse.RefreshAtKeyValue();
  EXPECT_EQ(list.choice, 4);
  EXPECT_EQ(highlighted(), typeName(13));
  EXPECT_EQ(list.shown.front(), typeName(10));
  // Near the top there is not enough above: the page starts at the first record.
  browse.OnScroll(vrt::kEventScrollTop);
  browse.HighlightRow(8);
  vrt::RecordRef(Buffer(tables::ElementType)).set(ELT_ELEMENTTYPE, typeName(2));
  browse.RefreshAtKeyValue();
  EXPECT_EQ(list.shown.size(), 10u);
  EXPECT_EQ(list.shown.front(), typeName(0));
  EXPECT_EQ(highlighted(), typeName(2));
}

TEST_F(BrowsePagingTest, TheThumbMapsToKeyValuesThroughTheStep) {
  fill(50);
  open();
  EXPECT_EQ(list.thumb, 0);  // first row of a full page
  EXPECT_EQ(browse.OnThumbDrag(0), vrt::kEventScrollTop);
  EXPECT_EQ(browse.OnThumbDrag(1), vrt::kEventScrollTop);
  EXPECT_EQ(browse.OnThumbDrag(100), vrt::kEventScrollBottom);
  EXPECT_EQ(browse.OnThumbDrag(50), 0);
  // Halfway between "AA" and "YN" lies "M": the page now starts there.
  EXPECT_EQ(highlighted().substr(0, 1), "M");
  EXPECT_GT(list.thumb, 40);
  EXPECT_LT(list.thumb, 60);
  EXPECT_EQ(browse.OnThumbDrag(25), 0);
  EXPECT_TRUE(highlighted()[0] == 'F' || highlighted()[0] == 'G') << highlighted();
}

TEST_F(BrowsePagingTest, WithoutAStepTheThumbPagesTowardsItsSide) {
  fill(50);
  open(false);
  EXPECT_EQ(browse.OnThumbDrag(30), vrt::kEventPageUp);
  EXPECT_EQ(browse.OnThumbDrag(50), vrt::kEventPageDown);
}

TEST_F(BrowsePagingTest, AHiddenListDefersItsFill) {
  fill(5);
  list.visible = false;
  open();
  EXPECT_TRUE(browse.LOADPENDING());
  EXPECT_FALSE(browse.LOADED());
  EXPECT_TRUE(list.shown.empty());
}

// ---------------------------------------------------------------- locators

#include "windows/locators.h"

namespace {

class LocatorTest : public BrowsePagingTest {
 protected:
  void typeOnList(Locator& locator, char32_t key) {
    if (locator.TakeKey(key)) browse.RefreshAtKeyValue();
    else browse.RefreshControls();
  }
};

}  // namespace

TEST_F(LocatorTest, AStepLocatorWalksDownTheRecordsThatStartWithTheKey) {
  fill(50);
  open();
  StepLocator locator;
  locator.Init(browse, 0, browse.CurrentOrder().FREEELEMENT, true);
  typeOnList(locator, U's');
  EXPECT_EQ(highlighted(), "SA hymn");  // the first title starting with S
  typeOnList(locator, U's');
  EXPECT_EQ(highlighted(), "SN hymn");  // the next row starts with S too
  typeOnList(locator, U's');
  EXPECT_EQ(highlighted(), "SA hymn");  // it does not: back to the first
}

TEST_F(LocatorTest, AnEntryLocatorFindsTheTypedTextAndCutsWhatDoesNotFit) {
  fill(50);
  open();
  EntryLocator locator;
  locator.Init(browse, 7, browse.CurrentOrder().FREEELEMENT, true);
  ASSERT_TRUE(locator.TakeAccepted("kn"));
  browse.RefreshAtKeyValue();
  EXPECT_EQ(highlighted(), "KN hymn");
  EXPECT_EQ(locator.Display(), "kn");
  EXPECT_FALSE(locator.TakeAccepted("   "));  // nothing typed: nothing moves
  const std::string longText(200, 'q');
  ASSERT_TRUE(locator.TakeAccepted(longText));
  EXPECT_EQ(locator.SHADOW.size(), EntryLocator::kShadowChars);
  browse.RefreshAtKeyValue();
  EXPECT_EQ(highlighted(), "RA hymn");  // the first after Q...
  locator.Set();
  EXPECT_EQ(locator.SHADOW, "");
  EXPECT_EQ(bufferName(), "");
}

TEST_F(LocatorTest, ADescendingOrderLandsOnTheLastValueStartingWithTheKeyOrBefore) {
  fill(50);
  RelationManager& relate = Relate(tables::ElementType);
  view = std::make_unique<vrt::View>(TableFile(tables::ElementType));
  browse.Setup(list, *view, queue, relate);
  const auto& fields = TableFile(tables::ElementType).schema().fields;
  vrt::RecordRef record = Buffer(tables::ElementType);
  FieldPairs columns;
  columns.AddPair(ValueRef::ofField(record, fields[dict::idx::ELT::ELEMENTTYPE]));
  browse.AddKeyOrder(nullptr, ELT_ElementTypeKey.index);
  browse.PutOrderText("-UPPER(ELT:ElementType)");
  browse.Configure({.RETAINROW = false, .FIELDS = columns});
  browse.FillPage(BrowseManager::kFromHighlight);
  browse.RefreshControls();
  ASSERT_EQ(list.shown.front(), "YN hymn");
  EXPECT_TRUE(browse.FreeElementDescending());
  StepLocator locator;
  locator.Init(browse, 0, browse.CurrentOrder().FREEELEMENT, true);
  typeOnList(locator, U'm');
  EXPECT_EQ(highlighted(), "MN hymn");
}

TEST_F(LocatorTest, ADateIsLocatedAsTheListShowsIt) {
  for (int i = 1; i <= 30; ++i)
    addRaw(tables::PrayerRequest, [&](vrt::RecordRef r) {
      r.set(PRA_REQUESTNUMBER, i);
      r.set(PRA_DATESTARTED, vrt::dateFromYmd(2006, 3, i));
    });
  view = std::make_unique<vrt::View>(TableFile(tables::PrayerRequest));
  browse.Setup(list, *view, queue, Relate(tables::PrayerRequest));
  const auto& fields = TableFile(tables::PrayerRequest).schema().fields;
  vrt::RecordRef record = Buffer(tables::PrayerRequest);
  FieldPairs columns;
  columns.AddPair(ValueRef::ofField(record, fields[dict::idx::PRA::REQUESTNUMBER]));
  columns.AddPair(ValueRef::ofField(record, fields[dict::idx::PRA::DATESTARTED]));
  browse.AddKeyOrder(nullptr, PRA_DateStartedKey.index);
  browse.Configure({.RETAINROW = false, .FIELDS = columns});
  browse.FillPage(BrowseManager::kFromHighlight);
  browse.RefreshControls();
  // The highlighted record's number must not decide where the located date starts.
  browse.HighlightRow(9);
  browse.LoadRowIntoRecord();
  EntryLocator locator;
  locator.Init(browse, 7, browse.CurrentOrder().FREEELEMENT, true);
  ASSERT_TRUE(locator.TakeAccepted("03-18-2006"));
  browse.RefreshAtKeyValue();
  EXPECT_EQ(highlighted(), "18");
  ASSERT_TRUE(locator.TakeAccepted("74500"));  // a day number still locates
  EXPECT_FALSE(locator.TakeAccepted("someday"));
}
