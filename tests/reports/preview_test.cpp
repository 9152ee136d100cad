// The print preview, driven as a user would over a report of several pages.
#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QFile>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>

#include "report_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/print/page_view.h"
#include "runtime/print/printer.h"
#include "windows/preview_zoom.h"
#include "windows/report_outputs.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kPreview = "Report Preview";

int pdfPages(const std::string& path) {
  QProcess p;
  p.start("pdfinfo", {QString::fromStdString(path)});
  p.waitForFinished(60000);
  for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
    if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
  return -1;
}

class PreviewTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    std::vector<Request> many;
    std::string words;
    for (int w = 0; w < 90; ++w) words += " praying for the family";
    for (int i = 1; i <= 40; ++i) many.push_back({"Req number " + std::to_string(i) + words, i, 0});
    addRequests(many);
    startReport("ReportPrayerRequestAll");
    acceptOrderAndRun(3);
    ASSERT_NE(robot.findWindow(kPreview), nullptr);
    count = static_cast<int>(pages().size());
    ASSERT_GE(count, 5);
  }
  vrt::Window& preview() { return robot.window(kPreview); }
  std::string zone(int n) { return preview().statusText(n); }
  vrt::PageView* view() { return preview().widget()->findChild<vrt::PageView*>(); }
  QColor tileColour(int index) {
    const QImage shot = view()->canvas()->grab().toImage();
    const QRectF r = view()->tileRect(index);
    return shot.pixelColor(int(r.left() + 3 * shot.devicePixelRatio()), int(r.top() + 3 * shot.devicePixelRatio()));
  }
  void choose(const std::string& path) { robot.chooseMenu(kPreview, path); }
  QPrintDialog* printDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "PrintDialog" && w->isVisible()) return qobject_cast<QPrintDialog*>(w);
    return nullptr;
  }
  int count = 0;
};

}  // namespace

TEST_F(PreviewTest, OpensMaximisedInTilesWithItsMenusToolbarAndStatus) {
  EXPECT_TRUE(preview().widget()->isMaximized());
  EXPECT_EQ(zone(2), "Page 1-4 of " + std::to_string(count));
  EXPECT_EQ(zone(3), "Zoom: Tile Pages");
  EXPECT_EQ(robot.control(kPreview, "?SaveAs").text(), "Save As -PDF");
  EXPECT_EQ(robot.control(kPreview, "?PrintSelection").help(), "Select which pages to print");
  EXPECT_EQ(robot.control(kPreview, "?Exit").help(), "Exit without printing the report");
  EXPECT_EQ(robot.control(kPreview, "?Jump").help(), "Jump to a specific page of the report");
  EXPECT_EQ(robot.control(kPreview, "?CurrentPage").help(), "Enter a page number from 1 to " + std::to_string(count));
  EXPECT_EQ(robot.control(kPreview, "?ZoomList").help(), "Set zoom to standard or user defined value");
  EXPECT_EQ(robot.control(kPreview, "?TBPrint").tip(), "Print this report");
  EXPECT_TRUE(robot.control(kPreview, "?Previous").disabled());
  EXPECT_FALSE(robot.control(kPreview, "?Next").disabled());
  for (std::size_t i = 0; i < kZoomTable.size(); ++i)
    EXPECT_EQ(robot.control(kPreview, "?Zoom" + std::to_string(i + 1)).text(), kZoomTable[i].menuText);
}

TEST_F(PreviewTest, ZoomEntriesFreeZoomAndPaging) {
  choose("&Zoom|100% Zoom");
  EXPECT_EQ(zone(2), "Page 1 of " + std::to_string(count));
  EXPECT_EQ(zone(3), "Zoom: 100%");
  choose("&View|&Next Page(s)");
  EXPECT_EQ(zone(2), "Page 2 of " + std::to_string(count));
  robot.pressKey(kPreview, vrt::kPgDnKey);
  EXPECT_EQ(zone(2), "Page 3 of " + std::to_string(count));
  robot.pressKey(kPreview, vrt::kPgUpKey);
  EXPECT_EQ(zone(2), "Page 2 of " + std::to_string(count));
  robot.type(kPreview, "?ZoomList", "120");
  EXPECT_EQ(zone(3), "Zoom: 120%");
  robot.type(kPreview, "?ZoomList", "lots");  // not a zoom: nothing changes
  EXPECT_EQ(zone(3), "Zoom: 120%");
  choose("&Zoom|Page Width");
  EXPECT_EQ(zone(3), "Zoom: Page Width");
  // The last page: next is off, Page Down does nothing.
  robot.type(kPreview, "?CurrentPage", std::to_string(count));
  EXPECT_EQ(zone(2), "Page " + std::to_string(count) + " of " + std::to_string(count));
  EXPECT_TRUE(robot.control(kPreview, "?Next").disabled());
  robot.pressKey(kPreview, vrt::kPgDnKey);
  EXPECT_EQ(zone(2), "Page " + std::to_string(count) + " of " + std::to_string(count));
}

