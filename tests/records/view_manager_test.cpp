#include "records/view_manager.h"
#include "records_fixture.h"
#include "runtime/data/errors.h"

using namespace vesp;
using namespace vesp::testing;
using vrt::expr::Value;

namespace {

class ViewManagerTest : public RecordsTest {
 protected:
  void SetUp() override {
    const char* titles[] = {"Advent", "O'Neil Memorial", "Baptism", "Easter", "Christmas"};
    for (int i = 1; i <= 5; ++i)
      addRaw(tables::Service, [&](vrt::RecordRef r) {
        r.set(SER_SERVICENUMBER, i);
        r.set(SER_TITLE, titles[i - 1]);
        r.set(SER_WEEKOFDATE_DATE, vrt::dateFromYmd(2026, 1, 10 - i));
      });
    for (int i = 1; i <= 6; ++i)
      addRaw(tables::ServiceElement, [&](vrt::RecordRef r) {
        r.set(SEL_ELEMENTNUMBER, i);
        r.set(SEL_SERVICENUMBER, i <= 4 ? 2 : 3);
        r.set(SEL_ELEMENTORDER, 10 - i);
      });
    view = std::make_unique<vrt::View>(TableFile(tables::Service));
    vm.Setup(*view, Relate(tables::Service));
  }
  void TearDown() override { vm.Shutdown(); }

  std::vector<int> readAll(ViewManager& m, const vrt::RecordBuffer& b, vrt::LongField f) {
    std::vector<int> out;
    m.Reposition();
    ReadResult rc;
    while ((rc = m.ReadNext()) == ReadResult::Ok) out.push_back(b.get(f));
    EXPECT_EQ(rc, ReadResult::End);
    return out;
  }

  std::unique_ptr<vrt::View> view;
  ViewManager vm;
};

}  // namespace

TEST_F(ViewManagerTest, SortOrdersComeFromKeys) {
  EXPECT_EQ(vm.AddKeyOrder(SER_ServiceNumberKey.index), 1);
  EXPECT_EQ(vm.AddKeyOrder(SER_TitleKey.index), 2);
  EXPECT_EQ(vm.CurrentOrder().ORDER, "UPPER(SER:TITLE)");
  EXPECT_EQ(vm.FreeComponentName(), "UPPER(SER:TITLE)");
  EXPECT_TRUE(vm.FreeComponentAscending());
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER), (std::vector<int>{1, 3, 5, 4, 2}));
  EXPECT_TRUE(vm.SelectOrder(0));  // 0 counts as 1
  EXPECT_EQ(vm.CurrentOrderNumber(), 1);
  EXPECT_FALSE(vm.SelectOrder(1));  // already current: nothing changes
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(display.messages.empty());  // reading past the end says nothing
}

TEST_F(ViewManagerTest, ExtendOrderAppendsOrReplaces) {
  vm.AddKeyOrder(SER_WeekOfDateKey.index);
  EXPECT_EQ(vm.CurrentOrder().ORDER, "SER:WEEKOFDATE_DATE");
  vm.ExtendOrder("SER:Title");
  EXPECT_EQ(vm.CurrentOrder().ORDER, "SER:WEEKOFDATE_DATE,SER:Title");
  vm.ExtendOrder("*-SER:Title");
  EXPECT_EQ(vm.CurrentOrder().ORDER, "-SER:Title");
  vm.PutOrderText("");
  vm.ExtendOrder("SER:Title");
  EXPECT_EQ(vm.CurrentOrder().ORDER, "SER:Title");
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER), (std::vector<int>{1, 3, 5, 4, 2}));
}

TEST_F(ViewManagerTest, ATextRangeValueIsQuotedAndUpperCased) {
  vm.AddKeyOrder(SER_TitleKey.index);
  Value title = Value::text("O'Neil Memorial");
  vm.LimitBy(dict::idx::SER::TITLE, ValueRef::ofVariable(&title));
  EXPECT_EQ(vm.FreeComponentPosition(), 0);  // the key has no component left free
  vm.OpenView();
  EXPECT_EQ(vm.FilterText(), "UPPER(SER:TITLE) = UPPER('O''Neil Memorial')");
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER), std::vector<int>{2});
  // The live value changes; the range follows when refreshed.
  title = Value::text("easter");
  EXPECT_TRUE(vm.RefreshLimits());
  EXPECT_FALSE(vm.RefreshLimits());
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER), std::vector<int>{4});
}

TEST_F(ViewManagerTest, NamedFiltersCombineInIdentifierOrder) {
  vm.AddKeyOrder(SER_ServiceNumberKey.index);
  vm.PutNamedFilter("SER:ServiceNumber > 1", "6 Query");
  vm.PutNamedFilter("SER:ServiceNumber < 5");
  vm.OpenView();
  EXPECT_EQ(vm.FilterText(), "(SER:ServiceNumber < 5) AND (SER:ServiceNumber > 1)");
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER), (std::vector<int>{2, 3, 4}));
  vm.PutNamedFilter("", "6 Query");
  vm.PutNamedFilter("");
  vm.PushFilter();
  EXPECT_EQ(vm.FilterText(), "");
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER).size(), 5u);
}

