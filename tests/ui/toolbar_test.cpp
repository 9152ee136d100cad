// The frame toolbar routed to the window the user works in: the real lists and forms as the
// menu opens them, a look-up over a form, two lists open at once; a window with two lists
// on two tabs; and the packed tip list the targets send.
#include <type_traits>

#include "forms_fixture.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"
#include "screens_fixture.h"
#include "windows/toolbar_tips.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

// An action is no plain control number: the one way between them is the toolbar's own range.
static_assert(!std::is_convertible_v<int, vrt::ToolbarAction> && !std::is_convertible_v<vrt::ToolbarAction, int>);
static_assert(vrt::toolbarAction(3009) == vrt::ToolbarAction::Down && vrt::toolbarControl(vrt::ToolbarAction::Help) == 3013);
static_assert(!vrt::toolbarAction(2999) && !vrt::toolbarAction(3020) && vrt::toolbarAction(3019));

using ToolbarTest = ProgramTest;

// A window with two lists on two tabs, each with a toolbar target, as a browse window with
// two browses would have (no screen of the program has one); it sets itself up as a browse
// does, and notes every event its window takes.
class TwoListWindow : public WindowController {
 public:
  explicit TwoListWindow(std::vector<vrt::Event>& seen) : seen_(seen) {}

  bool Setup() override {
    static_cast<void>(WindowController::Setup());
    vrt::WindowSpec design = vrt::windowSpec("Two Lists", "TwoLists", vrt::WindowKind::Child);
    design.controls = {
        vrt::sheet("?Sheet", {vrt::tab("&First", {vrt::list("?List:1", {{"One", 10}}, 4)}),
                              vrt::tab("&Second", {vrt::list("?List:2", {{"Two", 10}}, 4)})}),
        vrt::row({vrt::button("?Insert", "&Insert"), vrt::button("?Change", "&Change").makeDisabled(),
                  vrt::button("?Select", "&Select"),
                  vrt::button("?Close", "Close")}),
    };
    window_ = std::make_unique<vrt::Window>(std::move(design));
    UseWindow(window_.get());
    AddItem(MYWINDOW()->number("?Close"), Response::Cancelled);
    AddItem(toolbar_);
    for (int i = 0; i < 2; ++i) {
      targets_[i].CONTROL = MYWINDOW()->number(i == 0 ? "?List:1" : "?List:2");
      targets_[i].INSERTBUTTON = MYWINDOW()->number("?Insert");
      targets_[i].CHANGEBUTTON = MYWINDOW()->number("?Change");
      targets_[i].SELECTBUTTON = MYWINDOW()->number("?Select");
      targets_[i].WINDOW = this;
      toolbar_.AddTarget(targets_[i], targets_[i].CONTROL);
    }
    OpenWindow(*MYWINDOW());
    return true;
  }
  EventResult OnEvent() override {
    seen_.push_back(CurrentEvent());
    return WindowController::OnEvent();
  }
  void Shutdown() override {
    WindowController::Shutdown();
    UseWindow(nullptr);
    window_.reset();
  }
  ~TwoListWindow() override { TwoListWindow::Shutdown(); }

 private:
  std::vector<vrt::Event>& seen_;
  std::unique_ptr<vrt::Window> window_;
  Toolbar toolbar_;
  BrowseToolbarTarget targets_[2];
};

vrt::Control& frameButton(int number) { return *vrt::FrameHost::frame()->control(number); }
vrt::Control& frameButton(vrt::ToolbarAction action) { return frameButton(vrt::toolbarControl(action)); }

bool saw(const std::vector<vrt::Event>& seen, int event, int control) {
  for (const vrt::Event& e : seen)
    if (e.event == event && e.control == control) return true;
  return false;
}

}  // namespace

TEST(ToolbarTips, ArePackedAsCountButtonLengthAndText) {
  const std::string packed = PackTips({{vrt::ToolbarAction::Down, "ab"}, {vrt::ToolbarAction::Insert, ""}});
  EXPECT_EQ(packed, std::string("\x02\xC1\x0B\x02" "ab" "\xB9\x0B\x00", 9));
  EXPECT_EQ(UnpackTips(packed), (std::vector<ToolbarTip>{{vrt::ToolbarAction::Down, "ab"}, {vrt::ToolbarAction::Insert, ""}}));
  // A list cut short keeps its whole entries only.
  EXPECT_EQ(UnpackTips(packed.substr(0, 5)), (std::vector<ToolbarTip>{}));
  EXPECT_EQ(UnpackTips(packed.substr(0, 6)), (std::vector<ToolbarTip>{{vrt::ToolbarAction::Down, "ab"}}));
  // A tip longer than a length byte holds is cut, never split inside a character.
  const std::string tip = std::string(254, 'x') + "\xC3\xA9";
  EXPECT_EQ(UnpackTips(PackTips({{vrt::ToolbarAction::Down, tip}}))[0].text, std::string(254, 'x'));
}

