#include "shell/main_frame.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <utility>

#include "records/error_manager.h"
#include "runtime/gui/events.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/navigation_buttons.h"
#include "runtime/gui/printer_setup.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/help/help_window.h"
#include "shell/browse_menu.h"
#include "shell/data_location.h"
#include "shell/data_safety.h"
#include "shell/welcome.h"
#include "windows/thread_globals.h"
#include "windows/accessible_names.h"
#include "windows/calendar_key.h"
#include "windows/exit_requests.h"
#include "windows/toolbar.h"
#include "windows/window_controller.h"

namespace vesp {

namespace {

using namespace vrt;

// The toolbar's text buttons and the browses they start.
struct JournalButton {
  const char* use;
  const char* text;
  const char* procedure;
  const char* tip;  // nullptr: none
};
constexpr JournalButton kJournalButtons[] = {
    {"?PrayerRequests", "Prayer Requests", "BrowsePrayerRequest", nullptr},
    {"?Blessings", "Blessings", "BrowseBlessings", nullptr},
    {"?Praises", "Praises", "BrowsePraises", nullptr},
    {"?Journal", "Journal", "BrowseJournal", "Browse the journal entries"},
};

constexpr int kLocationZoneWidth = 320;

}  // namespace

WindowSpec MainFrameSpec() {
  WindowSpec design = windowSpec(kFrameCaption, "Main", WindowKind::Frame);
  design.iconName = "vsp.ico";
  design.fontName = "MS Sans Serif";
  design.fontSize = 8;
  std::vector<ControlSpec> browses;
  for (const BrowseEntry& b : browseEntries()) browses.push_back(menuItem(b.use, b.menuText).help(b.helpText));
  std::vector<ControlSpec> lists;
  for (const BrowseEntry& b : listEntries()) lists.push_back(menuItem(b.use, b.menuText).help(b.helpText));
  browses.push_back(separator());
  browses.push_back(menu("&Lists", std::move(lists)).help("Edit the pick lists that forms choose from"));
  design.menus = {
      menu("&File", {menuItem("?PrintSetup", "&Print Setup ...").help("Setup printer"),
                     separator(),
                     menuItem("?BackUpData", "&Back Up Data Now...").help("Make a backup set of all your data now"),
                     menuItem("?RestoreData", "&Restore Data...").help("Put a backup set back in place of your data"),
                     menuItem("?DataLocation", "&Data Location...")
                         .help("Choose where your data lives: the files in this folder or a server"),
                     separator(),
                     menuItem("?Exit", "E&xit").help("Exit this application").action(StdAction::CloseWindow)}),
      menu("&Edit", {menuItem("?Cut", "Cu&t").help("Remove item to Windows Clipboard").action(StdAction::Cut),
                     menuItem("?Copy", "&Copy").help("Copy item to Windows Clipboard").action(StdAction::Copy),
                     menuItem("?Paste", "&Paste").help("Paste contents of Windows Clipboard").action(StdAction::Paste)}),
      menu("&Browse", std::move(browses)),
      menu("&Window",
           {menuItem("?Tile", "T&ile").help("Make all open windows visible").action(StdAction::Tile),
            menuItem("?Cascade", "&Cascade").help("Stack all open windows").action(StdAction::Cascade),
            menuItem("?Arrange", "&Arrange Icons").help("Align all window icons").action(StdAction::ArrangeIcons)})
          .help("Create and Arrange windows"),
      menu("&Help", {menuItem("?HelpContents", "&Contents").help("View the contents of the help file"),
                     menuItem("?HelpSearch", "&Search for Help On...").help("Search for help on a subject"),
                     menuItem("?HelpOnHelp", "&How to Use Help").help("How to use Windows Help")})
          .help("Windows Help"),
  };
  design.statusZones = {0, kLocationZoneWidth};  // help texts, and where the data lives
  for (const JournalButton& b : kJournalButtons) {
    ControlSpec button = toolButton(b.use, b.text);
    design.toolbar.push_back(b.tip ? std::move(button).tip(b.tip) : std::move(button));
  }
  for (const NavigationButton& n : kNavigationButtons)
    design.toolbar.push_back(toolButton({}, {}, toolbarControl(n.action)).tip(n.tip).icon(n.icon));
  return design;
}

namespace {

// The frame's window controller: its menus and buttons start browses; the navigation
// buttons belong to the window the user works in, on that window's own thread.
class MainFrame : public WindowController {
 public:
  EventResult OnEvent() override {
    const Event& e = CurrentEvent();
    if (e.event == kEventAlertKey && e.key == kF6Key) {
      CalendarOnFocusedControl(*MYWINDOW());
      return EventResult::Consumed;
    }
    return WindowController::OnEvent();
  }