TEST_F(ViewManagerTest, ABadFilterIsReportedAndReadingGoesOnWithoutIt) {
  vm.AddKeyOrder(SER_ServiceNumberKey.index);
  vm.PutNamedFilter("SER:ServiceNumber >");
  vm.OpenView();
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(display.messages[0].title, "View Open Error");
  EXPECT_EQ(display.messages[0].text.rfind("Error: (", 0), 0u);
  EXPECT_NE(display.messages[0].text.find("Filter and Range Limits ignored."), std::string::npos);
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER).size(), 5u);
}

TEST_F(ViewManagerTest, AChildViewFollowsItsParentAndPrimesNewRecords) {
  vrt::View elements(TableFile(tables::ServiceElement));
  ViewManager child;
  child.Setup(elements, Relate(tables::ServiceElement));
  child.AddKeyOrder(SEL_ServiceElementKey.index);
  child.LimitBy(dict::idx::SEL::SERVICENUMBER, Relate(tables::Service));
  EXPECT_EQ(child.FreeComponentName(), "SEL:ELEMENTORDER");
  Buffer(tables::Service).set(SER_SERVICENUMBER, 2);
  child.RefreshLimits();
  child.OpenView();
  EXPECT_EQ(child.FilterText(), "SEL:SERVICENUMBER = 2");
  EXPECT_EQ(readAll(child, Buffer(tables::ServiceElement), SEL_ELEMENTNUMBER), (std::vector<int>{4, 3, 2, 1}));
  Buffer(tables::Service).set(SER_SERVICENUMBER, 3);
  EXPECT_TRUE(child.RefreshLimits());
  EXPECT_EQ(readAll(child, Buffer(tables::ServiceElement), SEL_ELEMENTNUMBER), (std::vector<int>{6, 5}));
  // A new record lies in the range and is numbered.
  ASSERT_EQ(child.PrepareNewRecord(), Level::Benign);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_SERVICENUMBER), 3);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_ELEMENTNUMBER), 7);
  child.Shutdown();
}

TEST_F(ViewManagerTest, TheValidationHookSkipsAndStops) {
  struct Checked : ViewManager {
    RecordCheck CheckRecord() override {
      const int n = Buffer(tables::Service).get(SER_SERVICENUMBER);
      return n == 2 ? RecordCheck::Filtered : n == 4 ? RecordCheck::OutOfRange : RecordCheck::Ok;
    }
  } checked;
  vrt::View v(TableFile(tables::Service));
  checked.Setup(v, Relate(tables::Service));
  checked.AddKeyOrder(SER_ServiceNumberKey.index);
  checked.Reposition();
  std::vector<int> seen;
  ReadResult rc;
  while ((rc = checked.ReadNext()) == ReadResult::Ok) seen.push_back(Buffer(tables::Service).get(SER_SERVICENUMBER));
  EXPECT_EQ(seen, (std::vector<int>{1, 3}));
  EXPECT_EQ(rc, ReadResult::End);
  checked.Shutdown();
}

TEST_F(ViewManagerTest, BuffersAreSavedAndRestored) {
  vm.AddKeyOrder(SER_ServiceNumberKey.index);
  Buffer(tables::Service).set(SER_TITLE, "kept");
  vm.SaveTableBuffers();
  Buffer(tables::Service).set(SER_TITLE, "changed");
  vm.RestoreTableBuffers();
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "kept");
  EXPECT_TRUE(vm.SAVEDBUFFERS().empty());
}

TEST_F(ViewManagerTest, AnOrderThatCannotBeUsedIsReportedAndReadingGoesOnWithout) {
  vm.AddKeyOrder(SER_ServiceNumberKey.index);
  for (const char* order : {"SEL:ELEMENTORDER", "SER:WEEKOFDATE"}) {  // another table's field; a group
    display.messages.clear();
    vm.PutOrderText(order);
    vm.Reposition();
    ASSERT_EQ(display.messages.size(), 1u) << order;
    EXPECT_EQ(display.messages[0].title, "View Open Error");
    EXPECT_NE(display.messages[0].text.find("Filter and Range Limits ignored."), std::string::npos);
    ReadResult rc;
    int read = 0;
    while ((rc = vm.ReadNext()) == ReadResult::Ok) ++read;
    EXPECT_EQ(rc, ReadResult::End) << order;
    EXPECT_EQ(read, 5) << order;
    EXPECT_EQ(display.messages.size(), 1u) << display.messages.back().text;
  }
}