TEST_F(ToolbarTest, TheFrameToolbarDrivesTheVisibleList) {
  start();
  std::vector<vrt::Event> seen;
  Response response = Response::None;
  vrt::StartThread([&seen, &response] { response = TwoListWindow(seen).Execute(); }, 50'000);
  robot.settle();
  vrt::Window& w = robot.window("Two Lists");
  const int first = w.number("?List:1"), second = w.number("?List:2");
  // Buttons as the list's window has them; tips of a list.
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::History).disabled());
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::Insert).disabled());
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Change).disabled());  // the window's Change is disabled
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Delete).disabled());  // and it has no Delete
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::Select).disabled());
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Locate).disabled());  // no locate button
  for (int b : toolbarButtons(vrt::ToolbarAction::Bottom, vrt::ToolbarAction::Up)) EXPECT_FALSE(frameButton(b).disabled()) << b;
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Insert).tip(), "Insert a new Record");
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Go to the Next Record");

  robot.pressToolbar(vrt::ToolbarAction::Down);
  robot.pressToolbar(vrt::ToolbarAction::Bottom);
  EXPECT_TRUE(saw(seen, vrt::kEventScrollDown, first));
  EXPECT_TRUE(saw(seen, vrt::kEventScrollBottom, first));
  robot.pressToolbar(vrt::ToolbarAction::Insert);
  EXPECT_TRUE(saw(seen, vrt::kEventAccepted, w.number("?Insert")));
  // The other tab's list takes the toolbar once it is shown.
  robot.chooseTab("Two Lists", "?Sheet", "&Second");
  robot.pressToolbar(vrt::ToolbarAction::PageUp);
  EXPECT_TRUE(saw(seen, vrt::kEventPageUp, second));
  EXPECT_FALSE(saw(seen, vrt::kEventPageUp, first));
  // Select completes the window.
  robot.pressToolbar(vrt::ToolbarAction::Select);
  EXPECT_EQ(robot.findWindow("Two Lists"), nullptr);
  EXPECT_EQ(response, Response::Completed);
}

// ---------------------------------------------------------------- the real screens

namespace {

constexpr const char* kPerformers = "Browse the Performers File";
constexpr const char* kBlessings = "Browse the Blessings File";
constexpr const char* kAdding = "Adding a Performers Record";
constexpr const char* kChanging = "Changing a Performers Record";
constexpr const char* kRoles = "Browse the Role File";

class RealToolbarTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    // Two and a half pages of people, P01 to P25 by last name.
    for (int i = 1; i <= 25; ++i)
      add(tables::Performers, [i](vrt::RecordRef r) {
        r.set(PER_LASTNAME, (i < 10 ? "P0" : "P") + std::to_string(i));
        r.set(PER_FIRSTNAME, "Pat");
      });
    for (const char* role : {"Pastor", "Usher"}) add(tables::Role, [role](vrt::RecordRef r) { r.set(ROL_ROLE, role); });
  }
  std::string highlighted(const char* window) {
    vrt::PagedList* list = robot.control(window, "?Browse:1").list();
    return list->selectedRow() > 0 ? list->cellText(list->selectedRow(), 1) : "<none>";
  }
  static bool enabled(vrt::ToolbarAction button) { return !frameButton(button).disabled(); }
};

}  // namespace