TEST_F(PreviewTest, JumpAndDisplayWindows) {
  choose("&View|&Jump to a page");
  ASSERT_NE(robot.findWindow("Jump to a Report Page"), nullptr);
  robot.type("Jump to a Report Page", "?Page", "3");
  robot.press("Jump to a Report Page", "?OK");
  EXPECT_EQ(robot.findWindow("Jump to a Report Page"), nullptr);
  EXPECT_EQ(zone(2), "Page 3-" + std::to_string(std::min(count, 6)) + " of " + std::to_string(count));
  choose("&View|&Change Display");
  robot.type("Change the Report Display", "?Across", "3");
  robot.type("Change the Report Display", "?Down", "1");
  robot.press("Change the Report Display", "?OK");
  EXPECT_EQ(zone(2), "Page 3-5 of " + std::to_string(count));
  // Cancel keeps what was there.
  choose("&View|&Change Display");
  robot.type("Change the Report Display", "?Across", "1");
  robot.press("Change the Report Display", "?Cancel");
  EXPECT_EQ(zone(2), "Page 3-5 of " + std::to_string(count));
}

TEST_F(PreviewTest, AClickOnATileZoomsToPageWidthAndAnotherGoesBackToTiles) {
  const QPointF inSecond = view()->tileRect(1).center();
  QMouseEvent press(QEvent::MouseButtonPress, inSecond, view()->canvas()->mapToGlobal(inSecond), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view()->canvas(), &press);
  robot.settle();
  EXPECT_EQ(zone(3), "Zoom: Page Width");
  EXPECT_EQ(zone(2), "Page 2 of " + std::to_string(count));
  const QPointF onPage = view()->tileRect(0).center();
  QMouseEvent again(QEvent::MouseButtonPress, onPage, view()->canvas()->mapToGlobal(onPage), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view()->canvas(), &again);
  robot.settle();
  EXPECT_EQ(zone(3), "Zoom: Tile Pages");
}

TEST_F(PreviewTest, PagesToPrintGreyTheUnselectedTiles) {
  EXPECT_EQ(tileColour(1), QColor(255, 255, 255));
  choose("&File|Pa&ges to Print...");
  ASSERT_NE(robot.findWindow("Pages to Print"), nullptr);
  EXPECT_EQ(robot.control("Pages to Print", "?PagesToPrint").text(), "1-" + std::to_string(count));
  robot.type("Pages to Print", "?PagesToPrint", "1,3-4");
  robot.press("Pages to Print", "?OK");
  EXPECT_EQ(tileColour(0), QColor(255, 255, 255));
  EXPECT_EQ(tileColour(1), QColor(128, 128, 128));  // 8421504
  EXPECT_EQ(tileColour(2), QColor(255, 255, 255));
  // Reset brings every page back.
  choose("&File|Pa&ges to Print...");
  EXPECT_EQ(robot.control("Pages to Print", "?PagesToPrint").text(), "1,3-4");
  robot.press("Pages to Print", "?Reset");
  EXPECT_EQ(robot.control("Pages to Print", "?PagesToPrint").text(), "1-" + std::to_string(count));
  robot.press("Pages to Print", "?OK");
  EXPECT_EQ(tileColour(1), QColor(255, 255, 255));
}

TEST_F(PreviewTest, SaveAsPdfWritesTheSelectedPages) {
  choose("&File|Pa&ges to Print...");
  robot.type("Pages to Print", "?PagesToPrint", "2-3");
  robot.press("Pages to Print", "?OK");
  choose("&File|Save As -PDF");
  const std::string path = dir.file("journal.pdf");
  robot.chooseFile(path);
  EXPECT_EQ(pdfPages(path), 2);
  ASSERT_NE(robot.findWindow(kPreview), nullptr);
  EXPECT_EQ(robot.findWindow("Progress..."), nullptr);
  EXPECT_TRUE(ReportOutcomes().size() > 0);
}

TEST_F(PreviewTest, SaveAsNeverTakesThePlaceOfADataFileAndAsksBeforeReplacingAnother) {
  std::ofstream("Service.vdb") << "stands for the data";
  std::ofstream("old.pdf") << "kept";
  choose("&File|Save As -PDF");
  robot.chooseFile(dir.file("Service.vdb"));
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(robot.control(robot.messageBox()->caption(), vrt::kMessageTextUse).text().find("cannot be written over"),
            std::string::npos);
  robot.pressMessageButton("Ok");
  robot.chooseFile(dir.file("old.pdf"));
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.messageBox(), nullptr);
  std::ifstream data("Service.vdb"), old("old.pdf");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(data), {}), "stands for the data");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "kept");
  EXPECT_NE(robot.findWindow(kPreview), nullptr);
}