TEST_F(ViewManagerTest, AViewWithoutSortOrdersReadsInFileOrder) {
  vm.OpenView();
  EXPECT_EQ(vm.OrderText(), "");
  EXPECT_EQ(vm.FilterText(), "");
  EXPECT_EQ(vm.FreeComponentPosition(), 0);
  EXPECT_FALSE(vm.RefreshLimits());
  vm.PutNamedFilter("SER:ServiceNumber > 3");  // no order to hang it on: ignored
  EXPECT_EQ(readAll(vm, Buffer(tables::Service), SER_SERVICENUMBER), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(vm.PrepareNewRecord(), Level::Benign);
  EXPECT_TRUE(display.messages.empty());
}

TEST_F(ViewManagerTest, TheEndOfAFilteredViewLeavesTheLastRecordReturned) {
  vm.AddKeyOrder(SER_ServiceNumberKey.index);
  vm.PutNamedFilter("SUB(SER:TITLE, 1, 1) = 'A' OR SER:SERVICENUMBER = 3");  // evaluated per record
  vm.Reposition();
  ASSERT_EQ(vm.ReadNext(), ReadResult::Ok);
  ASSERT_EQ(vm.ReadNext(), ReadResult::Ok);
  EXPECT_EQ(vm.ReadNext(), ReadResult::End);
  EXPECT_EQ(Buffer(tables::Service).get(SER_SERVICENUMBER), 3);
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "Baptism");
  // And backwards past the start: the first record returned stays.
  vm.Reposition();
  ASSERT_EQ(vm.ReadNext(), ReadResult::Ok);
  ASSERT_EQ(vm.ReadNext(), ReadResult::Ok);
  ASSERT_EQ(vm.ReadPrevious(), ReadResult::Ok);
  EXPECT_EQ(Buffer(tables::Service).get(SER_SERVICENUMBER), 1);
  EXPECT_EQ(vm.ReadPrevious(), ReadResult::End);
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "Advent");
}

TEST_F(ViewManagerTest, ReadPreviousReadsTheOrderBackwards) {
  vm.AddKeyOrder(SER_TitleKey.index);
  vm.Reposition();
  view->setToEnd();
  std::vector<int> seen;
  ReadResult rc;
  while ((rc = vm.ReadPrevious()) == ReadResult::Ok) seen.push_back(Buffer(tables::Service).get(SER_SERVICENUMBER));
  EXPECT_EQ(rc, ReadResult::End);
  EXPECT_EQ(seen, (std::vector<int>{2, 4, 5, 3, 1}));
  EXPECT_TRUE(display.messages.empty());
}

namespace {

// The elements of a service, by their order within it.
class ElementViewTest : public ViewManagerTest {
 protected:
  void SetUp() override {
    ViewManagerTest::SetUp();
    elementsView = std::make_unique<vrt::View>(TableFile(tables::ServiceElement));
    elements.Setup(*elementsView, Relate(tables::ServiceElement));
    elements.AddKeyOrder(SEL_ServiceElementKey.index);
  }
  void TearDown() override {
    elements.Shutdown();
    ViewManagerTest::TearDown();
  }
  std::vector<int> read() { return readAll(elements, Buffer(tables::ServiceElement), SEL_ELEMENTNUMBER); }

  std::unique_ptr<vrt::View> elementsView;
  ViewManager elements;
};

}  // namespace

TEST_F(ElementViewTest, ASingleValueLimitPrimesNewRecords) {
  Value service = Value::number(2);
  elements.LimitBy(dict::idx::SEL::SERVICENUMBER, ValueRef::ofVariable(&service));
  EXPECT_EQ(elements.FreeComponentName(), "SEL:ELEMENTORDER");
  elements.RefreshLimits();
  EXPECT_EQ(read(), (std::vector<int>{4, 3, 2, 1}));
  ASSERT_EQ(elements.PrepareNewRecord(), Level::Benign);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_SERVICENUMBER), 2);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_ELEMENTORDER), 0);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_ELEMENTNUMBER), 7);  // numbered too
}

TEST_F(ElementViewTest, ARangeAndNamedFiltersAreJoined) {
  Value service = Value::number(2);
  elements.LimitBy(dict::idx::SEL::SERVICENUMBER, ValueRef::ofVariable(&service));
  elements.RefreshLimits();
  elements.PutNamedFilter("SEL:ELEMENTORDER > 6", "6 Query");
  elements.PutNamedFilter("SEL:ELEMENTNUMBER <> 2");
  EXPECT_EQ(read(), (std::vector<int>{3, 1}));
  EXPECT_EQ(elements.FilterText(), "SEL:SERVICENUMBER = 2 AND (SEL:ELEMENTNUMBER <> 2) AND (SEL:ELEMENTORDER > 6)");
}

TEST_F(ElementViewTest, ALimitOnALaterComponentHoldsTheOnesBeforeIt) {
  Buffer(tables::ServiceElement).set(SEL_SERVICENUMBER, 3);
  Value order = Value::number(5);
  elements.LimitBy(dict::idx::SEL::ELEMENTORDER, ValueRef::ofVariable(&order));
  EXPECT_EQ(elements.FreeComponentPosition(), 0);
  elements.RefreshLimits();
  EXPECT_EQ(read(), std::vector<int>{5});
  EXPECT_EQ(elements.FilterText(), "SEL:SERVICENUMBER = 3 AND SEL:ELEMENTORDER = 5");
  ASSERT_EQ(elements.PrepareNewRecord(), Level::Benign);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_SERVICENUMBER), 3);
  EXPECT_EQ(Buffer(tables::ServiceElement).get(SEL_ELEMENTORDER), 5);
}
