// Element -> filter text in both syntaxes, assembly, joining, the check of a finished text
// and run-time parameters.
#include "querywizard/filter_text.h"

#include "qw_fixture.h"
#include "runtime/expr/bindings.h"
#include "runtime/expr/expression.h"

using namespace qrywiz;

namespace {

enum Kind { kConstant, kField, kExpr };

QueryElement element(std::string field, std::uint8_t op, std::string value, std::uint8_t type,
                     std::uint8_t match = 0, Kind kind = kConstant, std::string conj = "") {
  QueryElement e;
  e.FIELDNAME = std::move(field);
  e.OPCODE = op;
  e.VALUE = std::move(value);
  e.DATATYPE = type;
  e.MATCHTYPE = match;
  e.CMPFLDQPOINTER = kind == kField ? 3 : 0;
  e.EXPRESSION = kind == kExpr ? 1 : 0;
  e.CONJUNCTION = std::move(conj);
  return e;
}

struct Row {
  const char* what;
  QueryElement e;
  const char* standard;
  const char* sql;
};

constexpr std::uint8_t kText = 1, kNumber = 2, kDate = 4, kTime = 5;

std::vector<Row> rows() {
  const std::string R = "PRA:Request", N = "PRA:RequestNumber", D = "PRA:DateStarted", T = "PRA:TimeTaken";
  return {
      // Text, case-blind.
      {"text =", element(R, 1, "care", kText), "UPPER(PRA:Request) = 'CARE'", "UPPER(PRA:Request) = 'CARE'"},
      {"text <>", element(R, 2, "care", kText), "UPPER(PRA:Request) <> 'CARE'", "UPPER(PRA:Request) <> 'CARE'"},
      {"text >", element(R, 3, "care", kText), "UPPER(PRA:Request) > 'CARE'", "UPPER(PRA:Request) > 'CARE'"},
      {"text <", element(R, 4, "care", kText), "UPPER(PRA:Request) < 'CARE'", "UPPER(PRA:Request) < 'CARE'"},
      {"text >=", element(R, 5, "care", kText), "UPPER(PRA:Request) => 'CARE'", "UPPER(PRA:Request) >= 'CARE'"},
      {"text <=", element(R, 6, "care", kText), "UPPER(PRA:Request) <= 'CARE'", "UPPER(PRA:Request) <= 'CARE'"},
      {"text begins", element(R, 7, "ab", kText), "UPPER(SUB(PRA:Request,1,2)) = 'AB'",
       "UPPER(PRA:Request) LIKE 'AB%'"},
      {"text contains", element(R, 8, "care", kText), "INSTRING('CARE',UPPER(PRA:Request),1,1)",
       "UPPER(PRA:Request) LIKE '%CARE%'"},
      {"text not begins", element(R, 9, "ab", kText), "UPPER(SUB(PRA:Request,1,2)) <> 'AB'",
       "UPPER(PRA:Request) NOT LIKE 'AB%'"},
      {"text not contains", element(R, 10, "care", kText), "NOT INSTRING('CARE',UPPER(PRA:Request),1,1)",
       "UPPER(PRA:Request) NOT LIKE '%CARE%'"},
      {"text checked", element(R, 11, "1", kText), "PRA:Request <> 0", "PRA:Request <> 0"},
      {"text not checked", element(R, 12, "0", kText), "PRA:Request = 0", "PRA:Request = 0"},
      // Text, case-sensitive.
      {"cs =", element(R, 1, "Care", kText, 1), "PRA:Request = 'Care'", "PRA:Request = 'Care'"},
      {"cs <>", element(R, 2, "Care", kText, 1), "PRA:Request <> 'Care'", "PRA:Request <> 'Care'"},
      {"cs >", element(R, 3, "Care", kText, 1), "PRA:Request > 'Care'", "PRA:Request > 'Care'"},
      {"cs <", element(R, 4, "Care", kText, 1), "PRA:Request < 'Care'", "PRA:Request < 'Care'"},
      {"cs >=", element(R, 5, "Care", kText, 1), "PRA:Request => 'Care'", "PRA:Request >= 'Care'"},
      {"cs <=", element(R, 6, "Care", kText, 1), "PRA:Request <= 'Care'", "PRA:Request <= 'Care'"},
      {"cs begins", element(R, 7, "Ab", kText, 1), "SUB(PRA:Request,1,2) = 'Ab'", "PRA:Request LIKE 'Ab%'"},
      {"cs contains", element(R, 8, "Care", kText, 1), "INSTRING('Care',PRA:Request,1,1)",
       "PRA:Request LIKE '%Care%'"},
      {"cs not begins", element(R, 9, "Ab", kText, 1), "SUB(PRA:Request,1,2) <> 'Ab'",
       "PRA:Request NOT LIKE 'Ab%'"},
      {"cs not contains", element(R, 10, "Care", kText, 1), "NOT INSTRING('Care',PRA:Request,1,1)",
       "PRA:Request NOT LIKE '%Care%'"},
      {"cs checked", element(R, 11, "1", kText, 1), "PRA:Request <> 0", "PRA:Request <> 0"},
      {"cs not checked", element(R, 12, "0", kText, 1), "PRA:Request = 0", "PRA:Request = 0"},
      // Numbers.
      {"num =", element(N, 1, "5", kNumber), "PRA:RequestNumber = 5", "PRA:RequestNumber = 5"},
      {"num <>", element(N, 2, "5", kNumber), "PRA:RequestNumber <> 5", "PRA:RequestNumber <> 5"},
      {"num >", element(N, 3, "5", kNumber), "PRA:RequestNumber > 5", "PRA:RequestNumber > 5"},
      {"num <", element(N, 4, "-5", kNumber), "PRA:RequestNumber < -5", "PRA:RequestNumber < -5"},
      {"num >=", element(N, 5, "5", kNumber), "PRA:RequestNumber => 5", "PRA:RequestNumber >= 5"},
      {"num <=", element(N, 6, "5.5", kNumber), "PRA:RequestNumber <= 5.5", "PRA:RequestNumber <= 5.5"},
      {"num begins", element(N, 7, "12", kNumber), "SUB(PRA:RequestNumber,1,2) = 12",
       "PRA:RequestNumber LIKE '12%'"},
      {"num contains", element(N, 8, "12", kNumber), "INSTRING('12',PRA:RequestNumber,1,1)",
       "PRA:RequestNumber LIKE '%12%'"},
      {"num not begins", element(N, 9, "12", kNumber), "SUB(PRA:RequestNumber,1,2) <> 12",
       "PRA:RequestNumber NOT LIKE '12%'"},
      {"num not contains", element(N, 10, "12", kNumber), "NOT INSTRING('12',PRA:RequestNumber,1,1)",
       "PRA:RequestNumber NOT LIKE '%12%'"},
      {"num checked", element(N, 11, "1", kNumber), "PRA:RequestNumber <> 0", "PRA:RequestNumber <> 0"},
      {"num not checked", element(N, 12, "0", kNumber), "PRA:RequestNumber = 0", "PRA:RequestNumber = 0"},
      // Numbers by absolute value.
      {"abs =", element(N, 1, "5", kNumber, 1), "ABS(PRA:RequestNumber) = 5", "ABS(PRA:RequestNumber) = 5"},
      {"abs <>", element(N, 2, "5", kNumber, 1), "ABS(PRA:RequestNumber) <> 5", "ABS(PRA:RequestNumber) <> 5"},
      {"abs >", element(N, 3, "5", kNumber, 1), "ABS(PRA:RequestNumber) > 5", "ABS(PRA:RequestNumber) > 5"},
      {"abs <", element(N, 4, "5", kNumber, 1), "ABS(PRA:RequestNumber) < 5", "ABS(PRA:RequestNumber) < 5"},
      {"abs >=", element(N, 5, "5", kNumber, 1), "ABS(PRA:RequestNumber) => 5", "ABS(PRA:RequestNumber) >= 5"},
      {"abs <=", element(N, 6, "5", kNumber, 1), "ABS(PRA:RequestNumber) <= 5", "ABS(PRA:RequestNumber) <= 5"},
      {"abs checked", element(N, 11, "1", kNumber, 1), "PRA:RequestNumber <> 0", "PRA:RequestNumber <> 0"},
      {"abs not checked", element(N, 12, "0", kNumber, 1), "PRA:RequestNumber = 0", "PRA:RequestNumber = 0"},
      // Dates: the day number in standard syntax, the date picture in SQL.
      {"date =", element(D, 1, "75000", kDate), "PRA:DateStarted = 75000", "PRA:DateStarted = '05-02-2006'"},
      {"date <>", element(D, 2, "75000", kDate), "PRA:DateStarted <> 75000", "PRA:DateStarted <> '05-02-2006'"},
      {"date >", element(D, 3, "75000", kDate), "PRA:DateStarted > 75000", "PRA:DateStarted > '05-02-2006'"},
      {"date <", element(D, 4, "75000", kDate), "PRA:DateStarted < 75000", "PRA:DateStarted < '05-02-2006'"},
      {"date >=", element(D, 5, "75000", kDate), "PRA:DateStarted => 75000", "PRA:DateStarted >= '05-02-2006'"},
      {"date <=", element(D, 6, "75000", kDate), "PRA:DateStarted <= 75000", "PRA:DateStarted <= '05-02-2006'"},
      {"date checked", element(D, 11, "1", kDate), "PRA:DateStarted <> 0", "PRA:DateStarted <> 0"},
      {"date not checked", element(D, 12, "0", kDate), "PRA:DateStarted = 0", "PRA:DateStarted = 0"},
      // Times: the time number in standard syntax, hh:mm:ss in SQL.
      {"time =", element(T, 1, "6300001", kTime), "PRA:TimeTaken = 6300001", "PRA:TimeTaken = '17:30:00'"},
      {"time <>", element(T, 2, "6300001", kTime), "PRA:TimeTaken <> 6300001", "PRA:TimeTaken <> '17:30:00'"},
      {"time >", element(T, 3, "6300001", kTime), "PRA:TimeTaken > 6300001", "PRA:TimeTaken > '17:30:00'"},
      {"time <", element(T, 4, "6300001", kTime), "PRA:TimeTaken < 6300001", "PRA:TimeTaken < '17:30:00'"},
      {"time >=", element(T, 5, "6300001", kTime), "PRA:TimeTaken => 6300001", "PRA:TimeTaken >= '17:30:00'"},
      {"time <=", element(T, 6, "6300001", kTime), "PRA:TimeTaken <= 6300001", "PRA:TimeTaken <= '17:30:00'"},
      // Check boxes are compared with zero.
      {"check box checked", element("PRA:Flag", 11, "1", kNumber), "PRA:Flag <> 0", "PRA:Flag <> 0"},
      {"check box not checked", element("PRA:Flag", 12, "0", kNumber), "PRA:Flag = 0", "PRA:Flag = 0"},
      // Compared with another field.
      {"field text =", element(R, 1, "PRA:Comments", kText, 0, kField), "UPPER(PRA:Request) = UPPER(PRA:Comments)",
       "UPPER(PRA:Request) = UPPER(PRA:Comments)"},
      {"field text cs <>", element(R, 2, "PRA:Comments", kText, 1, kField), "PRA:Request <> PRA:Comments",
       "PRA:Request <> PRA:Comments"},
      {"field text contains", element(R, 8, "PRA:Comments", kText, 0, kField),
       "INSTRING(UPPER(PRA:Comments),UPPER(PRA:Request),1,1)", "UPPER(PRA:Request) LIKE UPPER(PRA:Comments)"},
      // Begins with another field or an expression: as long as that value, record by record.
      {"field text begins", element(R, 7, "PRA:Comments", kText, 1, kField),
       "SUB(PRA:Request,1,LEN(CLIP(PRA:Comments))) = PRA:Comments", "PRA:Request LIKE PRA:Comments"},
      {"field text not begins", element(R, 9, "PRA:RequestCategory", kText, 0, kField),
       "UPPER(SUB(PRA:Request,1,LEN(CLIP(PRA:RequestCategory)))) <> UPPER(PRA:RequestCategory)",
       "UPPER(PRA:Request) NOT LIKE UPPER(PRA:RequestCategory)"},
      {"expr text begins", element(R, 7, "PRA:Comments & 'x'", kText, 1, kExpr),
       "SUB(PRA:Request,1,LEN(CLIP(PRA:Comments & 'x'))) = PRA:Comments & 'x'",
       "PRA:Request LIKE PRA:Comments & 'x'"},
      {"field number abs >", element(N, 3, "PRA:Other", kNumber, 1, kField), "ABS(PRA:RequestNumber) > ABS(PRA:Other)",
       "ABS(PRA:RequestNumber) > ABS(PRA:Other)"},
      {"field date <=", element(D, 6, "PRA:DateAnswered", kDate, 0, kField), "PRA:DateStarted <= PRA:DateAnswered",
       "PRA:DateStarted <= PRA:DateAnswered"},
      // Compared with an expression.
      {"expr text =", element(R, 1, "clip(PRA:Comments)", kText, 0, kExpr), "UPPER(PRA:Request) = CLIP(PRA:COMMENTS)",
       "UPPER(PRA:Request) = CLIP(PRA:COMMENTS)"},
      {"expr text contains", element(R, 8, "PRA:Comments", kText, 1, kExpr),
       "INSTRING(PRA:Comments,PRA:Request,1,1)", "PRA:Request LIKE PRA:Comments"},
      {"expr number >", element(N, 3, "PRA:Other + 1", kNumber, 0, kExpr), "PRA:RequestNumber > PRA:Other + 1",
       "PRA:RequestNumber > PRA:Other + 1"},
      {"expr number abs", element(N, 5, "PRA:Other", kNumber, 1, kExpr), "ABS(PRA:RequestNumber) => PRA:Other",
       "ABS(PRA:RequestNumber) >= PRA:Other"},
      {"expr null =", element(D, 1, "null", kDate, 0, kExpr), "PRA:DateStarted = null", "PRA:DateStarted IS null"},
      {"expr null <>", element(D, 2, "NULL", kDate, 0, kExpr), "PRA:DateStarted <> NULL",
       "PRA:DateStarted IS NOT NULL"},
  };
}

class FilterText : public qwtest::QwTest {
 protected:
  void SetUp() override {
    QwTest::SetUp();
    XBQW_SqlUpper = "UPPER";
    XBQW_SqlDatePic = "@d2-";
  }
};

}  // namespace

