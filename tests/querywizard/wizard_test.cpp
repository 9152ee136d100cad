// XB_QWIZARD's own logic around the wizard's pages: opening a saved query, the outcome in
// XBQW_Response, joining with the caller's filter, and the per-thread response.
#include "querywizard/wizard_session.h"

#include "querywizard/qrywiz.h"
#include "querywizard/query_store.h"
#include "qw_fixture.h"
#include "runtime/expr/bindings.h"
#include "runtime/os/thread_state.h"
#include "store_support.h"

using namespace qrywiz;
using namespace qwtest;

namespace {

class Wizard : public QwTest {
 protected:
  void SetUp() override {
    QwTest::SetUp();
    fields = prayerFields();
    XB_INITFIELDSQUEUE(fields, "PrayerRequest");
    vrt::expr::bindName("PRA:Request", &request);
    vrt::expr::bindName("PRA:RequestNumber", &number);
    vrt::expr::bindName("PRA:RequestCategory", &category);
  }
  void TearDown() override {
    vrt::expr::unbindName("PRA:Request");
    vrt::expr::unbindName("PRA:RequestNumber");
    vrt::expr::unbindName("PRA:RequestCategory");
    QwTest::TearDown();
  }

  // The pages as a user who adds "Request contains care" and then acts.
  void userBuildsAndThen(std::function<bool(WizardSession&)> then) {
    hooks().wizard = [this, then](WizardSession& s) {
      seen = &s;
      s.elements = {makeElement(rankOf(s.fields(), "PRA:Request"), s.fields(), kContains, "care")};
      return then(s);
    };
  }

  XBQW_FIELDSQUEUE fields;
  std::string request = "Take care", number = "3", category = "Family";
  WizardSession* seen = nullptr;
};

}  // namespace

TEST_F(Wizard, CancelledWizardLeavesTheFilterAlone) {
  XBQW_Response() = 5;
  std::string query = "A = 1", description = "d";
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0);
  EXPECT_EQ(XBQW_Response(), 0);
  EXPECT_EQ(query, "A = 1");
  EXPECT_EQ(description, "d");
}

TEST_F(Wizard, UnsavedQueryReturnsItsTextAsDescription) {
  userBuildsAndThen([](WizardSession& s) {
    EXPECT_TRUE(s.startOnNewQuery);
    if (!s.checkFinished()) return false;
    s.finishUnsaved();
    return true;
  });
  std::string query, description;
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0);
  EXPECT_EQ(XBQW_Response(), -1);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_EQ(description, query);
}

TEST_F(Wizard, SqlSyntaxIsNotChecked) {
  XBQW_SqlUpper = "UPPER";
  userBuildsAndThen([](WizardSession& s) {
    s.elements[0].FIELDNAME = "NOT_BOUND";
    EXPECT_TRUE(s.checkFinished());
    s.finishUnsaved();
    return true;
  });
  std::string query, description;
  XB_QWIZARD(fields, "PrayerRequest", query, description, 3);
  EXPECT_EQ(query, "UPPER(NOT_BOUND) LIKE '%CARE%'");
  EXPECT_TRUE(shown.empty());
}

TEST_F(Wizard, InvalidTextKeepsTheWizardOpen) {
  userBuildsAndThen([](WizardSession& s) {
    s.manualPage = true;
    s.manualText = "PRA:Request = (";
    EXPECT_FALSE(s.checkFinished());
    return false;
  });
  std::string query = "before", description;
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Invalid Query");
  EXPECT_EQ(query, "before");
}

TEST_F(Wizard, SavedQueryIsReturnedByNumberAndCanBeEditedAgain) {
  descriptions.push_back("Care");
  userBuildsAndThen([](WizardSession& s) { return s.save(true); });
  std::string query, description;
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0);
  EXPECT_EQ(XBQW_Response(), 1);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_EQ(description, "Care");

  // Opened again by number: the pages see its elements and rewrite it.
  descriptions.push_back("Care and hope");
  hooks().wizard = [this](WizardSession& s) {
    EXPECT_EQ(s.loadedNumber(), 1);
    EXPECT_EQ(s.elements.size(), 1u);
    s.elements.push_back(makeElement(rankOf(s.fields(), "PRA:Category"), s.fields(), kIsEqualTo, "family"));
    s.elements[0].CONJUNCTION = "OR";
    return s.save(false);
  };
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0, 1);
  EXPECT_EQ(XBQW_Response(), 1);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1) OR UPPER(PRA:RequestCategory) = 'FAMILY'");
  EXPECT_EQ(description, "Care and hope");
  std::string stored;
  XB_GETQUERY(1, stored);
  EXPECT_EQ(stored, query);
}

TEST_F(Wizard, UnknownQueryNumberShowsTheLoadErrorAndEnds) {
  bool ran = false;
  hooks().wizard = [&](WizardSession&) { return ran = true; };
  std::string query = "q", description;
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0, 99);
  EXPECT_FALSE(ran);
  EXPECT_EQ(XBQW_Response(), 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "ErrorLoadingQuery");
  EXPECT_EQ(query, "q");
}

