// Texts are never cut behind the user's back: every form's entry takes exactly what its
// field holds, and a stored text comes back whole from a save that did not change it.
#include <QLineEdit>
#include <gtest/gtest.h>

#include "dictionary/dictionary.h"
#include "screens_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace TOP = dict::idx::TOP;

// How many bytes a text field holds.
int capacityOf(const vrt::FieldDesc& f) { return static_cast<int>(f.type == vrt::FieldType::CString ? f.size - 1 : f.size); }

class FieldSizesTest : public ScreensTest {};

struct FormOfTable {
  const char* procedure;
  const dict::TableDecl* table;
};

}  // namespace

TEST_F(FieldSizesTest, EveryFormsTextEntryStopsWhereItsFieldEnds) {
  const FormOfTable forms[] = {
      {"UpdateService", &tables::Service},
      {"UpdateServiceElement", &tables::ServiceElement},
      {"UpdateSermonSeries", &tables::SermonSeries},
      {"UpdateBibliography", &tables::Bibliography},
      {"UpdatePerformers", &tables::Performers},
      {"UpdatePerformerGroupHeader", &tables::PerformerGroupHeader},
      {"UpdatePerformerGroupDetail", &tables::PerformerGroupDetail},
      {"UpdateAssociatedFiles", &tables::AssociatedFiles},
      {"UpdateBibleRef", &tables::BibleRef},
      {"UpdateKeyWords", &tables::KeyWords},
      {"UpdateStatistics", &tables::Statistics},
      {"UpdateSeriesPublicity", &tables::SeriesPublicity},
      {"UpdateTopic", &tables::Topic},
      {"UpdateRole", &tables::Role},
      {"UpdateElementType", &tables::ElementType},
      {"UpdatePublicity", &tables::Publicity},
      {"UpdatePrayerRequest", &tables::PrayerRequest},
  };
  for (const FormOfTable& form : forms) {
    SCOPED_TRACE(form.procedure);
    call(form.procedure, *form.table, Request::Insert);
    vrt::Window* window = robot.findWindow(form.procedure);
    ASSERT_NE(window, nullptr);
    int checked = 0;
    for (const auto& control : window->controls()) {
      auto* line = qobject_cast<QLineEdit*>(control->widget());
      const std::string& use = control->use();
      if (!line || line->isReadOnly() || use.size() < 2 || use[0] != '?') continue;
      const auto field = dict::findField(use.substr(1));
      if (!field || (field->desc().type != vrt::FieldType::String && field->desc().type != vrt::FieldType::CString))
        continue;
      EXPECT_EQ(line->maxLength(), capacityOf(field->desc())) << use;
      ++checked;
    }
    EXPECT_GT(checked, 0);
    robot.press(form.procedure, "?Cancel");
    while (robot.messageBox()) robot.pressMessageButton("No");
    ASSERT_EQ(robot.findWindow(form.procedure), nullptr);
  }
}

TEST_F(FieldSizesTest, ATopicsThousandCharacterSynonymsSurviveASaveThatChangedOnlyTheTopic) {
  std::string synonyms;
  for (int i = 0; synonyms.size() < 1000; ++i) synonyms += "word" + std::to_string(i) + " ";
  synonyms.resize(996);
  synonyms += " end";
  const std::int64_t topic = add(tables::Topic, [&](vrt::RecordRef r) {
    r.set(TOP_TOPIC, "Hope");
    r.set(TOP_SYNONYMS, synonyms);
  });
  call("UpdateTopic", tables::Topic, Request::Change, topic);
  constexpr const char* kChange = "Changing a Topic Record";
  ASSERT_NE(robot.findWindow(kChange), nullptr);
  EXPECT_EQ(text(kChange, "?TOP:Synonyms"), synonyms);
  robot.type(kChange, "?TOP:Topic", "Hope and trust");
  robot.press(kChange, "?OK");
  EXPECT_EQ(robot.findWindow(kChange), nullptr);
  EXPECT_EQ(stored(tables::Topic, topic, TOP::TOPIC), "Hope and trust");
  EXPECT_EQ(stored(tables::Topic, topic, TOP::SYNONYMS), synonyms);
}

TEST_F(FieldSizesTest, TypingPastAFieldStopsWhereTheUserSeesIt) {
  call("UpdateTopic", tables::Topic, Request::Insert);
  constexpr const char* kAdd = "Adding a Topic Record";
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  robot.type(kAdd, "?TOP:Topic", std::string(120, 'h'));
  EXPECT_EQ(text(kAdd, "?TOP:Topic"), std::string(100, 'h'));
  robot.type(kAdd, "?TOP:Synonyms", std::string(1200, 's'));
  EXPECT_EQ(text(kAdd, "?TOP:Synonyms"), std::string(1000, 's'));
  robot.press(kAdd, "?OK");
  EXPECT_EQ(robot.findWindow(kAdd), nullptr);
  EXPECT_EQ(stored(tables::Topic, 1, TOP::SYNONYMS), std::string(1000, 's'));
}
