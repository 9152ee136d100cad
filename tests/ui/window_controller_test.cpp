// The window controller's dealings with its components: events offered in registration
// order until one takes them, a reset asked for after an event, shutdown in order.
#include <concepts>

#include "program_fixture.h"
#include "records/levels.h"
#include "records/view_manager.h"
#include "runtime/gui/control.h"
#include "windows/window_controller.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

// The codes of one family do not mix with another's or with plain numbers: a handler that
// hands back a message level, or a request where a response belongs, does not compile.
static_assert(!std::equality_comparable_with<EventResult, Level>);
static_assert(!std::equality_comparable_with<EventResult, Response>);
static_assert(!std::equality_comparable_with<Request, Response>);
static_assert(!std::equality_comparable_with<ReadResult, Level>);
static_assert(!std::equality_comparable_with<Level, int>);
static_assert(!std::is_convertible_v<int, EventResult> && !std::is_convertible_v<EventResult, int>);
static_assert(!std::is_convertible_v<int, Level> && !std::is_convertible_v<Level, int>);
// A level's number is the one a message table stores.
static_assert(levelNumber(Level::Notify) == 5 && levelFromNumber(4) == Level::Cancel);

struct Journal {
  std::vector<std::string> calls;
};

class FakeComponent : public WindowComponent {
 public:
  FakeComponent(std::string name, Journal& journal, int takes) : name_(std::move(name)), journal_(journal), takes_(takes) {}
  void Shutdown() override { note("Shutdown"); }
  void Reset(bool force) override { note(force ? "Reset(force)" : "Reset"); }
  bool ResetRequired() override { return std::exchange(wantsReset, false); }
  void ArmKeys() override { note("ArmKeys"); }
  EventResult TakeEvent() override {
    note("TakeEvent");
    return takes_ ? EventResult::Consumed : EventResult::Continue;
  }
  void SaveControls() override { note("SaveControls"); }
  void RefreshControls() override { note("RefreshControls"); }
  bool wantsReset = false;

 private:
  void note(const std::string& what) { journal_.calls.push_back(name_ + "." + what); }
  std::string name_;
  Journal& journal_;
  int takes_;
};

class ComponentWindow : public WindowController {
 public:
  explicit ComponentWindow(Journal& journal) : a_("a", journal, 0), b_("b", journal, 1), c_("c", journal, 0), journal_(journal) {}
  bool Setup() override {
    static_cast<void>(WindowController::Setup());
    vrt::WindowSpec design = vrt::windowSpec("Components", "Components");
    design.controls = {vrt::button("?Go", "&Go"), vrt::button("?Close", "Close")};
    window_ = std::make_unique<vrt::Window>(std::move(design));
    AddItem(a_);
    AddItem(b_);
    AddItem(c_);
    AddItem(window_->number("?Close"), Response::Cancelled);
    OpenWindow(*window_);
    return true;
  }
  EventResult OnAccepted() override {
    if (CurrentEvent().control == MYWINDOW()->number("?Go")) {
      journal_.calls.clear();
      b_.wantsReset = true;
    }
    return WindowController::OnAccepted();
  }
  ~ComponentWindow() override { WindowController::Shutdown(); }

 private:
  FakeComponent a_, b_, c_;
  Journal& journal_;
  std::unique_ptr<vrt::Window> window_;
};

using WindowControllerTest = ProgramTest;

}  // namespace

TEST_F(WindowControllerTest, ComponentsSeeEventsInOrderAndAskForResets) {
  start();
  Journal journal;
  Response response = Response::None;
  vrt::StartThread([&] { response = ComponentWindow(journal).Execute(); }, 50'000);
  robot.settle();
  EXPECT_EQ(journal.calls.front(), "a.ArmKeys");
  robot.press("Components", "?Go");
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"a.TakeEvent", "b.TakeEvent", "a.Reset", "b.Reset", "c.Reset",
                                                     "a.RefreshControls", "b.RefreshControls", "c.RefreshControls"}));
  journal.calls.clear();
  robot.press("Components", "?Close");
  EXPECT_EQ(response, Response::Cancelled);
  // The Close button is the window's own; the close event it posts is offered to the
  // components (a selecting list acts on it), then they are shut down in order.
  EXPECT_EQ(journal.calls,
            (std::vector<std::string>{"a.TakeEvent", "b.TakeEvent", "a.Shutdown", "b.Shutdown", "c.Shutdown"}));
}
