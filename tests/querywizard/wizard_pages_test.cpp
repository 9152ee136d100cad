#include "querywizard/wizard_pages.h"

#include <gtest/gtest.h>

#include "qw_fixture.h"
#include "querywizard/query_store.h"
#include "runtime/expr/bindings.h"
#include "runtime/gui/buttons.h"
#include "runtime/text/dates.h"

namespace qrywiz {
namespace {

// The prayer fields plus a check box, the small list the pages are driven with.
XBQW_FIELDSQUEUE offeredFields() {
  XBQW_FIELDSQUEUE fields;
  std::int32_t error = 0;
  XB_ADDFIELDSQUEUEDATA(fields, error,
                        qwtest::prayerFieldsText() +
                            qwtest::packed({"PRA:Private", "0", "PRA:Private", "@n1", "1", "2", "2", "", "Private"}));
  return fields;
}

class WizardPagesTest : public qwtest::QwTest {
 protected:
  void SetUp() override {
    QwTest::SetUp();
    XB_SETQWDISPLAYTEXT(163, "New Query");
    XB_SETQWDISPLAYTEXT(41, "Save Query");
    XB_SETQWDISPLAYTEXT(42, "Do you want to save this query?");
    XB_SETQWDISPLAYTEXT(35, "Query Exists");
    XB_SETQWDISPLAYTEXT(36, "Do you want to replace the saved query?");
    fields = offeredFields();
    XB_INITFIELDSQUEUE(fields, "PrayerRequests");
  }
  WizardPages& pages(bool restrictManual = false) {
    session_.emplace(fields, "PrayerRequests", Syntax::Standard, restrictManual, false, "", "");
    pages_.emplace(*session_);
    pages_->start();
    return *pages_;
  }
  int rowOf(std::string_view description) {
    const auto names = pages_->fieldNames();
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == description) return static_cast<int>(i) + 1;
    ADD_FAILURE() << "no field " << description;
    return 0;
  }
  // Pages 1 to 3 for one element with a constant.
  void addElement(std::string_view field, int operation, std::string value) {
    pages_->draft.fieldRow = rowOf(field);
    ASSERT_TRUE(pages_->next());
    pages_->draft.operationRow = operation;
    ASSERT_TRUE(pages_->next());
    pages_->draft.value = std::move(value);
    ASSERT_TRUE(pages_->next());
    ASSERT_EQ(pages_->page(), 4);
  }

  XBQW_FIELDSQUEUE fields;
  std::optional<WizardSession> session_;
  std::optional<WizardPages> pages_;
};

TEST_F(WizardPagesTest, ANewQueryWalksFieldOperationValueToTheList) {
  WizardPages& p = pages();
  EXPECT_EQ(p.page(), 1);
  EXPECT_EQ(p.title(), "New Query");
  EXPECT_TRUE(p.backShown());
  EXPECT_FALSE(p.backEnabled());
  EXPECT_FALSE(p.finishShown());
  p.draft.fieldRow = rowOf("PRA:Request");
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.page(), 2);
  EXPECT_TRUE(p.backEnabled());
  EXPECT_EQ(p.operationNames().size(), 10u) << "a text field offers the text operations too";
  p.draft.operationRow = kContains;
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.valueHeading(), "PRA:Request Contains:");
  EXPECT_EQ(p.valueControl(), ValueControl::TextBox);
  EXPECT_EQ(p.matchTypePrompt(), 162);
  p.draft.value = "care";
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.page(), 4);
  EXPECT_TRUE(p.finishShown());
  EXPECT_FALSE(p.nextShown());
  ASSERT_EQ(p.elements().size(), 1u);
  EXPECT_EQ(p.elements()[0].DESC, "PRA:Request Contains care");
  EXPECT_EQ(p.elements()[0].CONJUNCTION, "");
  EXPECT_EQ(p.selectedElement(), 1);

  p.draft.fieldRow = rowOf("PRA:Request Number");
  p.conjunction("AND");
  p.draft.fieldRow = rowOf("PRA:Request Number");
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.operationNames().size(), 6u) << "a number field has no text operations";
  EXPECT_EQ(p.matchTypePrompt(), 161);
  p.draft.operationRow = kIsGreaterThan;
  ASSERT_TRUE(p.next());
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.elements()[1].VALUE, "0") << "an empty number becomes 0";
  EXPECT_EQ(session_->queryText(), "INSTRING('CARE',UPPER(PRA:Request),1,1) AND PRA:RequestNumber > 0");
}