TEST_F(FilterText, EveryOperationInBothSyntaxes) {
  for (const Row& r : rows()) {
    EXPECT_EQ(assembleQuery({r.e}, Syntax::Standard), r.standard) << r.what;
    EXPECT_EQ(assembleQuery({r.e}, Syntax::Sql), r.sql) << r.what;
  }
}

TEST_F(FilterText, ElementsAreJoinedByTheirConjunctionsInListOrder) {
  const CurrentQuery q = {element("PRA:RequestNumber", 3, "5", kNumber, 0, kConstant, "OR"),
                          element("PRA:Request", 8, "care", kText, 0, kConstant, "AND"),
                          element("PRA:DateStarted", 1, "75000", kDate)};
  EXPECT_EQ(assembleQuery(q, Syntax::Standard),
            "PRA:RequestNumber > 5 OR INSTRING('CARE',UPPER(PRA:Request),1,1) AND PRA:DateStarted = 75000");
  EXPECT_EQ(elementText(q[0], Syntax::Standard), " PRA:RequestNumber > 5 OR");
  EXPECT_EQ(assembleQuery({}, Syntax::Standard), "");
  EXPECT_EQ(assembleQuery({}, Syntax::Sql), "");
}

TEST_F(FilterText, SqlTextIsNotUpperCasedWithoutAnUpperFunction) {
  XBQW_SqlUpper.clear();
  EXPECT_EQ(assembleQuery({element("PRA:Request", 8, "care", kText)}, Syntax::Sql), "PRA:Request LIKE '%care%'");
  XBQW_SqlUpper = "UCASE";
  EXPECT_EQ(assembleQuery({element("PRA:Request", 1, "PRA:Comments", kText, 0, kField)}, Syntax::Sql),
            "UCASE(PRA:Request) = UCASE(PRA:Comments)");
}

