// The filter texts the rest of the system writes: the view manager's range and named
// filters, and every shape the query wizard produces in its standard syntax.
#include <gtest/gtest.h>

#include <QLocale>

#include "expr_support.h"
#include "runtime/data/errors.h"
#include "runtime/text/dates.h"

using namespace exprtest;
using vrt::expr::Expression;

namespace {

class FilterTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    vrt::expr::bindName("RUNTIMECATEGORY", &runtimeCategory);
    vrt::expr::bindName("LOC:ClassName", &className);
  }

  // Whether `filter` selects the current record.
  bool selects(const std::string& filter) { return eval(filter).isTrue(); }

  vrt::expr::BindingScope scope;
  BoundRequest req;
  std::string runtimeCategory = "FAMILY";
  std::string className = "PrayerRequest";
};

}  // namespace

TEST_F(FilterTexts, ViewManagerRangeAndNamedFilters) {
  req.set("REQ:TITLE", "O'Neil family");
  req.set("REQ:NUMBER", 12);
  EXPECT_FALSE(selects("UPPER(REQ:Title) = UPPER('O''Neil')"));
  req.set("REQ:TITLE", "o'neil   ");
  EXPECT_TRUE(selects("UPPER(REQ:Title) = UPPER('O''Neil')"));
  EXPECT_TRUE(selects("REQ:Number = 12 AND UPPER(REQ:Title) = UPPER('O''Neil')"));
  EXPECT_TRUE(selects("REQ:Number = 12 AND (REQ:Number => 10 AND REQ:Number =< 12) AND (UPPER(REQ:Title) = 'O''NEIL')"));
  EXPECT_FALSE(selects("REQ:Number = 12 AND (REQ:Number > 12)"));
}

TEST_F(FilterTexts, SavedQueryListFilterWithUnderscoredPrefixes) {
  std::string stored = "PRAYERREQUEST";
  vrt::expr::bindName("XBQW_QR:ClassName", &stored);
  EXPECT_TRUE(selects("UPPER(XBQW_QR:ClassName) = UPPER(LOC:ClassName)"));
  stored = "Service";
  EXPECT_FALSE(selects("UPPER(XBQW_QR:ClassName) = UPPER(LOC:ClassName)"));
}

TEST_F(FilterTexts, WizardTextComparisons) {
  req.set("REQ:TITLE", "Please care for Sam");
  EXPECT_TRUE(selects("INSTRING('CARE',UPPER(REQ:Title),1,1)")) << "contains, not case-sensitive";
  EXPECT_FALSE(selects("NOT INSTRING('CARE',UPPER(REQ:Title),1,1)")) << "does not contain";
  EXPECT_FALSE(selects("INSTRING('CARE',REQ:Title,1,1)")) << "contains, case-sensitive";
  EXPECT_TRUE(selects("UPPER(SUB(REQ:Title,1,2)) = 'PL'")) << "begins with";
  EXPECT_TRUE(selects("UPPER(SUB(REQ:Title,1,2)) <> 'AB'")) << "does not begin with";
  EXPECT_TRUE(selects("UPPER(REQ:Title) > 'A'"));
  EXPECT_TRUE(selects("REQ:Title <> 'please care for sam'"));
  EXPECT_TRUE(selects("UPPER(REQ:Title) = UPPER(REQ:Title)")) << "compared with another field";
  EXPECT_TRUE(selects("INSTRING(UPPER('care'),UPPER(REQ:Title),1,1)")) << "contains an expression";
}

TEST_F(FilterTexts, WizardNumbersDatesTimesAndCheckBoxes) {
  req.set("REQ:NUMBER", -5);
  req.set("REQ:DATESTARTED", vrt::dateFromYmd(2006, 3, 18));
  EXPECT_TRUE(selects("ABS(REQ:Number) => 5")) << "absolute values, greater than or equal";
  EXPECT_FALSE(selects("REQ:Number => 5"));
  EXPECT_TRUE(selects("REQ:DateStarted = " + std::to_string(vrt::dateFromYmd(2006, 3, 18)))) << "dates as day numbers";
  EXPECT_TRUE(selects("REQ:DateStarted = DATE(3,18,2006)")) << "the expression builder's date constant";
  EXPECT_TRUE(selects("REQ:DateStarted < DEFORMAT( '5:30PM', @T3 )")) << "the expression builder's time constant";
  EXPECT_TRUE(selects("REQ:Done = 0")) << "is not checked";
  req.set("REQ:DONE", 1);
  EXPECT_TRUE(selects("REQ:Done <> 0")) << "is checked";
}

TEST_F(FilterTexts, WizardElementsJoinWithoutParentheses) {
  req.set("REQ:NUMBER", 3);
  req.set("REQ:TITLE", "x");
  // Three elements in list order: AND binds tighter than OR.
  EXPECT_TRUE(selects("REQ:Number = 3 OR REQ:Number = 4 AND REQ:Title = 'y'"));
  EXPECT_FALSE(selects("(REQ:Number = 3 OR REQ:Number = 4) AND REQ:Title = 'y'"));
  EXPECT_TRUE(selects("(REQ:Number = 3) AND (REQ:Title = 'x' OR REQ:Title = 'y')")) << "a joined previous filter";
}

TEST_F(FilterTexts, RunTimeCategoryIsAName) {
  req.set("REQ:CATEGORY", "Family");
  EXPECT_TRUE(selects("UPPER(REQ:Category) = RUNTIMECATEGORY"));
  EXPECT_TRUE(selects("upper(req:category) = runtimecategory")) << "a query typed in any case";
  runtimeCategory = "HEALTH";
  EXPECT_FALSE(selects("UPPER(REQ:Category) = RUNTIMECATEGORY"));
  EXPECT_TRUE(selects("UPPER(REQ:Category) = 'FAMILY'")) << "after the token is replaced by the value";
}

TEST_F(FilterTexts, AnUnquotedQuoteInAConstantIsASyntaxError) {
  // The wizard does not double quotes inside constants; the check on Finish catches it.
  EXPECT_EQ(parseError("UPPER(REQ:Title) = 'O'NEIL'").code, vrt::kExpressionSyntax);
}

TEST_F(FilterTexts, EveryFieldOfTheBoundTableIsKnownAndOthersAreNot) {
  for (const auto& f : requestTable().fields) EXPECT_TRUE(Expression::parse(f.label + " = " + f.label).ok()) << f.label;
  EXPECT_EQ(parseError("REQ:NoSuchField = 1").code, vrt::kUnknownName);
}
