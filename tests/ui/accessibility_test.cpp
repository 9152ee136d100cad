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

using AccessibilityTest = FormsTest;

}  // namespace

TEST_F(AccessibilityTest, TheFramesIconButtonsAreNamedByTheirTips) {
  const auto nodes = tree(*vrt::FrameHost::frame());
  for (const vrt::NavigationButton& b : vrt::kNavigationButtons)
    EXPECT_TRUE(has(nodes, QAccessible::Button, b.tip)) << b.tip;
  EXPECT_TRUE(has(nodes, QAccessible::Button, "Prayer Requests"));
}

TEST_F(AccessibilityTest, AFormsControlsAreNamedByTheirPromptsAndCaptions) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  robot.type(kFileForm, "?LOC:RoleNumber", "2");
  const auto nodes = tree(robot.window(kFileForm));
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Type"), "Song");
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Description"), "Opening hymn");
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Role number"), "2");
  EXPECT_EQ(valueOf(nodes, QAccessible::EditableText, "Role number text"), "Usher");
  for (const char* b : {"OK", "Cancel", "Help", "Look up Type", "Look up Role number"})
    EXPECT_TRUE(has(nodes, QAccessible::Button, b)) << b;
  EXPECT_TRUE(has(nodes, QAccessible::PageTab, "General"));
  // The child list is a table with its column heading.
  robot.chooseTab(kFileForm, "?CurrentTab", "&Children");
  const auto children = tree(robot.window(kFileForm));
  bool table = false;
  for (const Node& n : children) table = table || n.role == QAccessible::Table;
  EXPECT_TRUE(table);
  EXPECT_TRUE(has(children, QAccessible::ColumnHeader, "Child"));
  // A message box by its title and text.
  robot.chooseTab(kFileForm, "?CurrentTab", "&General");
  robot.type(kFileForm, "?ASF:Description", "Changed");
  robot.press(kFileForm, "?Cancel");
  const auto box = tree(*robot.messageBox());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(robot.messageBox()->widget())->text(QAccessible::Name).toStdString(),
            "Save Record");
  bool text = false;
  for (const Node& n : box) text = text || n.name.find("Do you want to save the changes") != std::string::npos;
  EXPECT_TRUE(text);
  robot.pressMessageButton("No");
}

TEST_F(AccessibilityTest, APromptsLetterMovesTheFocusToItsEntry) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  vrt::Window& w = robot.window(kFileForm);
  auto* label = qobject_cast<QLabel*>(w.controls()[2]->widget());  // sheet, tab, then "&Type:"
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->buddy(), w.control("?ASF:Type")->widget());
  // Tab order follows the declaration.
  EXPECT_EQ(w.control("?ASF:Type")->widget()->nextInFocusChain(), w.control("?CALLLOOKUP")->widget());
}
