// Two prayer-request browses, each on its own thread, each with its own query.
#include <QComboBox>
#include <gtest/gtest.h>

#include "prayer_fixture.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

using Texts = std::vector<std::string>;

class TwoBrowsesTest : public PrayerTest {};

std::vector<Window*> windowsNamed(std::string_view name) {
  std::vector<Window*> out;
  for (Window* w : Window::openWindows())
    if (w->caption() == name || w->procedure() == name) out.push_back(w);
  return out;
}

TEST_F(TwoBrowsesTest, EachBrowseRunsItsOwnWizardAndKeepsItsOwnFilter) {
  addRequests({{"Healing for Ann", "Healing", kToday - 30, 0},
               {"Care for Dad", "Healing", kToday - 5, 0},
               {"Jobs for the Smiths", "Family", kToday - 10, 0}});
  openBrowse("BrowsePrayerRequest");
  openBrowse("BrowsePrayerRequest");
  const auto browses = windowsNamed(kRequests);
  ASSERT_EQ(browses.size(), 2u);
  Window& first = *browses[0];
  Window& second = *browses[1];
  ASSERT_NE(first.thread(), second.thread());

  // The first browse's wizard stays open while the second browse starts its own.
  robot.activate(kRequests);  // the newest: the second
  robot.chooseItem(kRequests, "?SavedQueries", "Custom Query...");
  Window* secondWizard = robot.findWindow(kWizard);
  ASSERT_NE(secondWizard, nullptr);
  EXPECT_EQ(secondWizard->thread(), second.thread());
  // The first browse still takes input: choose there too.
  auto* combo = qobject_cast<QComboBox*>(first.control("?SavedQueries")->widget());
  ASSERT_NE(combo, nullptr);
  ASSERT_TRUE(first.takesInput());
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  robot.settle();
  const auto wizards = windowsNamed(kWizard);
  ASSERT_EQ(wizards.size(), 2u) << "both wizards are open at once";
  EXPECT_EQ(wizards[1]->thread(), first.thread());

  // The newest (the first browse's) is finished with "jobs" and not saved: it answers -1,
  // while the second's, cancelled, answers 0; each browse acts on its own answer.
  addElement("PRA:Request", kContains, "jobs");
  finishWizard();
  ASSERT_EQ(windowsNamed(kWizard).size(), 1u);
  // The second browse's is cancelled: it answers 0.
  robot.press(kWizard, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("Yes");
  ASSERT_EQ(windowsNamed(kWizard).size(), 0u);

  auto rows = [](Window& w) {
    Texts out;
    PagedList* l = w.control("?Browse:1")->list();
    for (int r = 1; r <= l->rowCount(); ++r) out.emplace_back(clip(l->rowAt(r).at(1)));
    return out;
  };
  EXPECT_EQ(rows(first), (Texts{"Jobs for the Smiths"}));
  EXPECT_EQ(first.control("?SavedQueries")->selected(), 2);
  EXPECT_EQ(rows(second), (Texts{"Healing for Ann", "Jobs for the Smiths", "Care for Dad"}));
  EXPECT_EQ(second.control("?SavedQueries")->selected(), 1);
}

}  // namespace