TEST_F(Wizard, RestrictedAndInvalidQueries) {
  CurrentQuery none;
  descriptions.push_back("Typed");
  SaveInput in;
  in.className = "PrayerRequest";
  in.filterText = "PRA:RequestNumber > 1";
  in.manualPage = true;
  std::string accepted;
  ASSERT_EQ(saveQuery(none, fields, in, accepted), 1);

  bool ran = false;
  hooks().wizard = [&](WizardSession& s) {
    ran = true;
    EXPECT_EQ(s.manualPage, s.loadedNumber() == 1);
    if (s.loadedNumber() == 1) {
      EXPECT_EQ(s.manualText, "PRA:RequestNumber > 1");
    }
    return false;
  };
  std::string query, description;
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 1, 1);
  EXPECT_FALSE(ran);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Restricted Query");
  // Without the restriction it opens.
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0, 1);
  EXPECT_TRUE(ran);

  // A query whose field was removed opens after the warning.
  descriptions.push_back("Uses comments");
  CurrentQuery q = {makeElement(rankOf(fields, "PRA:Comments"), fields, kIsEqualTo, "x")};
  in.manualPage = false;
  in.filterText = "UPPER(PRA:Comments) = 'X'";
  ASSERT_EQ(saveQuery(q, fields, in, accepted), 2);
  XBQW_FIELDSQUEUE fewer = fields;
  std::erase_if(fewer, [](const auto& f) { return f.QWFLDDESC == "PRA:Comments"; });
  XB_INITFIELDSQUEUE(fewer, "PrayerRequest");
  shown.clear();
  ran = false;
  XB_QWIZARD(fewer, "PrayerRequest", query, description, 1, 0, 2);
  EXPECT_TRUE(ran);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Query No Longer Valid");
}

TEST_F(Wizard, FinishedQueryIsJoinedToTheCallersFilterWhenAsked) {
  userBuildsAndThen([](WizardSession& s) {
    EXPECT_TRUE(s.mayCombine());
    s.finishUnsaved();
    s.joinWith(kJoinOr);
    return true;
  });
  std::string query = "PRA:RequestNumber = 3", description = "Number three";
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0, 0, 1);
  EXPECT_EQ(XBQW_Response(), -2);
  EXPECT_EQ(query, "(PRA:RequestNumber = 3) OR (INSTRING('CARE',UPPER(PRA:Request),1,1))");
  EXPECT_EQ(description, "(Number three) OR (<Unsaved Query>)");

  // Without the combine argument there is no join.
  query = "PRA:RequestNumber = 3";
  userBuildsAndThen([](WizardSession& s) {
    EXPECT_FALSE(s.mayCombine());
    s.finishUnsaved();
    s.joinWith(kJoinAnd);
    return true;
  });
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1);
  EXPECT_EQ(XBQW_Response(), -1);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
}

TEST_F(Wizard, JoinThatDoesNotFitGivesTheNewQueryAlone) {
  userBuildsAndThen([](WizardSession& s) {
    s.finishUnsaved();
    s.joinWith(kJoinAnd);
    return true;
  });
  std::string query(1000, 'p'), description = "long";
  XB_QWIZARD(fields, "PrayerRequest", query, description, 1, 0, 0, 1);
  EXPECT_EQ(XBQW_Response(), -1);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_TRUE(wasShown("Query String Too Small"));
}

TEST_F(Wizard, EachThreadSeesItsOwnResponse) {
  userBuildsAndThen([](WizardSession& s) {
    s.finishUnsaved();
    return true;
  });
  vrt::ThreadContext a(11), b(12);
  std::string query, description;
  {
    vrt::ThreadContextScope in(a);
    XB_QWIZARD(fields, "PrayerRequest", query, description, 1);
  }
  {
    vrt::ThreadContextScope in(b);
    hooks().wizard = [](WizardSession&) { return false; };
    XBQW_Response() = 4;
    XB_QWIZARD(fields, "PrayerRequest", query, description, 1);
  }
  {
    vrt::ThreadContextScope in(a);
    EXPECT_EQ(XBQW_Response(), -1);
  }
  vrt::ThreadContextScope in(b);
  EXPECT_EQ(XBQW_Response(), 0);
}

TEST_F(Wizard, WindowsTheDialogsProvideAnswerThroughTheirHooks) {
  EXPECT_EQ(XB_QWPREACTION(), 0);
  hooks().queryOption = [] { return std::uint8_t{2}; };
  EXPECT_EQ(XB_QWPREACTION(), 2);

  std::string expression = "PRA:RequestNumber";
  EXPECT_EQ(QW_BUILDEXPQ(expression, fields, 0), 0);
  EXPECT_EQ(expression, "PRA:RequestNumber");
  hooks().buildExpression = [](const std::string& e, const XBQW_FIELDSQUEUE&, bool) -> std::optional<std::string> {
    return e + " + 1";
  };
  // An expression longer than its variable is refused, never cut into another one.
  EXPECT_EQ(QW_BUILDEXPQ(expression, fields, 0, 20), 0);
  EXPECT_EQ(expression, "PRA:RequestNumber");
  EXPECT_EQ(shown.back().caption, "Expression Builder");
  EXPECT_EQ(QW_BUILDEXPQ(expression, fields, 0, 21), 1);
  EXPECT_EQ(expression, "PRA:RequestNumber + 1");
  EXPECT_TRUE(builtExpressionIsValid("PRA:RequestNumber + 1", false));
  EXPECT_TRUE(builtExpressionIsValid("", false));
  EXPECT_TRUE(builtExpressionIsValid("SUBSTR(x", true));
  EXPECT_FALSE(builtExpressionIsValid("PRA:RequestNumber +", false));
  EXPECT_EQ(shown.back().caption, "Expression Builder");
  EXPECT_EQ(shown.back().text, "Your expression is NOT valid.");

  std::int32_t started = -1;
  hooks().dropCalendar = [&](std::int32_t date, std::int32_t) { return started = date; };
  EXPECT_EQ(QW_DROPCAL(75000, 3), 75000);
  // No date reaches the window as 0: it opens on today, and Escape gives 0 back.
  EXPECT_EQ(QW_DROPCAL(std::nullopt, 3), 0);
  EXPECT_EQ(started, 0);
}
