// Filters built in the real query wizard of the prayer-request browse, over the generated
// journal, each checked against a count worked out here from the exported records: what
// the wizard writes must select exactly the requests the user described.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <sstream>

#include "prayer/prayer_fixture.h"
#include "screens/prayer/journal_handover.h"
#include "support/run_vesp_data.h"
#include "windows/procedures.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

// One request as the exported CSV gives it: text without trailing blanks, dates as ISO text.
struct Req {
  int number = 0;
  std::string request, started, answered, days, answer, comments, category;
};

std::vector<std::string> csvFields(const std::string& line) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      out.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The records of a CSV text by the upper-cased column labels.
std::vector<Req> requestsOf(const std::string& csv) {
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  std::map<std::string, std::size_t> at;
  const auto header = csvFields(line);
  for (std::size_t i = 0; i < header.size(); ++i) at[upper(header[i])] = i;
  std::vector<Req> out;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const auto f = csvFields(line);
    const auto get = [&](const char* label) { return f.at(at.at(label)); };
    Req r;
    r.number = std::stoi(get("PRA:REQUESTNUMBER"));
    r.request = get("PRA:REQUEST");
    r.started = get("PRA:DATESTARTED");
    r.answered = get("PRA:DATEANSWERED");
    r.days = get("PRA:NUMBERDAYS");
    r.answer = get("PRA:ANSWER");
    r.comments = get("PRA:COMMENTS");
    r.category = get("PRA:REQUESTCATEGORY");
    out.push_back(r);
  }
  return out;
}

int days(const Req& r) { return r.days.empty() ? 0 : std::stoi(r.days); }
bool has(const std::string& text, const std::string& part) { return upper(text).find(upper(part)) != std::string::npos; }
bool startsWith(const std::string& text, const std::string& part) { return upper(text).rfind(upper(part), 0) == 0; }

enum class Compare { Constant, Field, Expression };

// One condition as the user enters it: the field's description, the operation's row, the
// value typed or chosen, and the word that joins the next condition.
struct Condition {
  std::string field;
  int operation;
  std::string value;
  Compare compare = Compare::Constant;
  std::string join = {};
};

struct Case {
  const char* what;
  std::vector<Condition> conditions;
  std::function<bool(const Req&)> selects;
};

enum Op { Eq = 1, Ne, Gt, Lt, Ge, Le, Begins, Contains, NotBegins, NotContains };

class WizardFiltersTest : public PrayerTest {
 protected:
  void SetUp() override {
    PrayerTest::SetUp();
    // The generated journal beside the categories the program has (left as they are).
    const auto generated = runVespData({"generate", "--prayer-requests", "500", "--services", "0"});
    ASSERT_EQ(generated.status, 0) << generated.err;
    // Requests that open with their own category, and one that only mentions it.
    addRequests({{"Family reunion in June", "Family", kToday - 40, 0},
                 {"Health of the Okafor family", "Health", kToday - 30, 0},
                 {"work trip to Lagos", "Work", kToday - 20, 0},
                 {"Pray for our church", "Church", kToday - 10, 0}});
    openBrowse("BrowsePrayerRequest");
  }

  int rowOf(std::string_view list, std::string_view text) {
    vrt::PagedList* l = robot.control(kWizard, list).list();
    for (int r = 1; r <= l->rowCount(); ++r)
      if (vrt::clip(l->rowAt(r)[0]) == vrt::clip(text)) return r;
    ADD_FAILURE() << "no " << text << " in " << list;
    return 1;
  }

  // Builds the conditions in the browse's wizard, finishes without saving and returns the
  // filter that Print Query hands to its report (which only takes it here).
  std::string build(const std::vector<Condition>& conditions) {
    robot.chooseItem(kRequests, "?SavedQueries", "Custom Query...");
    for (std::size_t i = 0; i < conditions.size(); ++i) {
      const Condition& c = conditions[i];
      if (i > 0) robot.press(kWizard, conditions[i - 1].join == "OR" ? "?OrButton" : "?AndButton");
      robot.chooseRow(kWizard, "?FieldList", rowOf("?FieldList", c.field));
      robot.press(kWizard, "?Next");
      robot.chooseRow(kWizard, "?OperationList", c.operation);
      robot.press(kWizard, "?Next");
      if (c.compare == Compare::Field) {
        robot.chooseRadio(kWizard, "?CompareTo", "&Another Field");
        robot.chooseRow(kWizard, "?ChoiceList", rowOf("?ChoiceList", c.value));
      } else if (c.compare == Compare::Expression) {
        robot.chooseRadio(kWizard, "?CompareTo", "E&xpression");
        robot.type(kWizard, "?Value", c.value);
      } else if (!robot.control(kWizard, "?ChoiceList").hidden()) {
        robot.chooseRow(kWizard, "?ChoiceList", rowOf("?ChoiceList", c.value));
      } else {
        robot.type(kWizard, "?Value", c.value);
      }
      robot.press(kWizard, "?Next");
      EXPECT_EQ(robot.control(kWizard, "?Pages").selected(), 4) << c.field;
    }
    finishWizard();
    EXPECT_EQ(robot.findWindow(kWizard), nullptr);
    std::string handed = "<no report>";
    RegisterProcedure("ReportPrayerRequestQuery", [&handed] { handed = TakeQueryHandover().filter; });
    robot.press(kRequests, "?PrintQuery");
    return handed;
  }
};

