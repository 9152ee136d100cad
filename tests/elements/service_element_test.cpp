// A service element's form: what its look-ups copy, show and clear, its tempo choices, and
// the list of its associated files.
#include "elements_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace SEL = dict::idx::SEL;
namespace ASF = dict::idx::ASF;
namespace BBL = dict::idx::BBL;
constexpr const char* kChanging = "Service Element Will Be Changed";
constexpr const char* kBibliography = "Browse the Bibliography File";
constexpr const char* kPerformers = "Browse the Performers File";

class ServiceElementTest : public ElementsTest {
 protected:
  void SetUp() override {
    ElementsTest::SetUp();
    for (int i = 1; i <= 12; ++i)
      add(tables::Bibliography, [i](vrt::RecordRef b) {
        b.set(BBL_TITLE, i == 12 ? "Cornerstone" : "Song " + std::to_string(i));
        b.set(BBL_DURATION, i == 12 ? "5:30" : "3:00");
      });
    add(tables::Performers, [](vrt::RecordRef b) {
      b.set(PER_FIRSTNAME, "Grace");
      b.set(PER_LASTNAME, "Young");
    });
    add(tables::PerformerGroupHeader, [](vrt::RecordRef b) { b.set(PGH_DESCRIPTION, "Youth Band"); });
    for (const char* t : {"Song", "Video"}) add(tables::ElementType, [t](vrt::RecordRef b) { b.set(ELT_ELEMENTTYPE, t); });
    add(tables::Service, [](vrt::RecordRef b) {  // the element's service: its files belong to it too
      b.set(SER_SERVICENUMBER, 7);
      b.set(SER_TITLE, "Advent");
    });
    element = add(tables::ServiceElement, [](vrt::RecordRef b) {
      b.set(SEL_SERVICENUMBER, 7);
      b.set(SEL_TITLE, "Opening song");
      b.set(SEL_DURATION, "4:00");
      b.set(SEL_PERFORMER, 1);
    });
  }
  void changeElement() {
    call("UpdateServiceElement", tables::ServiceElement, Request::Change, element);
    ASSERT_NE(robot.findWindow(kChanging), nullptr);
  }
  std::int64_t element = 0;
};

}  // namespace

TEST_F(ServiceElementTest, ChoosingEntry12CopiesItsTitleAndDurationWhichStayWhenTheEntryChanges) {
  changeElement();
  EXPECT_EQ(robot.window(kChanging).procedure(), "UpdateServiceElement");
  robot.type(kChanging, "?SEL:BIBLIOGRAPHYNUMBER", "12");
  EXPECT_EQ(robot.findWindow(kBibliography), nullptr);  // found: no look-up
  EXPECT_EQ(text(kChanging, "?SEL:TITLE"), "Cornerstone");
  EXPECT_EQ(text(kChanging, "?SEL:DURATION"), "5:30");
  robot.press(kChanging, "?OK");
  EXPECT_EQ(response, Response::Completed);

  call("UpdateBibliography", tables::Bibliography, Request::Change, 12);
  robot.type("Changing a Bibliography Record", "?BBL:TITLE", "Cornerstone (Live)");
  robot.type("Changing a Bibliography Record", "?BBL:DURATION", "6:45");
  robot.press("Changing a Bibliography Record", "?OK");
  EXPECT_EQ(stored(tables::Bibliography, 12, BBL::TITLE), "Cornerstone (Live)");

  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::BIBLIOGRAPHYNUMBER), "12");
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::TITLE), "Cornerstone");
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::DURATION), "5:30");
  changeElement();
  EXPECT_EQ(text(kChanging, "?SEL:TITLE"), "Cornerstone");
}

TEST_F(ServiceElementTest, TheBibliographyButtonCopiesTheChosenEntryAndCancellingKeepsEverything) {
  changeElement();
  robot.press(kChanging, "?CALLLOOKUP");
  ASSERT_NE(robot.findWindow(kBibliography), nullptr);
  EXPECT_FALSE(robot.control(kBibliography, "?Select").hidden());
  robot.chooseTab(kBibliography, "?CurrentTab", "Bibliography #");
  robot.pressKey(kBibliography, vrt::kHomeKey, "?Browse:1");  // the new order starts at the entry highlighted
  robot.chooseRow(kBibliography, "?Browse:1", 1);
  robot.press(kBibliography, "?Select");
  EXPECT_EQ(text(kChanging, "?SEL:BIBLIOGRAPHYNUMBER"), "1");
  EXPECT_EQ(text(kChanging, "?SEL:TITLE"), "Song 1");
  robot.type(kChanging, "?SEL:TITLE", "Song 1, two verses");
  robot.press(kChanging, "?CALLLOOKUP");
  robot.press(kBibliography, "?Close");
  EXPECT_EQ(text(kChanging, "?SEL:BIBLIOGRAPHYNUMBER"), "1");
  EXPECT_EQ(text(kChanging, "?SEL:TITLE"), "Song 1, two verses");
  EXPECT_EQ(text(kChanging, "?SEL:DURATION"), "3:00");
}

