// What assistive technology is told: every control of the frame and of a form exposes its
// role and a name, found by walking the accessibility tree as a screen reader would.
#include <QAccessible>
#include <QLabel>
#include <QWidget>

#include <set>

#include "forms_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/navigation_buttons.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

struct Node {
  QAccessible::Role role;
  std::string name;
  std::string value;
};

void walk(QAccessibleInterface* node, std::vector<Node>& out, int depth = 0) {
  if (!node || depth > 40) return;
  out.push_back({node->role(), node->text(QAccessible::Name).toStdString(), node->text(QAccessible::Value).toStdString()});
  for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), out, depth + 1);
}

std::vector<Node> tree(vrt::Window& window) {
  std::vector<Node> out;
  walk(QAccessible::queryAccessibleInterface(window.widget()), out);
  return out;
}

bool has(const std::vector<Node>& nodes, QAccessible::Role role, const std::string& name) {
  for (const Node& n : nodes)
    if (n.role == role && n.name == name) return true;
  return false;
}

std::string valueOf(const std::vector<Node>& nodes, QAccessible::Role role, const std::string& name) {
  for (const Node& n : nodes)
    if (n.role == role && n.name == name) return n.value;
  return "<none>";
}

class AccessibilityTest : public FormsTest {
 protected:
  // The series "Advent" in its form, opened from its browse on the frame's menu.
  void changeSeries() {
    onThread([] {
      for (const char* t : {"Grace", "Hope"}) addRecord(tables::Topic, [t](vrt::RecordRef r) { r.set(TOP_TOPIC, t); });
    });
    changeAdventSeries();
  }
};

}  // namespace

TEST_F(AccessibilityTest, TheFramesIconButtonsAreNamedByTheirTips) {
  const auto nodes = tree(*vrt::FrameHost::frame());
  for (const vrt::NavigationButton& b : vrt::kNavigationButtons)
    EXPECT_TRUE(has(nodes, QAccessible::Button, b.tip)) << b.tip;
  EXPECT_TRUE(has(nodes, QAccessible::Button, "Prayer Requests"));
}

TEST_F(AccessibilityTest, AFormsControlsAreNamedByTheirPromptsAndCaptions) {
  changeSeries();
  robot.type(kSeriesForm, "?SSE:TOPIC", "2");
  const auto nodes = tree(robot.window(kSeriesForm));
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Name"), "Advent");
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Description"), "Opening hymn");
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Topic"), "2");
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Topic text"), "Hope");
  for (const char* b : {"OK", "Cancel", "Help", "Look up Topic"})
    EXPECT_TRUE(has(nodes, QAccessible::Button, b)) << b;
  EXPECT_TRUE(has(nodes, QAccessible::PageTab, "General"));
  // The child list is a table with its column heading.
  robot.chooseTab(kSeriesForm, "?CurrentTab", "Publicity");
  const auto children = tree(robot.window(kSeriesForm));
  bool table = false;
  for (const Node& n : children) table = table || n.role == QAccessible::Table;
  EXPECT_TRUE(table);
  EXPECT_TRUE(has(children, QAccessible::ColumnHeader, "Description"));
  // A message box by its title and text.
  robot.chooseTab(kSeriesForm, "?CurrentTab", "General");
  robot.type(kSeriesForm, "?SSE:DESCRIPTION", "Changed");
  robot.press(kSeriesForm, "?Cancel");
  const auto box = tree(*robot.messageBox());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(robot.messageBox()->widget())->text(QAccessible::Name).toStdString(),
            "Save Record");
  bool text = false;
  for (const Node& n : box) text = text || n.name.find("Do you want to save the changes") != std::string::npos;
  EXPECT_TRUE(text);
  robot.pressMessageButton("No");
}

TEST_F(AccessibilityTest, APromptLeadsToItsEntryAndTheTabOrderFollowsTheDeclaration) {
  changeSeries();
  vrt::Window& w = robot.window(kSeriesForm);
  auto* label = qobject_cast<QLabel*>(w.controls()[2]->widget());  // sheet, tab, then "Name:"
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Name:");
  EXPECT_EQ(label->buddy(), w.control("?SSE:NAME")->widget());
  // Tab order follows the declaration.
  EXPECT_EQ(w.control("?SSE:TOPIC")->widget()->nextInFocusChain(), w.control("?CALLLOOKUP")->widget());
}