TEST_F(WizardFiltersTest, EveryFilterSelectsWhatItsConditionsSay) {
  const auto exported = runVespData({"export", "PrayerRequest"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  const std::vector<Req> all = requestsOf(exported.out);
  ASSERT_EQ(all.size(), 504u);

  const std::vector<Case> cases = {
      {"days as a number", {{"PRA:Number of Days", Gt, "5"}}, [](const Req& r) { return days(r) > 5; }},
      {"days up to a month", {{"PRA:Number of Days", Le, "30"}}, [](const Req& r) { return days(r) <= 30; }},
      {"days of a hundred or more", {{"PRA:Number of Days", Ge, "100"}}, [](const Req& r) { return days(r) >= 100; }},
      {"begins with its category", {{"PRA:Request", Begins, "PRA:Category", Compare::Field}},
       [](const Req& r) { return startsWith(r.request, r.category); }},
      {"does not begin with its category", {{"PRA:Request", NotBegins, "PRA:Category", Compare::Field}},
       [](const Req& r) { return !startsWith(r.request, r.category); }},
      {"category begins with an expression", {{"PRA:Category", Begins, "'Fa' & 'm'", Compare::Expression}},
       [](const Req& r) { return startsWith(r.category, "Fam"); }},
      {"contains", {{"PRA:Request", Contains, "mother"}}, [](const Req& r) { return has(r.request, "mother"); }},
      {"does not contain", {{"PRA:Request", NotContains, "PRAY"}}, [](const Req& r) { return !has(r.request, "pray"); }},
      {"begins with", {{"PRA:Request", Begins, "lift up"}}, [](const Req& r) { return startsWith(r.request, "Lift up"); }},
      {"does not begin with", {{"PRA:Request", NotBegins, "Please"}},
       [](const Req& r) { return !startsWith(r.request, "Please"); }},
      {"category equal", {{"PRA:Category", Eq, "family"}}, [](const Req& r) { return upper(r.category) == "FAMILY"; }},
      {"category not equal", {{"PRA:Category", Ne, "Health"}}, [](const Req& r) { return r.category != "Health"; }},
      {"category before G", {{"PRA:Category", Lt, "G"}}, [](const Req& r) { return upper(r.category) < "G"; }},
      {"answer from the drop list", {{"PRA:Answer", Eq, "Yes"}}, [](const Req& r) { return r.answer == "Yes"; }},
      {"no answer yet", {{"PRA:Answer", Eq, " "}}, [](const Req& r) { return r.answer.empty(); }},
      {"started since 2024", {{"PRA:Date Started", Gt, "01-01-2024"}},
       [](const Req& r) { return r.started > "2024-01-01"; }},
      {"answered before mid 2020 (or not at all)", {{"PRA:Date Answered", Lt, "06-30-2020"}},
       [](const Req& r) { return r.answered < "2020-06-30"; }},
      {"started on or after its answer", {{"PRA:Date Started", Ge, "PRA:Date Answered", Compare::Field}},
       [](const Req& r) { return r.answered.empty() || r.started >= r.answered; }},
      {"the first hundred", {{"PRA:Request Number", Le, "100"}}, [](const Req& r) { return r.number <= 100; }},
      {"number against an expression", {{"PRA:Request Number", Gt, "400 + 50", Compare::Expression}},
       [](const Req& r) { return r.number > 450; }},
      {"comments mention the family", {{"PRA:Comments", Contains, "family"}},
       [](const Req& r) { return has(r.comments, "family"); }},
      {"with comments", {{"PRA:Comments", Ne, ""}}, [](const Req& r) { return !r.comments.empty(); }},
      {"late and at work", {{"PRA:Request Number", Gt, "450", Compare::Constant, "AND"}, {"PRA:Category", Eq, "Work"}},
       [](const Req& r) { return r.number > 450 && r.category == "Work"; }},
      {"long waits answered no", {{"PRA:Number of Days", Gt, "5", Compare::Constant, "AND"}, {"PRA:Answer", Eq, "No"}},
       [](const Req& r) { return days(r) > 5 && r.answer == "No"; }},
      {"AND before OR",
       {{"PRA:Category", Eq, "Family", Compare::Constant, "OR"},
        {"PRA:Category", Eq, "Health", Compare::Constant, "AND"},
        {"PRA:Answer", Eq, "Yes"}},
       [](const Req& r) { return r.category == "Family" || (r.category == "Health" && r.answer == "Yes"); }},
  };
  ASSERT_GE(cases.size(), 20u);
  for (const Case& c : cases) {
    const std::string filter = build(c.conditions);
    const auto queried = runVespData({"query", "PrayerRequest", "--filter", filter});
    ASSERT_EQ(queried.status, 0) << c.what << ": " << filter << "\n" << queried.err;
    const auto selected = requestsOf(queried.out);
    const auto expected = std::count_if(all.begin(), all.end(), c.selects);
    EXPECT_EQ(static_cast<long>(selected.size()), expected) << c.what << ": " << filter;
    EXPECT_TRUE(std::all_of(selected.begin(), selected.end(), c.selects)) << c.what << ": " << filter;
    std::cout << "  " << c.what << ": " << selected.size() << " of " << all.size() << "\n";
  }
}

}  // namespace
