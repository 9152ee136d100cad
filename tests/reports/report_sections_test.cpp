// A report of several lists: the heading block, each list's caption and titles (again on
// the pages it runs on to), a caption that would be alone at the foot of a page, and totals.
#include <gtest/gtest.h>

#include "runtime/print/page_store.h"
#include "runtime/print/report_layout.h"

using namespace vrt;

namespace {

ReportLayoutDesign sectionedDesign() {
  ReportLayoutDesign d;
  d.title = "Order of Service";
  d.dateStamp = "12/9/26";
  d.timeStamp = "4:30 PM";
  return d;
}

std::vector<PageItem> itemsOf(const PageStore& store, int page) {
  RecordedPage p;
  EXPECT_TRUE(store.page(page, p));
  return p.items;
}

const PageItem* textItem(const std::vector<PageItem>& items, const QString& text) {
  for (const PageItem& i : items)
    if (i.kind == PageItem::Text && i.text == text) return &i;
  return nullptr;
}

int boxes(const std::vector<PageItem>& items) {
  int n = 0;
  for (const PageItem& i : items) n += i.kind == PageItem::Box;
  return n;
}

}  // namespace

TEST(ReportSections, TheHeadingThenEachListUnderItsOwnCaptionAndTitles) {
  PageStore store;
  ReportLayout layout(sectionedDesign(), store);
  ASSERT_TRUE(layout.printField("Service:", "Waiting"));
  ASSERT_TRUE(layout.printField("Speaker:", "Ann Lee"));
  ASSERT_TRUE(layout.beginSection("Service Elements", {{"Title", 300}, {"Duration", 100, Qt::AlignRight}}));
  ASSERT_TRUE(layout.printDetail({"Opening hymn", "3:45"}));
  ASSERT_TRUE(layout.printTotal({"Total", "3:45"}));
  ASSERT_TRUE(layout.beginSection("Key Words", {{"Key Word", 1}}));
  ASSERT_TRUE(layout.printDetail({"Advent"}));
  ASSERT_TRUE(layout.finish());
  ASSERT_EQ(store.count(), 1);
  const auto items = itemsOf(store, 1);
  EXPECT_EQ(boxes(items), 2) << "no title box without columns, one per list";
  const PageItem* label = textItem(items, "Service:");
  const PageItem* value = textItem(items, "Waiting");
  ASSERT_TRUE(label && value);
  EXPECT_TRUE(label->bold);
  EXPECT_FALSE(value->bold);
  EXPECT_DOUBLE_EQ(label->rect.top(), value->rect.top()) << "label and value share a line";
  // Top to bottom: heading, first caption, its titles and line, total, second list.
  const double order[] = {label->rect.top(), textItem(items, "Speaker:")->rect.top(),
                          textItem(items, "Service Elements")->rect.top(), textItem(items, "Duration")->rect.top(),
                          textItem(items, "Opening hymn")->rect.top(), textItem(items, "Total")->rect.top(),
                          textItem(items, "Key Words")->rect.top(), textItem(items, "Key Word")->rect.top(),
                          textItem(items, "Advent")->rect.top()};
  for (std::size_t i = 1; i < std::size(order); ++i) EXPECT_LT(order[i - 1], order[i]) << i;
  // The total is bold, under its column, below a rule.
  const PageItem* total = textItem(items, "3:45");
  EXPECT_TRUE(textItem(items, "Total")->bold);
  bool rule = false;
  for (const PageItem& i : items)
    if (i.kind == PageItem::Line && i.rect.top() < textItem(items, "Total")->rect.top() &&
        i.rect.top() > textItem(items, "Opening hymn")->rect.top())
      rule = true;
  EXPECT_TRUE(rule);
  EXPECT_EQ(total->align & Qt::AlignRight, int(Qt::AlignRight));
  EXPECT_EQ(layout.detailLines(), 2) << "headings and totals are not records";
}

TEST(ReportSections, AListGoesOnUnderItsTitlesAndACaptionIsNeverLeftAloneAtTheFoot) {
  PageStore store;
  ReportLayout layout(sectionedDesign(), store);
  ASSERT_TRUE(layout.beginSection("Service Elements", {{"Title", 1}}));
  int n = 0;
  while (store.count() == 0) ASSERT_TRUE(layout.printDetail({QString("Element %1").arg(++n)}));
  // The list went on to page 2, whose top repeats its caption and titles.
  ASSERT_TRUE(layout.finish());
  ASSERT_EQ(store.count(), 2);
  auto second = itemsOf(store, 2);
  EXPECT_NE(textItem(second, "Service Elements (continued)"), nullptr);
  EXPECT_NE(textItem(second, "Title"), nullptr);

  // Fill a page to within a line or two of its foot, then start a list: it starts overleaf.
  PageStore other;
  ReportLayout again(sectionedDesign(), other);
  ASSERT_TRUE(again.beginSection("First", {{"Title", 1}}));
  for (int i = 1; i < n - 2; ++i) ASSERT_TRUE(again.printDetail({QString("Element %1").arg(i)}));
  ASSERT_EQ(other.count(), 0);
  ASSERT_TRUE(again.beginSection("Second", {{"Key Word", 1}}));
  ASSERT_TRUE(again.printDetail({"Advent"}));
  ASSERT_TRUE(again.finish());
  ASSERT_EQ(other.count(), 2);
  EXPECT_EQ(textItem(itemsOf(other, 1), "Second"), nullptr);
  second = itemsOf(other, 2);
  EXPECT_NE(textItem(second, "Second"), nullptr);
  EXPECT_EQ(textItem(second, "First (continued)"), nullptr) << "the first list ended on page 1";
  EXPECT_NE(textItem(second, "Advent"), nullptr);
}
