// Start-up hands the query wizard its wording and puts its own windows in place: a wizard
// opened in the running program speaks the program's texts through the library's windows.
#include <QApplication>
#include <QFile>
#include <QWidget>

#include <algorithm>
#include <set>

#include "program_fixture.h"
#include "querywizard/display_text.h"
#include "querywizard/field_registry.h"
#include "querywizard/hooks.h"
#include "querywizard/qrywiz.h"
#include "querywizard/wizard_layout.h"
#include "runtime/expr/bindings.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "shell/query_wizard_texts.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr std::string_view W = qrywiz::kWizardProcedure;

bool isNumber(int id) { return id >= 72 && id <= 80 && id % 2 == 0; }
bool isIgnored(int id) { return id == 218 || id == 219 || id == 243 || id == 244; }

class QueryWizardStartupTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // As the library is when it is loaded: no texts and no windows of its own.
    qrywiz::resetDisplayTexts();
    qrywiz::resetHooks();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    qrywiz::resetHooks();
  }
};

TEST(QueryWizardTextsTest, EveryIdIsGivenOnceInAscendingOrderWithTheCaptionsLast) {
  const auto texts = queryWizardTexts();
  std::vector<int> ids;
  for (const auto& t : texts) ids.push_back(t.id);
  ASSERT_GE(ids.size(), 3u);
  EXPECT_EQ(std::vector<int>(ids.end() - 3, ids.end()), (std::vector<int>{245, 246, 247}));
  for (std::size_t i = ids.size() - 3; i < ids.size(); ++i) EXPECT_STREQ(texts[i].text, "");
  std::vector<int> rest(ids.begin(), ids.end() - 3);
  const auto nine = std::find(rest.begin(), rest.end(), 9);
  ASSERT_NE(nine, rest.end());
  ASSERT_NE(nine + 1, rest.end());
  EXPECT_EQ(*(nine + 1), 8) << "9 precedes 8";
  std::iter_swap(nine, nine + 1);
  EXPECT_TRUE(std::is_sorted(rest.begin(), rest.end()));

  std::set<int> expected;
  for (const auto& [first, last] : std::vector<std::pair<int, int>>{
           {1, 12}, {31, 42}, {71, 80}, {100, 127}, {151, 171}, {200, 221}, {230, 247}, {300, 303}})
    for (int id = first; id <= last; ++id) expected.insert(id);
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()), expected);
  EXPECT_EQ(ids.size(), expected.size()) << "no id twice";
}

TEST_F(QueryWizardStartupTest, StartUpGivesTheLibraryEveryText) {
  start();
  for (const auto& t : queryWizardTexts()) {
    if (isIgnored(t.id)) continue;
    if (isNumber(t.id))
      EXPECT_EQ(qrywiz::displayNumber(t.id), std::stoi(t.text)) << t.id;
    else
      EXPECT_EQ(qrywiz::displayText(t.id), t.text) << t.id;
  }
  EXPECT_EQ(qrywiz::displayText(303), "Custom Query...");
  EXPECT_EQ(qrywiz::displayNumber(80), 12);
}

// A wizard run on a thread of its own, as the prayer-request browse runs it.
class WizardInTheProgramTest : public QueryWizardStartupTest {
 protected:
  void openWizard() {
    vrt::StartThread(
        [this] {
          vrt::expr::BindingScope scope;
          vrt::expr::bindName("PRA:Request", &request);
          qrywiz::XBQW_FIELDSQUEUE fields;
          std::int32_t error = 0;
          qrywiz::XB_ADDFIELDSQUEUEDATA(fields, error,
                                        "PRA:Request\xA6" "0\xA6PRA:Request\xA6@s255\xA6" "5000\xA6" "1\xA6" "1\xA6\xA6\xA6\xAB");
          qrywiz::XB_INITFIELDSQUEUE(fields, "PrayerRequest");
          qrywiz::XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0);
          response = qrywiz::XBQW_Response();
          ended = true;
        },
        50'000);
    robot.settle();
  }
  std::string request, query, description;
  std::int32_t response = 99;
  bool ended = false;
};

TEST_F(WizardInTheProgramTest, TheWizardOpensInTheLibrarysWindowsWithTheProgramsTexts) {
  start();
  openWizard();
  vrt::Window& wizard = robot.window(W);
  EXPECT_EQ(wizard.caption(), "(New Query)");
  EXPECT_EQ(robot.control(W, "?Heading1").text(), "Field Selection");
  EXPECT_EQ(robot.control(W, "?Prompt1").text(), "Select a field from the list below.");
  EXPECT_EQ(robot.control(W, "?FieldList").list()->headerAt(1), "Fields to Evaluate");
  EXPECT_EQ(robot.control(W, "?Next").text(), "&Next >");
  EXPECT_EQ(robot.control(W, "?Next").tip(), "Go Forward to the Next Page");
  EXPECT_EQ(robot.control(W, "?Next").help(), "Goto Next Page");
  // "MS Sans Serif" is not installed here: the desktop's font, at the sets' sizes.
  const QString desktop = QApplication::font().family();
  EXPECT_EQ(robot.control(W, "?Next").widget()->font().family(), desktop);
  EXPECT_EQ(robot.control(W, "?Next").widget()->font().pointSize(), 8);
  EXPECT_EQ(robot.control(W, "?Title").widget()->font().pointSize(), 12);
  EXPECT_EQ(robot.control(W, "?Heading1").widget()->font().pointSize(), 10);

  robot.chooseRow(W, "?FieldList", 1);
  robot.press(W, "?Next");
  EXPECT_EQ(robot.control(W, "?OperationList").list()->rowAt(8)[0], "Contains");
  robot.chooseRow(W, "?OperationList", 8);
  robot.press(W, "?Next");
  robot.type(W, "?Value", "care");
  robot.press(W, "?Next");
  EXPECT_EQ(robot.control(W, "?QueryList").list()->rowAt(1)[0], "PRA:Request Contains care");
  robot.press(W, "?Finish");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Save Query");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(robot.window(qrywiz::kDescriptionProcedure).caption(), "Adding a New Query");
  robot.type(qrywiz::kDescriptionProcedure, "?Description", "Care");
  robot.press(qrywiz::kDescriptionProcedure, "?OK");
  EXPECT_TRUE(ended);
  EXPECT_GT(response, 0);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  // The program names no other place: saved queries live in the data folder.
  EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file("QUERIES.TPS"))));
  qrywiz::XBQW_QUERIESQUEUE saved;
  qrywiz::XB_FILLQWQUEUE(saved, "PrayerRequest", 1);
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0].description, "All Records");
  EXPECT_EQ(saved[1].description, "Custom Query...");
  EXPECT_EQ(saved[2].description, "Care");
}

TEST_F(WizardInTheProgramTest, AnOpenWizardDoesNotHoldUpTheFrame) {
  start();
  openWizard();
  ASSERT_NE(robot.findWindow(W), nullptr);
  EXPECT_TRUE(vrt::FrameHost::frame()->takesInput());
  robot.chooseMenu("&Browse|Browse the Performers file");
  EXPECT_TRUE(robot.window("Browse the Performers File").takesInput());
  robot.press("Browse the Performers File", "?Close");
  robot.press(W, "?Cancel");
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, 0);
}

}  // namespace