TEST_F(RealToolbarTest, AListOpenedFromTheMenuIsDrivenAtOnce) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  ASSERT_EQ(highlighted(kPerformers), "P01");
  // Its states and tips before anything else happened in it.
  EXPECT_TRUE(enabled(vrt::ToolbarAction::Insert) && enabled(vrt::ToolbarAction::Change) && enabled(vrt::ToolbarAction::Delete));
  EXPECT_FALSE(enabled(vrt::ToolbarAction::Select));  // not a look-up
  EXPECT_FALSE(enabled(vrt::ToolbarAction::History));
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Insert).tip(), "Insert a new Record");
  robot.pressToolbar(vrt::ToolbarAction::PageDown);
  EXPECT_EQ(highlighted(kPerformers), "P11");
  robot.pressToolbar(vrt::ToolbarAction::Down);
  EXPECT_EQ(highlighted(kPerformers), "P12");
  robot.pressToolbar(vrt::ToolbarAction::Top);
  EXPECT_EQ(highlighted(kPerformers), "P01");
  robot.pressToolbar(vrt::ToolbarAction::Bottom);
  EXPECT_EQ(highlighted(kPerformers), "P25");

  robot.pressToolbar(vrt::ToolbarAction::Insert);
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  // An insert form's buttons: save and add another, nothing to move to.
  EXPECT_TRUE(enabled(vrt::ToolbarAction::Down) && enabled(vrt::ToolbarAction::Insert));
  EXPECT_FALSE(enabled(vrt::ToolbarAction::PageDown) || enabled(vrt::ToolbarAction::Change));
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Save record and add another");
  robot.press(kAdding, "?Cancel");
  ASSERT_EQ(robot.findWindow(kAdding), nullptr);
  EXPECT_TRUE(enabled(vrt::ToolbarAction::PageDown) && enabled(vrt::ToolbarAction::Change)) << "the list's own again";
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Go to the Next Record");

  robot.pressToolbar(vrt::ToolbarAction::Change);
  ASSERT_NE(robot.findWindow(kChanging), nullptr);
  EXPECT_EQ(text(kChanging, "?PER:LASTNAME"), "P25");
  robot.press(kChanging, "?Cancel");
  robot.pressToolbar(vrt::ToolbarAction::Delete);
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Yes");
  EXPECT_EQ(highlighted(kPerformers), "P24");
  EXPECT_EQ(records(tables::Performers), 24);
}

TEST_F(RealToolbarTest, TwoListsOpenTheToolbarFollowsTheActiveOneAndShowsItsStates) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.pressToolbar("Blessings");  // an empty list
  ASSERT_NE(robot.findWindow(kBlessings), nullptr);
  EXPECT_TRUE(enabled(vrt::ToolbarAction::Insert));
  EXPECT_FALSE(enabled(vrt::ToolbarAction::Change) || enabled(vrt::ToolbarAction::Delete)) << "nothing to change in Blessings";
  robot.activate(kPerformers);
  EXPECT_TRUE(enabled(vrt::ToolbarAction::Change) && enabled(vrt::ToolbarAction::Delete));
  robot.pressToolbar(vrt::ToolbarAction::Down);
  EXPECT_EQ(highlighted(kPerformers), "P02");
  robot.activate(kBlessings);
  EXPECT_FALSE(enabled(vrt::ToolbarAction::Change));
  robot.pressToolbar(vrt::ToolbarAction::Down);
  EXPECT_EQ(highlighted(kPerformers), "P02") << "the other list stays where it was";
  robot.pressToolbar(vrt::ToolbarAction::Insert);
  EXPECT_NE(robot.findWindow("Record Will Be Added"), nullptr);
  EXPECT_EQ(robot.findWindow(kAdding), nullptr);
}

TEST_F(RealToolbarTest, ALookupOverAFormTakesTheToolbarAndGivesItBack) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.press(kPerformers, "?Change");
  ASSERT_NE(robot.findWindow(kChanging), nullptr);
  // A change form's buttons: save and move; no changing or selecting within a form.
  EXPECT_TRUE(enabled(vrt::ToolbarAction::Down) && enabled(vrt::ToolbarAction::Top) && enabled(vrt::ToolbarAction::Insert));
  EXPECT_FALSE(enabled(vrt::ToolbarAction::Change) || enabled(vrt::ToolbarAction::Select));
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Save changes and go to next record");
  robot.type(kChanging, "?PER:ROLE", "Drummer");  // not a role: the roles open to choose from
  ASSERT_NE(robot.findWindow(kRoles), nullptr);
  ASSERT_EQ(highlighted(kRoles), "Pastor");
  EXPECT_TRUE(enabled(vrt::ToolbarAction::Select));
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Go to the Next Record");
  robot.pressToolbar(vrt::ToolbarAction::Down);
  EXPECT_EQ(highlighted(kRoles), "Usher");
  robot.pressToolbar(vrt::ToolbarAction::Select);
  ASSERT_EQ(robot.findWindow(kRoles), nullptr);
  EXPECT_EQ(text(kChanging, "?PER:ROLE"), "Usher");
  EXPECT_FALSE(enabled(vrt::ToolbarAction::Select)) << "the form's own states again";
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Save changes and go to next record");
  // Down in the form saves and moves the form on to the next person.
  robot.pressToolbar(vrt::ToolbarAction::Down);
  ASSERT_NE(robot.findWindow(kChanging), nullptr);
  EXPECT_EQ(text(kChanging, "?PER:LASTNAME"), "P02");
  robot.press(kChanging, "?Cancel");
  EXPECT_EQ(highlighted(kPerformers), "P02");
}