TEST_F(WizardPagesTest, ACheckBoxFieldSkipsTheOperationPageBothWays) {
  WizardPages& p = pages();
  p.draft.fieldRow = rowOf("PRA:Private");
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.page(), 3) << "no operation page";
  EXPECT_EQ(p.valueHeading(), "PRA:Private Is Equal To");
  EXPECT_EQ(p.valueControl(), ValueControl::Check);
  EXPECT_FALSE(p.matchTypeShown());
  ASSERT_TRUE(p.back());
  EXPECT_EQ(p.page(), 1) << "Back returns to the field page";
  ASSERT_TRUE(p.next());
  p.draft.checked = true;
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.elements()[0].DESC, "PRA:Private Is Checked");
  EXPECT_EQ(p.elements()[0].OPCODE, kIsChecked);
  EXPECT_EQ(p.elements()[0].VALUE, "1");
  p.conjunction("OR");
  p.draft.fieldRow = rowOf("PRA:Private");
  ASSERT_TRUE(p.next());
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.elements()[1].DESC, "PRA:Private Is NOT Checked");
  EXPECT_EQ(p.elements()[1].VALUE, "0");
}

TEST_F(WizardPagesTest, ADropListGetsItsChoicesOnlyForEqualAndNotEqual) {
  WizardPages& p = pages();
  p.draft.fieldRow = rowOf("PRA:Answer");
  ASSERT_TRUE(p.next());
  p.draft.operationRow = kIsNotEqualTo;
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.valueControl(), ValueControl::Choice);
  EXPECT_EQ(p.choices(), (std::vector<std::string>{" ", "Yes", "No", "Other"}));
  ASSERT_TRUE(p.back());
  p.draft.operationRow = kIsGreaterThan;
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.valueControl(), ValueControl::Entry) << "a plain entry for any other operation";
  EXPECT_EQ(p.entryPicture(), "@s20");
}

TEST_F(WizardPagesTest, CompareToKindsClearTheValueAndBuildTheirElements) {
  WizardPages& p = pages();
  p.draft.fieldRow = rowOf("PRA:Date Answered");
  ASSERT_TRUE(p.next());
  p.draft.operationRow = kIsGreaterThan;
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.valueControl(), ValueControl::Entry);
  EXPECT_TRUE(p.lookupShown()) << "a date field looks its value up in the calendar";
  XBQW_MainOptions = 2;
  EXPECT_FALSE(p.lookupShown());
  XBQW_MainOptions = 0;
  p.draft.value = "123";
  p.setCompareTo(CompareTo::Field);
  EXPECT_EQ(p.draft.value, "");
  EXPECT_EQ(p.valueControl(), ValueControl::FieldChoice);
  EXPECT_EQ(p.choices(), p.fieldNames());
  p.draft.otherFieldRow = rowOf("PRA:Date Started");
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.elements()[0].VALUE, "PRA:DateStarted");
  EXPECT_EQ(p.elements()[0].DESC, "PRA:Date Answered Is Greater Than PRA:Date Started");
  EXPECT_EQ(session_->queryText(), "PRA:DateAnswered > PRA:DateStarted");

  p.change(1);
  EXPECT_EQ(p.page(), 1);
  EXPECT_EQ(p.draft.compareTo, CompareTo::Field);
  ASSERT_TRUE(p.next());
  ASSERT_TRUE(p.next());
  p.setCompareTo(CompareTo::Expression);
  EXPECT_EQ(p.valueControl(), ValueControl::Expression);
  EXPECT_EQ(p.entryPicture(), "@s80") << "as long as the builder may write";
  p.draft.value = "TODAY()";
  ASSERT_TRUE(p.next());
  ASSERT_EQ(p.elements().size(), 1u) << "a changed element is rewritten in place";
  EXPECT_EQ(p.elements()[0].EXPRESSION, 1);
  EXPECT_EQ(session_->queryText(), "PRA:DateAnswered > TODAY()");
}