TEST_F(FilterText, LongQueriesAreRefusedNeverCut) {
  CurrentQuery q;
  for (int i = 0; i < 40; ++i) q.push_back(element("PRA:Request", 1, std::string(30, 'x'), kText, 1, kConstant, "OR"));
  q.back().CONJUNCTION.clear();
  const std::string whole = assembleQuery(q, Syntax::Standard);
  EXPECT_GT(whole.size(), 1024u);
  EXPECT_EQ(whole.substr(whole.size() - 46), "PRA:Request = '" + std::string(30, 'x') + "'") << "the last element whole";
  EXPECT_TRUE(shown.empty());
  EXPECT_FALSE(queryFits(whole));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Query String Too Small");
  EXPECT_TRUE(queryFits(std::string(1024, 'q')));
  EXPECT_FALSE(queryFits(std::string(101, 'q'), 100)) << "a caller's smaller variable";
  EXPECT_FALSE(queryFits(std::string(1025, 'q'), 5000)) << "never more than the wizard's filter";
  EXPECT_EQ(shown.size(), 3u);
}

TEST_F(FilterText, QuotesInsideConstantsAreDoubled) {
  EXPECT_EQ(assembleQuery({element("PRA:Request", 8, "O'Neil", kText)}, Syntax::Standard),
            "INSTRING('O''NEIL',UPPER(PRA:Request),1,1)");
  EXPECT_EQ(assembleQuery({element("PRA:Request", 1, "x' OR 'a'='a", kText, 1)}, Syntax::Sql),
            "PRA:Request = 'x'' OR ''a''=''a'");
  // A number constant that is not a number stays one quoted constant.
  EXPECT_EQ(assembleQuery({element("PRA:RequestNumber", 1, "1 OR 1=1", kNumber)}, Syntax::Standard),
            "PRA:RequestNumber = '1 OR 1=1'");
}

