// The frame toolbar routed to lists: scroll events, the window's own buttons, Select, and
// the target following the visible list. And the packed tip list the targets send.
#include "forms_fixture.h"
#include "runtime/gui/window.h"
#include "windows/toolbar_tips.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

using ToolbarTest = ProgramTest;

// A window with two lists on two tabs, each with a toolbar target, as a browse window with
// two browses would have; it notes every event its window takes.
class TwoListWindow : public WindowController {
 public:
  explicit TwoListWindow(std::vector<vrt::Event>& seen) : seen_(seen) {}

  int Setup() override {
    WindowController::Setup();
    vrt::WindowSpec design = vrt::windowSpec("Two Lists", "TwoLists", vrt::WindowKind::Child);
    design.controls = {
        vrt::sheet("?Sheet", {vrt::tab("&First", {vrt::list("?List:1", {{"One", 10}}, 4)}),
                              vrt::tab("&Second", {vrt::list("?List:2", {{"Two", 10}}, 4)})}),
        vrt::row({vrt::button("?Insert", "&Insert"), vrt::button("?Change", "&Change").makeDisabled(),
                  vrt::button("?Select", "&Select"),
                  vrt::button("?Close", "Close")}),
    };
    window_ = std::make_unique<vrt::Window>(std::move(design));
    MYWINDOW = window_.get();
    AddItem(MYWINDOW->number("?Close"), Response::Cancelled);
    AddItem(toolbar_);
    for (int i = 0; i < 2; ++i) {
      targets_[i].CONTROL = MYWINDOW->number(i == 0 ? "?List:1" : "?List:2");
      targets_[i].INSERTBUTTON = MYWINDOW->number("?Insert");
      targets_[i].CHANGEBUTTON = MYWINDOW->number("?Change");
      targets_[i].SELECTBUTTON = MYWINDOW->number("?Select");
      targets_[i].WINDOW = this;
      toolbar_.AddTarget(targets_[i], targets_[i].CONTROL);
    }
    OpenWindow(*MYWINDOW);
    toolbar_.SetTarget(0);
    toolbar_.DisplayButtons();
    return 0;
  }
  int OnEvent() override {
    seen_.push_back(CurrentEvent());
    return WindowController::OnEvent();
  }
  void Shutdown() override {
    WindowController::Shutdown();
    MYWINDOW = nullptr;
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

bool saw(const std::vector<vrt::Event>& seen, int event, int control) {
  for (const vrt::Event& e : seen)
    if (e.event == event && e.control == control) return true;
  return false;
}

}  // namespace

TEST(ToolbarTips, ArePackedAsCountButtonLengthAndText) {
  const std::string packed = PackTips({{vrt::kToolbarDown, "ab"}, {vrt::kToolbarInsert, ""}});
  EXPECT_EQ(packed, std::string("\x02\xC1\x0B\x02" "ab" "\xB9\x0B\x00", 9));
  EXPECT_EQ(UnpackTips(packed), (std::vector<ToolbarTip>{{vrt::kToolbarDown, "ab"}, {vrt::kToolbarInsert, ""}}));
  // A list cut short keeps its whole entries only.
  EXPECT_EQ(UnpackTips(packed.substr(0, 5)), (std::vector<ToolbarTip>{}));
  EXPECT_EQ(UnpackTips(packed.substr(0, 6)), (std::vector<ToolbarTip>{{vrt::kToolbarDown, "ab"}}));
  // A tip longer than a length byte holds is cut, never split inside a character.
  const std::string tip = std::string(254, 'x') + "\xC3\xA9";
  EXPECT_EQ(UnpackTips(PackTips({{1, tip}}))[0].text, std::string(254, 'x'));
}

TEST_F(ToolbarTest, TheFrameToolbarDrivesTheVisibleList) {
  start();
  std::vector<vrt::Event> seen;
  int response = 0;
  vrt::StartThread([&seen, &response] { response = TwoListWindow(seen).Execute(); }, 50'000);
  robot.settle();
  vrt::Window& w = robot.window("Two Lists");
  const int first = w.number("?List:1"), second = w.number("?List:2");
  // Buttons as the list's window has them; tips of a list.
  EXPECT_TRUE(frameButton(vrt::kToolbarHistory).disabled());
  EXPECT_FALSE(frameButton(vrt::kToolbarInsert).disabled());
  EXPECT_TRUE(frameButton(vrt::kToolbarChange).disabled());  // the window's Change is disabled
  EXPECT_TRUE(frameButton(vrt::kToolbarDelete).disabled());  // and it has no Delete
  EXPECT_FALSE(frameButton(vrt::kToolbarSelect).disabled());
  EXPECT_TRUE(frameButton(vrt::kToolbarLocate).disabled());  // no locate button
  for (int b = vrt::kToolbarBottom; b <= vrt::kToolbarUp; ++b) EXPECT_FALSE(frameButton(b).disabled()) << b;
  EXPECT_EQ(frameButton(vrt::kToolbarInsert).tip(), "Insert a new Record");
  EXPECT_EQ(frameButton(vrt::kToolbarDown).tip(), "Go to the Next Record");

  robot.pressToolbar(vrt::kToolbarDown);
  robot.pressToolbar(vrt::kToolbarBottom);
  EXPECT_TRUE(saw(seen, vrt::kEventScrollDown, first));
  EXPECT_TRUE(saw(seen, vrt::kEventScrollBottom, first));
  robot.pressToolbar(vrt::kToolbarInsert);
  EXPECT_TRUE(saw(seen, vrt::kEventAccepted, w.number("?Insert")));
  // The other tab's list takes the toolbar once it is shown.
  robot.chooseTab("Two Lists", "?Sheet", "&Second");
  robot.pressToolbar(vrt::kToolbarPageUp);
  EXPECT_TRUE(saw(seen, vrt::kEventPageUp, second));
  EXPECT_FALSE(saw(seen, vrt::kEventPageUp, first));
  // Select completes the window.
  robot.pressToolbar(vrt::kToolbarSelect);
  EXPECT_EQ(robot.findWindow("Two Lists"), nullptr);
  EXPECT_EQ(response, Response::Completed);
}
