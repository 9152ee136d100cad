// The report layout, the page files and the PDF written from them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPrinter>
#include <QStringList>

#include "runtime/print/page_output.h"
#include "runtime/print/page_store.h"
#include "runtime/print/report_layout.h"
#include "support/temp_dir.h"

using namespace vrt;

namespace {

ReportLayoutDesign requestsDesign() {
  ReportLayoutDesign d;
  d.title = "Prayer Requests";
  d.columns = {{"Request #", 9, Qt::AlignRight}, {"Prayer Request", 40}, {"Date Started", 12}};
  d.dateStamp = "12/9/26";
  d.timeStamp = "4:30 PM";
  return d;
}

QString request(int n) { return QString("Request number %1 for the church").arg(n); }

// The texts of a page drawn at `line` heights, in drawing order.
std::vector<QString> texts(const PageStore& store, int page) {
  RecordedPage p;
  EXPECT_TRUE(store.page(page, p));
  std::vector<QString> out;
  for (const PageItem& i : p.items)
    if (i.kind == PageItem::Text) out.push_back(i.text);
  return out;
}

bool contains(const std::vector<QString>& v, const QString& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

QString pdfText(const QString& path, int page = 0) {
  QProcess p;
  QStringList args{"-layout"};
  if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
  p.start("pdftotext", args << path << "-");
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& path) {
  QProcess p;
  p.start("pdfinfo", {path});
  p.waitForFinished(60000);
  for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
    if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
  return -1;
}

}  // namespace

TEST(ReportLayoutTest, EveryPageHasTheHeaderAndTheFooter) {
  EXPECT_EQ(PageNumberText(1), "Page   1");
  EXPECT_EQ(PageNumberText(42), "Page  42");
  EXPECT_EQ(PageNumberText(1234), "Page 1234");
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  for (int n = 1; n <= 120; ++n) ASSERT_TRUE(layout.printDetail({QString::number(n), request(n), "01/02/2026"}));
  ASSERT_TRUE(layout.finish());
  ASSERT_GT(store.count(), 1);
  for (int p = 1; p <= store.count(); ++p) {
    const auto t = texts(store, p);
    EXPECT_TRUE(contains(t, "Prayer Requests"));
    EXPECT_TRUE(contains(t, "Request #"));
    EXPECT_TRUE(contains(t, "Prayer Request"));
    EXPECT_TRUE(contains(t, "Date: 12/9/26"));
    EXPECT_TRUE(contains(t, "Time: 4:30 PM"));
    EXPECT_TRUE(contains(t, PageNumberText(p)));
  }
  // Every record is on some page, once, in order.
  std::vector<QString> all;
  for (int p = 1; p <= store.count(); ++p)
    for (const QString& s : texts(store, p))
      if (s.startsWith("Request number")) all.push_back(s);
  ASSERT_EQ(all.size(), 120u);
  EXPECT_EQ(all.front(), request(1));
  EXPECT_EQ(all.back(), request(120));
}

TEST(ReportLayoutTest, AReportWithoutRecordsStillHasItsPage) {
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  ASSERT_TRUE(layout.finish());
  ASSERT_EQ(store.count(), 1);
  EXPECT_TRUE(contains(texts(store, 1), "Page   1"));
  EXPECT_EQ(layout.detailLines(), 0);
}

TEST(ReportLayoutTest, LongTextsWrapInsideTheirColumnAndStayOnThePage) {
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  QString longText;
  for (int i = 0; i < 400; ++i) longText += QString("word%1 ").arg(i);
  const QString unbroken(600, 'x');  // no place to break: cut anywhere
  ASSERT_TRUE(layout.printDetail({"1", longText, "01/02/2026"}));
  ASSERT_TRUE(layout.printDetail({"2", unbroken, "01/02/2026"}));
  ASSERT_TRUE(layout.printDetail({"3", "Line one\nLine two", ""}));
  ASSERT_TRUE(layout.finish());
  QString joined;
  for (int p = 1; p <= store.count(); ++p) {
    RecordedPage page;
    ASSERT_TRUE(store.page(p, page));
    for (const PageItem& i : page.items) {
      if (i.kind != PageItem::Text) continue;
      EXPECT_GE(i.rect.left(), 0);
      EXPECT_LE(i.rect.right(), page.width - 30) << i.text.toStdString();
      EXPECT_LE(i.rect.bottom(), page.height - 30) << i.text.toStdString();
      if (i.text.startsWith("word") || i.text.startsWith("x")) joined += i.text + " ";
    }
  }
  // Nothing of the text was lost in wrapping.
  EXPECT_TRUE(joined.contains("word0 word1"));
  EXPECT_TRUE(joined.contains("word399"));
  EXPECT_EQ(joined.count('x'), 600);
  const auto lines = layout.wrap(longText, 200);
  EXPECT_GT(lines.size(), 20u);
  EXPECT_EQ(layout.wrap("Line one\nLine two", 400), (std::vector<QString>{"Line one", "Line two"}));
  EXPECT_TRUE(layout.wrap("   ", 100).empty());
}

TEST(ReportLayoutTest, ARecordThatDoesNotFitMovesWholeToTheNextPage) {
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  QString tenLines;
  for (int i = 0; i < 10; ++i) tenLines += QString("line%1\n").arg(i);
  // Fill the first page with one-line records until the next ten-line one cannot fit.
  int n = 0;
  while (store.count() == 0 && n < 1000) ASSERT_TRUE(layout.printDetail({QString::number(++n), tenLines, ""}));
  ASSERT_TRUE(layout.finish());
  for (int p = 1; p <= store.count(); ++p) {
    const auto t = texts(store, p);
    const bool first = contains(t, "line0"), last = contains(t, "line9");
    EXPECT_EQ(first, last) << "a ten-line record was split on page " << p;
  }
}

TEST(ReportLayoutTest, ARecordTallerThanAPageGoesOnOverThePagesItNeeds) {
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  QString manyLines;
  for (int i = 0; i < 200; ++i) manyLines += QString("row%1\n").arg(i);
  ASSERT_TRUE(layout.printDetail({"1", manyLines, ""}));
  ASSERT_TRUE(layout.finish());
  EXPECT_GE(store.count(), 3);
  EXPECT_TRUE(contains(texts(store, 1), "row0"));
  EXPECT_TRUE(contains(texts(store, store.count()), "row199"));
}

TEST(PageStoreTest, PageFilesGoWhenDroppedAndTheFolderWithTheStore) {
  QString folder, second;
  {
    PageStore store;
    ASSERT_TRUE(store.usable());
    folder = store.folder();
    EXPECT_TRUE(QDir(folder).exists());
    for (int i = 0; i < 3; ++i) {
      RecordedPage page;
      page.items.push_back({PageItem::Text, QRectF(10, 10, 100, 10), QString("page %1").arg(i + 1), 9, false, 0});
      ASSERT_TRUE(store.add(page));
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);
    second = store.file(2);
    store.drop(2);
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_EQ(store.count(), 2);
    RecordedPage p;
    ASSERT_TRUE(store.page(2, p));
    EXPECT_EQ(p.allText(), "page 3\n");
    EXPECT_FALSE(store.page(3, p));
    const auto live = PageStore::liveFolders();
    EXPECT_EQ(std::count(live.begin(), live.end(), folder), 1);
  }
  EXPECT_FALSE(QDir(folder).exists());
  EXPECT_TRUE(PageStore::liveFolders().empty());
}

TEST(PageStoreTest, ADamagedPageFileReadsAsNoPage) {
  PageStore store;
  ASSERT_TRUE(store.add(RecordedPage{}));
  QFile f(store.file(1));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a page");
  f.close();
  RecordedPage p;
  EXPECT_FALSE(store.page(1, p));
}

TEST(PdfOutputTest, AThreePageReportReadsBackAsText) {
  vtest::TempDir dir;
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  int n = 0;
  while (store.count() < 3) ASSERT_TRUE(layout.printDetail({QString::number(++n), request(n), "01/02/2026"}));
  // The third page was begun by the record that did not fit on the second; end it there.
  ASSERT_TRUE(layout.finish());
  const int pages = store.count();
  ASSERT_GE(pages, 3);
  std::vector<int> all;
  for (int p = 1; p <= pages; ++p) all.push_back(p);
  const QString path = QString::fromStdString(dir.file("report.pdf"));
  int progressCalls = 0;
  const OutputResult r = writePdf(store, all, path, [&](int done, int total) {
    ++progressCalls;
    EXPECT_EQ(total, pages);
    return done <= total;
  });
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(progressCalls, pages);
  EXPECT_EQ(pdfPages(path), pages);
  for (int p = 1; p <= pages; ++p) {
    const QString text = pdfText(path, p);
    const auto t = texts(store, p);
    std::vector<QString> requests;
    for (const QString& s : t)
      if (s.startsWith("Request number")) requests.push_back(s);
    ASSERT_FALSE(requests.empty());
    EXPECT_TRUE(text.contains("Prayer Requests")) << p;
    EXPECT_TRUE(text.contains(requests.front())) << requests.front().toStdString();
    EXPECT_TRUE(text.contains(requests.back())) << requests.back().toStdString();
    EXPECT_TRUE(text.contains(PageNumberText(p))) << text.toStdString();
  }
  EXPECT_TRUE(pdfText(path, 1).contains("Page   1"));
}

TEST(PdfOutputTest, SelectedPagesOnlyAndFailuresLeaveNoFile) {
  vtest::TempDir dir;
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  for (int n = 1; n <= 150; ++n) ASSERT_TRUE(layout.printDetail({QString::number(n), request(n), ""}));
  ASSERT_TRUE(layout.finish());
  ASSERT_GE(store.count(), 3);
  const QString path = QString::fromStdString(dir.file("two.pdf"));
  ASSERT_TRUE(writePdf(store, {1, 3}, path).ok);
  EXPECT_EQ(pdfPages(path), 2);
  EXPECT_TRUE(pdfText(path, 2).contains("Page   3"));

  // A folder that cannot be made (a file stands in its way).
  QFile blocker(QString::fromStdString(dir.file("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const OutputResult bad = writePdf(store, {1}, QString::fromStdString(dir.file("blocker/out.pdf")));
  EXPECT_FALSE(bad.ok);
  EXPECT_FALSE(bad.error.isEmpty());

  // Stopping half way keeps the file that was there before.
  const OutputResult stopped = writePdf(store, {1, 2, 3}, path, [](int done, int) { return done < 2; });
  EXPECT_FALSE(stopped.ok);
  EXPECT_EQ(pdfPages(path), 2);
}

TEST(PrinterOutputTest, APrinterThatCannotStartIsReported) {
  vtest::TempDir dir;
  PageStore store;
  ReportLayout layout(requestsDesign(), store);
  ASSERT_TRUE(layout.finish());
  QFile blocker(QString::fromStdString(dir.file("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.file("blocker/printed.pdf")));
  const OutputResult r = printPages(printer, store, {1});
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
  // And one that can prints every page given.
  printer.setOutputFileName(QString::fromStdString(dir.file("printed.pdf")));
  EXPECT_TRUE(printPages(printer, store, {1}).ok);
  EXPECT_EQ(pdfPages(QString::fromStdString(dir.file("printed.pdf"))), 1);
}