TEST_F(WizardPagesTest, DeletingTheLastElementLeavesNoDanglingConjunction) {
  WizardPages& p = pages();
  addElement("PRA:Request", kContains, "care");
  p.conjunction("AND");
  addElement("PRA:Category", kIsEqualTo, "Health");
  EXPECT_EQ(p.elements()[0].CONJUNCTION, "AND");
  p.toggleConjunction(1);
  EXPECT_EQ(p.elements()[0].CONJUNCTION, "OR");
  p.toggleConjunction(2);
  EXPECT_EQ(p.elements()[1].CONJUNCTION, "") << "the last element joins nothing";
  p.remove(2);
  ASSERT_EQ(p.elements().size(), 1u);
  EXPECT_EQ(p.elements()[0].CONJUNCTION, "");
  EXPECT_EQ(session_->queryText(), "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  p.remove(1);
  EXPECT_EQ(p.page(), 1) << "an empty list starts a new element";
}

TEST_F(WizardPagesTest, CancelWhileAddingReturnsToTheListAndOtherwiseEnds) {
  WizardPages& p = pages();
  EXPECT_EQ(p.cancel(), PageOutcome::Cancelled) << "nothing to return to";
  addElement("PRA:Request", kContains, "care");
  p.conjunction("OR");
  p.draft.fieldRow = rowOf("PRA:Category");
  ASSERT_TRUE(p.next());
  EXPECT_EQ(p.cancel(), PageOutcome::Stay);
  EXPECT_EQ(p.page(), 4);
  EXPECT_EQ(p.elements()[0].CONJUNCTION, "") << "the abandoned element's conjunction goes too";
  p.manual();
  EXPECT_EQ(p.page(), 5);
  EXPECT_FALSE(p.manualShown());
  EXPECT_EQ(session_->manualText, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_EQ(p.cancel(), PageOutcome::Stay);
  EXPECT_EQ(p.page(), 4);
  EXPECT_TRUE(p.manualShown());
  EXPECT_EQ(p.cancel(), PageOutcome::Cancelled);
}

TEST_F(WizardPagesTest, RestrictManualNeverOffersTheManualPage) {
  WizardPages& p = pages(true);
  EXPECT_FALSE(p.manualShown());
  p.manual();
  EXPECT_EQ(p.page(), 1);
}

TEST_F(WizardPagesTest, FinishAsksToSaveAndReopeningShowsTheSameElements) {
  std::string request, started;
  vrt::expr::BindingScope scope;
  vrt::expr::bindName("PRA:Request", &request);
  vrt::expr::bindName("PRA:DateStarted", &started);
  WizardPages& p = pages();
  addElement("PRA:Request", kContains, "care");
  p.conjunction("AND");
  addElement("PRA:Date Started", kIsGreaterThan, std::to_string(vrt::dateFromYmd(2026, 3, 1)));
  const std::string expected = "INSTRING('CARE',UPPER(PRA:Request),1,1) AND PRA:DateStarted > " +
                               std::to_string(vrt::dateFromYmd(2026, 3, 1));
  answers = {vrt::kButtonCancel};
  EXPECT_EQ(p.finish(), PageOutcome::Stay);
  answers = {vrt::kButtonYes};
  descriptions = {std::nullopt};
  EXPECT_EQ(p.finish(), PageOutcome::Stay) << "a cancelled description form keeps the wizard open";
  answers = {vrt::kButtonYes};
  descriptions = {"Care since March"};
  ASSERT_EQ(p.finish(), PageOutcome::Finished) << shown.back().caption << ": " << shown.back().text;
  EXPECT_EQ(session_->resultText(), expected);
  const std::int32_t number = session_->resultNumber();
  ASSERT_NE(number, 0);
  EXPECT_EQ(session_->resultDescription(), "Care since March");

  WizardSession again(fields, "PrayerRequests", Syntax::Standard, false, false, "", "");
  ASSERT_TRUE(again.open(number));
  WizardPages reopened(again);
  reopened.start();
  EXPECT_EQ(reopened.page(), 4);
  EXPECT_EQ(reopened.title(), "Care since March");
  ASSERT_EQ(again.elements.size(), 2u);
  EXPECT_EQ(again.elements[0].DESC, "PRA:Request Contains care");
  EXPECT_EQ(again.elements[1].DESC, "PRA:Date Started Is Greater Than 03-01-2026");
  EXPECT_EQ(again.queryText(), expected);
  answers = {vrt::kButtonNo};
  ASSERT_EQ(reopened.finish(), PageOutcome::Finished);
  EXPECT_EQ(again.resultNumber(), 0) << "No leaves it unsaved";
}

TEST_F(WizardPagesTest, ManualAfterAndOrGivesTheQueryWithoutADanglingConjunction) {
  std::string request;
  vrt::expr::BindingScope scope;
  vrt::expr::bindName("PRA:Request", &request);
  WizardPages& p = pages();
  addElement("PRA:Request", kContains, "care");
  for (const char* andOr : {"AND", "OR"}) {
    p.conjunction(andOr);
    ASSERT_EQ(p.page(), 1);
    p.manual();
    ASSERT_EQ(p.page(), 5);
    EXPECT_EQ(session_->manualText, "INSTRING('CARE',UPPER(PRA:Request),1,1)") << andOr;
    EXPECT_EQ(p.cancel(), PageOutcome::Stay);
    ASSERT_EQ(p.elements().size(), 1u);
    EXPECT_EQ(p.elements()[0].CONJUNCTION, "");
  }
  p.conjunction("AND");
  p.manual();
  answers = {vrt::kButtonNo};
  ASSERT_EQ(p.finish(), PageOutcome::Finished) << "accepted at once";
  EXPECT_EQ(session_->resultText(), "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_FALSE(wasShown("Invalid Query"));
}

TEST_F(WizardPagesTest, AnElementThatWouldMakeTheQueryTooLongIsRefusedAndTheListStays) {
  WizardPages& p = pages();
  const std::string value(80, 'v');
  std::string before;
  for (;;) {
    p.draft.fieldRow = rowOf("PRA:Request");
    ASSERT_TRUE(p.next());
    p.draft.operationRow = kIsEqualTo;
    ASSERT_TRUE(p.next());
    p.draft.value = value;
    before = assembleQuery(p.elements(), Syntax::Standard);
    const auto count = p.elements().size();
    if (!p.next()) {
      EXPECT_EQ(p.page(), 3) << "the wizard stays on the value page";
      EXPECT_EQ(p.elements().size(), count);
      break;
    }
    ASSERT_LE(assembleQuery(p.elements(), Syntax::Standard).size(), 1024u);
    p.conjunction("AND");
  }
  EXPECT_TRUE(wasShown("Query String Too Small"));
  EXPECT_EQ(p.elements().back().CONJUNCTION, "AND") << "the elements as they were";
  EXPECT_EQ(p.cancel(), PageOutcome::Stay);
  EXPECT_EQ(assembleQuery(p.elements(), Syntax::Standard), before.substr(0, before.size() - 4));
  EXPECT_LE(session_->queryText().size(), 1024u);
  EXPECT_GT(session_->queryText().size(), 900u);
}

TEST_F(WizardPagesTest, ATypedQueryTooLongIsRefusedAtFinish) {
  WizardPages& p = pages();
  p.manual();
  session_->manualText = "PRA:RequestNumber = 1 OR " + std::string(1000, ' ') + "PRA:RequestNumber = 2";
  EXPECT_EQ(p.finish(), PageOutcome::Stay);
  EXPECT_TRUE(wasShown("Query String Too Small"));
  EXPECT_FALSE(session_->finished());
}

TEST_F(WizardPagesTest, AnInvalidTextStaysWithItsMessage) {
  WizardPages& p = pages();
  p.manual();
  session_->manualText = "PRA:Request = (";
  EXPECT_EQ(p.finish(), PageOutcome::Stay);
  EXPECT_TRUE(wasShown("Invalid Query"));
}

}  // namespace
}  // namespace qrywiz