TEST_F(FilterText, QuotedValuesEvaluateAsTheUserMeantThem) {
  std::string request = "Pray for Mr O'Neil";
  vrt::expr::BindingScope scope;
  vrt::expr::bindName("PRA:Request", &request);
  const std::string contains = assembleQuery({element("PRA:Request", 8, "o'neil", kText)}, Syntax::Standard);
  auto parsed = vrt::expr::Expression::parse(contains);
  ASSERT_TRUE(parsed.ok()) << contains;
  EXPECT_TRUE(parsed.expression->isTrue());
  const std::string injected = assembleQuery({element("PRA:Request", 1, "x' OR 'a'='a", kText)}, Syntax::Standard);
  parsed = vrt::expr::Expression::parse(injected);
  ASSERT_TRUE(parsed.ok()) << injected;
  EXPECT_FALSE(parsed.expression->isTrue());
  // Begins with counts characters, not bytes.
  request = "Élan";
  const std::string begins = assembleQuery({element("PRA:Request", 7, "él", kText)}, Syntax::Standard);
  EXPECT_EQ(begins, "UPPER(SUB(PRA:Request,1,2)) = 'ÉL'");
  parsed = vrt::expr::Expression::parse(begins);
  ASSERT_TRUE(parsed.ok());
  EXPECT_TRUE(parsed.expression->isTrue());
}