TEST_F(ServiceElementTest, ANumberNoEntryHasOpensTheBrowseAndCancellingEmptiesTitleAndDuration) {
  changeElement();
  robot.type(kChanging, "?SEL:BIBLIOGRAPHYNUMBER", "99");
  ASSERT_NE(robot.findWindow(kBibliography), nullptr);
  robot.press(kBibliography, "?Close");
  EXPECT_EQ(text(kChanging, "?SEL:BIBLIOGRAPHYNUMBER"), "0");
  EXPECT_EQ(text(kChanging, "?SEL:TITLE"), "");
  EXPECT_EQ(text(kChanging, "?SEL:DURATION"), "");
  EXPECT_EQ(robot.window(kChanging).focusedControl(), robot.window(kChanging).number("?SEL:BIBLIOGRAPHYNUMBER"));
}

TEST_F(ServiceElementTest, ThePerformerAndTheGroupAreShownByName) {
  changeElement();
  EXPECT_EQ(text(kChanging, "?LOC:PerformerName"), "Grace Young");
  EXPECT_EQ(text(kChanging, "?LOC:PerformerGroupName"), "");
  robot.type(kChanging, "?SEL:PERFORMERGROUP", "1");
  EXPECT_EQ(text(kChanging, "?LOC:PerformerGroupName"), "Youth Band");
  robot.press(kChanging, "?OK");
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::PERFORMERGROUP), "1");
}

TEST_F(ServiceElementTest, ClearInThePerformerBrowseOpenedForAnUnknownNumberLeavesPerformerZeroAndNoName) {
  changeElement();
  robot.type(kChanging, "?SEL:PERFORMER", "42");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  robot.press(kPerformers, "?Clear");
  EXPECT_EQ(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(text(kChanging, "?SEL:PERFORMER"), "0");
  EXPECT_EQ(text(kChanging, "?LOC:PerformerName"), "");
  robot.press(kChanging, "?OK");
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::PERFORMER), "0");
}

TEST_F(ServiceElementTest, ClearInThePerformerBrowseOfTheLookupButtonKeepsThePerformer) {
  changeElement();
  robot.press(kChanging, "?CALLLOOKUP:3");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  robot.press(kPerformers, "?Clear");
  EXPECT_EQ(text(kChanging, "?SEL:PERFORMER"), "1");
  EXPECT_EQ(text(kChanging, "?LOC:PerformerName"), "Grace Young");
}

TEST_F(ServiceElementTest, TheTempoIsChosenFromItsListAndStoredAsText) {
  changeElement();
  robot.chooseItem(kChanging, "?SEL:TEMPO", "Moderately Fast");
  robot.type(kChanging, "?SEL:TYPE", "video");
  robot.press(kChanging, "?OK");
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::TEMPO), "Moderately Fast");
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::TYPE), "video");
}