// Texts that select no page: a reversed range, an empty text, pages past the end.
TEST_F(PreviewTest, PagesToPrintThatSelectNoPagePrintAndSaveNothingAndSaySo) {
  const std::string path = dir.file("printed.pdf");
  vrt::sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
  vrt::sharedPrinter().setOutputFileName(QString::fromStdString(path));
  for (const std::string& text : {std::string("3-1"), std::string(), std::to_string(count + 1) + "-" + std::to_string(count + 9)}) {
    SCOPED_TRACE("pages to print: \"" + text + "\"");
    choose("&File|Pa&ges to Print...");
    robot.type("Pages to Print", "?PagesToPrint", text);
    robot.press("Pages to Print", "?OK");
    choose("&File|&Print");
    EXPECT_EQ(printDialog(), nullptr);  // nothing to print: no printer is asked for
    ASSERT_NE(robot.messageBox(), nullptr);
    EXPECT_EQ(robot.messageBox()->caption(), "Report Output Error");
    const std::string said = robot.messageBox()->control(vrt::kMessageTextUse)->text();
    EXPECT_NE(said.find("select none of the report's " + std::to_string(count) + " pages, so nothing was printed"),
              std::string::npos) << said;
    robot.pressMessageButton("Ok");
    // Save As says the same, before any file is chosen.
    choose("&File|Save As -PDF");
    ASSERT_NE(robot.messageBox(), nullptr);
    EXPECT_NE(robot.messageBox()->control(vrt::kMessageTextUse)->text().find("so nothing was saved"), std::string::npos);
    robot.pressMessageButton("Ok");
    EXPECT_THROW(robot.cancelFileDialog(), vrt::RobotError);  // no file dialog came up
    // The preview stays with every page.
    ASSERT_NE(robot.findWindow(kPreview), nullptr);
    EXPECT_EQ(static_cast<int>(pages().size()), count);
    EXPECT_EQ(zone(2), "Page 1-4 of " + std::to_string(count));
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  EXPECT_TRUE(QDir(QString::fromStdString(dir.path().string())).entryList({"*.pdf"}).isEmpty());
  // A text that selects a page prints again.
  choose("&File|Pa&ges to Print...");
  robot.type("Pages to Print", "?PagesToPrint", "2");
  robot.press("Pages to Print", "?OK");
  choose("&File|&Print");
  ASSERT_NE(printDialog(), nullptr);
  printDialog()->accept();
  robot.settle();
  EXPECT_EQ(robot.findWindow(kPreview), nullptr);
  EXPECT_EQ(pdfPages(path), 1);
  vrt::sharedPrinter().setOutputFileName({});
}

TEST_F(PreviewTest, SavingIntoAFolderThatCannotBeWrittenIsReportedAndThePreviewStays) {
  QFile blocker(QString::fromStdString(dir.file("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  choose("&File|Save As -PDF");
  robot.chooseFile(dir.file("blocker/out.pdf"));
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Report Output Error");
  robot.pressMessageButton("Ok");
  EXPECT_NE(robot.findWindow(kPreview), nullptr);
  EXPECT_EQ(static_cast<int>(pages().size()), count);
}

TEST_F(PreviewTest, PrintingDropsTheUnselectedPagesAndClosesThePreview) {
  const std::string path = dir.file("printed.pdf");
  vrt::sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
  vrt::sharedPrinter().setOutputFileName(QString::fromStdString(path));
  choose("&File|Pa&ges to Print...");
  robot.type("Pages to Print", "?PagesToPrint", "2,4");
  robot.press("Pages to Print", "?OK");
  choose("&File|&Print");
  QPrintDialog* dialog = printDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->accept();
  robot.settle();
  EXPECT_EQ(robot.findWindow(kPreview), nullptr);
  EXPECT_EQ(pdfPages(path), 2);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
  vrt::sharedPrinter().setOutputFileName({});
}

TEST_F(PreviewTest, APrinterThatFailsIsReportedAndThePreviewStays) {
  QFile blocker(QString::fromStdString(dir.file("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  vrt::sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
  vrt::sharedPrinter().setOutputFileName(QString::fromStdString(dir.file("blocker/printed.pdf")));
  robot.pressToolbar(kPreview, "Print this report");
  QPrintDialog* dialog = printDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->accept();
  robot.settle();
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Report Output Error");
  robot.pressMessageButton("Ok");
  EXPECT_NE(robot.findWindow(kPreview), nullptr);
  vrt::sharedPrinter().setOutputFileName({});
}

TEST_F(PreviewTest, CancellingThePrintDialogPrintsNothing) {
  choose("&File|&Print");
  QPrintDialog* dialog = printDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->reject();
  robot.settle();
  EXPECT_NE(robot.findWindow(kPreview), nullptr);
  EXPECT_EQ(static_cast<int>(pages().size()), count);
}

TEST(PreviewTextsTest, StatusTextsAndZoomChoices) {
  EXPECT_EQ(PreviewPageStatus(3, 1, 9), "Page 3 of 9");
  EXPECT_EQ(PreviewPageStatus(1, 4, 9), "Page 1-4 of 9");
  EXPECT_EQ(PreviewZoomStatus(1, 0), "Zoom: Tile Pages");
  EXPECT_EQ(PreviewZoomStatus(0, 130), "Zoom: 130%");
  int percent = 0;
  EXPECT_EQ(ParseZoomChoice("200% Zoom", percent), 6);
  EXPECT_EQ(percent, 200);
  EXPECT_EQ(ParseZoomChoice("150%", percent), 0);
  EXPECT_EQ(percent, 150);
  EXPECT_EQ(ParseZoomChoice("abc", percent), -1);
  EXPECT_EQ(ParseZoomChoice("0", percent), -1);
  EXPECT_EQ(ParseZoomChoice("99999", percent), -1);
}

TEST(OutputGeneratorsTest, OneRegisteredGeneratorNamedPdf) {
  RegisterStandardOutputs();
  RegisterStandardOutputs();
  ASSERT_EQ(OutputGenerators().size(), 1u);
  EXPECT_EQ(OutputGeneratorName(1), "PDF");
  EXPECT_EQ(OutputGeneratorName(0), "");
  EXPECT_EQ(OutputGeneratorName(2), "");
}

// What the user sees in tile mode, with one page left out of the printing. With
// VESP_SCREENSHOT_DIR set (under Xvfb, say) the pictures are kept there.
TEST_F(PreviewTest, TileModeAsTheUserSeesIt) {
  choose("&File|Pa&ges to Print...");
  robot.type("Pages to Print", "?PagesToPrint", "1,3-" + std::to_string(count));
  robot.press("Pages to Print", "?OK");
  const QByteArray chosen = qgetenv("VESP_SCREENSHOT_DIR");
  const QString where = chosen.isEmpty() ? QString::fromStdString(dir.path().string()) : QString::fromLocal8Bit(chosen);
  QDir().mkpath(where);
  preview().widget()->resize(1280, 900);
  robot.settle();
  const QImage shot = preview().widget()->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  EXPECT_TRUE(shot.save(where + "/preview_tiles.png"));
  // Four pages side by side and two down: the second one grey.
  EXPECT_EQ(tileColour(1), QColor(128, 128, 128));
  EXPECT_EQ(tileColour(3), QColor(255, 255, 255));
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QGuiApplication::primaryScreen()->grabWindow(0).save(where + "/screen_tiles.png");
}

TEST_F(PreviewTest, ItOpensCentredOverTheFrameWhenItHasNoPlaceOfItsOwn) {
  const QWidget* frame = vrt::FrameHost::frame()->widget();
  const QRect normal = preview().widget()->normalGeometry();  // where it is when not maximised
  EXPECT_LE((normal.center() - frame->geometry().center()).manhattanLength(), 4)
      << normal.x() << "," << normal.y() << " " << normal.width() << "x" << normal.height();
  EXPECT_TRUE(frame->geometry().contains(normal));
  EXPECT_GT(normal.width(), frame->width() / 2);
}

TEST_F(PreviewTest, ItsPlaceIsKeptUnderThePreviewSection) {
  choose("&File|E&xit");
  QFile ini("vsp.INI");
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(ini.readAll());
  EXPECT_TRUE(text.contains("[_PreviewWindow_]", Qt::CaseInsensitive)) << text.toStdString();
}

TEST_F(PreviewTest, WithoutAGeneratorSaveAsIsOff) {
  choose("&File|E&xit");
  const OutputGenerator pdf = OutputGenerators().front();
  UnregisterOutputGenerator("PDF");
  startReport("ReportPrayerRequestAll");
  acceptOrderAndRun();
  EXPECT_TRUE(robot.control(kPreview, "?SaveAs").disabled());
  EXPECT_EQ(robot.control(kPreview, "?SaveAs").text(), "&Save As...");
  RegisterOutputGenerator(pdf);
  choose("&File|E&xit");
}