TEST_F(FilterText, FinishedTextThatDoesNotEvaluateShowsTheInvalidQueryMessage) {
  std::string request = "x";
  vrt::expr::BindingScope scope;
  vrt::expr::bindName("PRA:Request", &request);
  EXPECT_TRUE(checkQueryText("UPPER(PRA:Request) = 'X'"));
  EXPECT_TRUE(shown.empty());
  EXPECT_FALSE(checkQueryText("UPPER(PRA:Request = 'X'"));  // 800
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Invalid Query");
  EXPECT_FALSE(checkQueryText("PRA:Unknown = 1"));  // 801
  EXPECT_EQ(shown.size(), 2u);
  // Other evaluation faults are not the user's query design.
  EXPECT_TRUE(checkQueryText("1 / 0"));
}

TEST_F(FilterText, JoiningWithThePreviousFilter) {
  JoinedQuery j = joinQueries("A = 1  ", "B = 2", 1024, "AND", "First", "<Unsaved Query>", 60);
  EXPECT_TRUE(j.joined);
  EXPECT_EQ(j.filter, "(A = 1) AND (B = 2)");
  EXPECT_EQ(j.description, "(First) AND (<Unsaved Query>)");
  j = joinQueries("A = 1", "B = 2", 1024, "OR", std::string(40, 'd'), std::string(20, 'e'), 60);
  EXPECT_EQ(j.filter, "(A = 1) OR (B = 2)");
  EXPECT_EQ(j.description, "Multiple Queries Active");
  EXPECT_TRUE(shown.empty());
}