  // File > Exit, the close box, the desktop ending the session: every form is asked first,
  // as if its own Cancel were pressed; one that stays keeps the program running.
  EventResult OnCloseRequest() override {
    if (CurrentEvent().event == kEventCloseWindow && !AskWindowsToClose(*MYWINDOW())) return EventResult::Consumed;
    return WindowController::OnCloseRequest();
  }

  EventResult OnAccepted() override {
    const int control = CurrentEvent().control;
    if (toolbarAction(control)) {
      if (FrameHost::activeChildThread() != ThreadNumber()) FrameHost::postToActiveChild(kEventAccepted, control);
      return EventResult::Consumed;
    }
    if (const EventResult rc = WindowController::OnAccepted(); Handled(rc)) return rc;
    Window& frame = *MYWINDOW();
    for (std::span<const BrowseEntry> entries : {browseEntries(), listEntries()})
      for (const BrowseEntry& b : entries)
        if (control == frame.number(b.use)) StartBrowse(b);
    for (const JournalButton& b : kJournalButtons)
      if (const BrowseEntry* e = browseEntry(b.procedure); e && control == frame.number(b.use)) StartBrowse(*e);
    if (control == frame.number("?PrintSetup")) PrinterSetup();
    if (control == frame.number("?BackUpData")) BackUpDataNow();
    if (control == frame.number("?RestoreData")) RestoreData();
    if (control == frame.number("?DataLocation")) ChooseDataLocation();
    if (control == frame.number("?HelpContents")) ShowHelpContents();
    if (control == frame.number("?HelpSearch")) ShowHelpSearch();
    if (control == frame.number("?HelpOnHelp")) ShowHelp(kGuideHelpOnHelpPage);
    return EventResult::Continue;
  }
};

// Over most of the screen, centred, so that the larger browses with their child lists fit
// inside the frame; never smaller than its menus and toolbar need.
void FitToScreen(Window& frame) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  const QRect now = frame.position();
  const QSize size(std::max(now.width(), room.width() * 85 / 100), std::max(now.height(), room.height() * 85 / 100));
  if (size == now.size()) return;
  frame.setPosition(QRect(room.topLeft() + QPoint((room.width() - size.width()) / 2, (room.height() - size.height()) / 2),
                          size));
}

// An end asked for while start-up was still on its way to the frame.
bool endBeforeFrame = false;

}  // namespace

bool DesktopSessionEnding(bool mayAsk) {
  Window* frame = FrameHost::frame();
  if (!frame) {
    endBeforeFrame = true;
    return false;
  }
  const bool ask = mayAsk && WindowsToAsk(frame->thread());
  frame->post(kEventCloseWindow);
  return ask;
}

void Main() {
  ProcedureScope procedure("Main");
  MainFrame controller;
  static_cast<void>(controller.Setup());  // the thread's request becomes the frame's own
  ThreadGlobals& globals = threadGlobals();
  globals.GlobalRequest = Request::None;
  globals.GlobalResponse = Response::None;
  Toolbar toolbar;
  controller.AddItem(toolbar);

  Window frame(MainFrameSpec());
  FitToScreen(frame);
  controller.OpenWindow(frame);
  NameControlsForAssistiveTechnology(frame);
  const QRect where = frame.position();
  FrameGeometry& geometry = frameGeometry();
  geometry.AppFrameX = static_cast<short>(where.x());
  geometry.AppFrameY = static_cast<short>(where.y());
  geometry.AppFrameWidth = static_cast<short>(where.width());
  geometry.AppFrameHeight = static_cast<short>(where.height());
  frame.alert(kF6Key);
  if (WelcomeShowsAtStart()) StartWelcome();
  frame.setStatusText(kLocationZone, DataLocationText());
  vrt::store::TableChangeHearing serverState;
  FollowServerInStatusBar(serverState, kLocationZone);
  // Forms with edits need the user's answers, which cannot be waited for here: the
  // session's end is called off while they are asked.
  frame.onSessionEnding(DesktopSessionEnding);
  if (std::exchange(endBeforeFrame, false)) frame.post(kEventCloseWindow);

  controller.RunEventLoop();
  // Every browse closes before the frame does, while the frame still holds them, so that
  // the places they save on closing are there before start-up writes the settings.
  frame.setInputEnabled(false);
  CloseDownOtherThreads();
  controller.Shutdown();
}

}  // namespace vesp