TEST_F(ServiceElementTest, TheAssociatedFilesTabListsTheElementsFilesAndAddsNewOnes) {
  add(tables::AssociatedFiles, [this](vrt::RecordRef b) {
    b.set(ASF_ELEMENTNUMBER, static_cast<std::int32_t>(element));
    b.set(ASF_TYPE, "Video");
    b.set(ASF_DESCRIPTION, "Intro clip");
    b.set(ASF_FILELOCATION, "/media/intro.mp4");
  });
  add(tables::AssociatedFiles, [](vrt::RecordRef b) {
    b.set(ASF_ELEMENTNUMBER, 99);
    b.set(ASF_DESCRIPTION, "Another element's file");
  });
  changeElement();
  robot.chooseTab(kChanging, "?CurrentTab", "Associated Files");
  EXPECT_EQ(text(kChanging, "?ListTitle"), "Browsing Records");
  EXPECT_EQ(rows(kChanging, "?List:AssociatedFiles"),
            (std::vector<std::vector<std::string>>{{"Video", "Intro clip", "/media/intro.mp4"}}));
  robot.clickCell(kChanging, "?List:AssociatedFiles", 1, 2);
  EXPECT_TRUE(opener->opened.empty());
  robot.clickCell(kChanging, "?List:AssociatedFiles", 1, 3);
  EXPECT_EQ(opener->opened, std::vector<std::string>{"/media/intro.mp4"});

  robot.press(kChanging, "?Insert");
  constexpr const char* kAdding = "Adding a Associated Files Record";
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  robot.type(kAdding, "?ASF:TYPE", "Slides");  // not a type: the list opens
  ASSERT_NE(robot.findWindow("Browse the ElementType File"), nullptr);
  robot.chooseRow("Browse the ElementType File", "?Browse:1", 1);
  robot.press("Browse the ElementType File", "?Select");
  EXPECT_EQ(text(kAdding, "?ASF:TYPE"), "Song");
  robot.type(kAdding, "?ASF:DESCRIPTION", "Lead sheet");
  robot.type(kAdding, "?ASF:FILELOCATION", "/media/lead.pdf");
  robot.press(kAdding, "?LOOKUPFILE");
  robot.cancelFileDialog();
  EXPECT_EQ(text(kAdding, "?ASF:FILELOCATION"), "");
  robot.type(kAdding, "?ASF:FILELOCATION", "/media/lead.pdf");
  robot.press(kAdding, "?OK");
  EXPECT_EQ(rows(kChanging, "?List:AssociatedFiles").size(), 2u);
  EXPECT_EQ(stored(tables::AssociatedFiles, 3, ASF::ELEMENTNUMBER), std::to_string(element));
  EXPECT_EQ(stored(tables::AssociatedFiles, 3, ASF::SERVICENUMBER), "7");
  EXPECT_EQ(stored(tables::AssociatedFiles, 3, ASF::FILELOCATION), "/media/lead.pdf");

  robot.chooseRow(kChanging, "?List:AssociatedFiles", 2);
  robot.press(kChanging, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(column(kChanging, 2, "?List:AssociatedFiles"), std::vector<std::string>{"Intro clip"});
  EXPECT_EQ(records(tables::AssociatedFiles), 2);
}

TEST_F(ServiceElementTest, AViewedElementListsItsFilesButOpensNoForm) {
  add(tables::AssociatedFiles, [this](vrt::RecordRef b) {
    b.set(ASF_ELEMENTNUMBER, static_cast<std::int32_t>(element));
    b.set(ASF_DESCRIPTION, "Intro clip");
  });
  call("UpdateServiceElement", tables::ServiceElement, Request::View, element);
  ASSERT_NE(robot.findWindow("View Record"), nullptr);
  robot.chooseTab("View Record", "?CurrentTab", "Associated Files");
  EXPECT_EQ(rows("View Record", "?List:AssociatedFiles").size(), 1u);
  EXPECT_TRUE(robot.control("View Record", "?Insert").disabled());
  robot.press("View Record", "?OK");
  EXPECT_EQ(robot.findWindow("View Record"), nullptr);
  EXPECT_EQ(records(tables::AssociatedFiles), 1);
}

TEST_F(ServiceElementTest, ANewElementGivenUpTakesTheFilesAddedToItAlong) {
  add(tables::AssociatedFiles, [](vrt::RecordRef b) { b.set(ASF_DESCRIPTION, "Belongs to no element"); });
  call("UpdateServiceElement", tables::ServiceElement, Request::Insert);
  constexpr const char* kAdding = "Service Element Will Be Added";
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  robot.chooseTab(kAdding, "?CurrentTab", "Associated Files");
  robot.press(kAdding, "?Insert");
  robot.type("Adding a Associated Files Record", "?ASF:DESCRIPTION", "Lead sheet");
  robot.press("Adding a Associated Files Record", "?OK");
  ASSERT_EQ(rows(kAdding, "?List:AssociatedFiles").size(), 1u);
  EXPECT_EQ(records(tables::AssociatedFiles), 2);
  robot.press(kAdding, "?Cancel");
  EXPECT_EQ(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(records(tables::ServiceElement), 1);
  EXPECT_EQ(records(tables::AssociatedFiles), 1);
  // The next new element gets the same number, and no files with it.
  call("UpdateServiceElement", tables::ServiceElement, Request::Insert);
  robot.chooseTab(kAdding, "?CurrentTab", "Associated Files");
  EXPECT_TRUE(rows(kAdding, "?List:AssociatedFiles").empty());
  robot.press(kAdding, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(records(tables::AssociatedFiles), 1);
}