TEST_F(FilterText, JoinThatDoesNotFitIsRefusedAndTheNewQueryStands) {
  const JoinedQuery j = joinQueries(std::string(1000, 'p'), std::string(20, 'n'), 1024, "AND", "old", "new", 60);
  EXPECT_FALSE(j.joined);
  EXPECT_EQ(j.filter, std::string(20, 'n'));
  EXPECT_EQ(j.description, "new");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Query String Too Small");
  EXPECT_EQ(shown[0].text, "The resulting query is too large. The new query cannot be combined with the original query.");
  // Exactly fitting is accepted.
  EXPECT_TRUE(joinQueries(std::string(1000, 'p'), std::string(15, 'n'), 1024, "AND", "", "", 60).joined);
}

TEST_F(FilterText, RunTimeParameters) {
  std::string q = "UPPER(PRA:RequestCategory) = RunTimeCategory AND X = RUNTIMECATEGORY";
  XB_QWPARSE("RUNTIMECATEGORY   ", "  Family  ", q);
  EXPECT_EQ(q, "UPPER(PRA:RequestCategory) = '  Family' AND X = RUNTIMECATEGORY") << "the value as given";
  std::string untouched = "A = 1";
  XB_QWPARSE("RUNTIMECATEGORY", "x", untouched);
  EXPECT_EQ(untouched, "A = 1");
  XB_QWPARSE("", "x", untouched);
  EXPECT_EQ(untouched, "A = 1");
  // A quote in the value cannot end the constant.
  std::string quoted = "C = RUNTIMECATEGORY";
  XB_QWPARSE("runtimecategory", "o'neil", quoted);
  EXPECT_EQ(quoted, "C = 'o''neil'");
  // A result too long for the variable leaves the query as it was: never a cut filter.
  std::string small = "C = RUNTIMECATEGORY";
  XB_QWPARSE("runtimecategory", "o'neil", small, 12);
  EXPECT_EQ(small, "C = RUNTIMECATEGORY");
  XB_QWPARSE("runtimecategory", "o'neil", small, 13);
  EXPECT_EQ(small, "C = 'o''neil'");
}

TEST_F(FilterText, BeginsWithAnotherFieldTakesThatFieldsLength) {
  std::string request, category;
  vrt::expr::BindingScope scope;
  vrt::expr::bindName("PRA:Request", &request);
  vrt::expr::bindName("PRA:RequestCategory", &category);
  const auto begins = [&](std::uint8_t op, std::string r, std::string c) {
    request = std::move(r);
    category = std::move(c);
    const std::string text = assembleQuery({element("PRA:Request", op, "PRA:RequestCategory", kText, 0, kField)},
                                           Syntax::Standard);
    auto parsed = vrt::expr::Expression::parse(text);
    EXPECT_TRUE(parsed.ok()) << text;
    return parsed.ok() && parsed.expression->isTrue();
  };
  EXPECT_TRUE(begins(7, "Family reunion in June", "Family"));
  EXPECT_TRUE(begins(7, "FAMILY matters", "family   ")) << "case-blind, trailing blanks of the field ignored";
  EXPECT_FALSE(begins(7, "Pray for my family", "Family"));
  EXPECT_FALSE(begins(7, "Fam", "Family"));
  EXPECT_TRUE(begins(9, "Pray for my family", "Family"));
  EXPECT_FALSE(begins(9, "Family reunion in June", "Family"));
}
