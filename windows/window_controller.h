#pragma once
// The window controller: every window of the program runs on one. It opens the window,
// takes its events from the thread's queue, hands them to the window's components and
// toolbar, and for a record form carries out the request it was called with (insert,
// change, delete or view a record of its primary table): it prepares the record, watches
// for unsaved changes, saves through the relation manager, asks the save-and-cancel
// questions, keeps a history of field values for ditto, and leaves a response.
//
// Callers exchange the request and the response through the thread's globals:
//   RunProcedure(procedure, request) -> GlobalRequest = request; procedure(); GlobalResponse
//   Setup                          -> REQUEST = ORIGINALREQUEST = GlobalRequest
//   Execute                        -> GlobalResponse = RESPONSE
//
// Event handlers return an EventResult: go on, end the event loop, or the event is consumed.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/error_manager.h"
#include "records/relation_manager.h"
#include "runtime/gui/window.h"
#include "windows/procedure_codes.h"
#include "windows/procedures.h"
#include "windows/toolbar.h"
#include "windows/window_component.h"

namespace vesp {

// Bits of CANCELACTION.
inline constexpr int kCancelSaves = 1;  // leaving a changed record saves it
inline constexpr int kCancelAsks = 2;   // ... after asking "Save Record"

class WindowController {
 public:
  // What a screen declares for its window, in its Setup after WindowController::Setup and
  // before the event loop, with one Configure; a member left out keeps its default.
  struct Settings {
    bool AUTOREFRESH = true;  // components that ask for it are refreshed after each event
    bool AUTOTOOLBAR = true;  // a tab change hands the frame's toolbar to the new tab's list
    int CANCELACTION = kCancelSaves | kCancelAsks;  // leaving a changed record: bits above
    int CHANGEACTION = 2;                 // 2: a saved change closes the window
    int DELETEACTION = 2;                 // 2 or 4: deleted at set-up, 2 asking first
    int INSERTACTION = 2;                 // 0: no priming; 2: a saved insert closes the window
    std::int32_t FIRSTFIELD = 0;          // the control selected when the window opens
    int HISTORYKEY = 0;                   // the key that recalls a field's last value (ditto)
    int OKCONTROL = 0;                    // the control whose press saves and closes
    int SAVECONTROL = 0;                  // the control whose press saves and stays
    RelationManager* PRIMARY = nullptr;   // the form's table; none for windows without a record
  };

  WindowController();
  virtual ~WindowController();
  WindowController(const WindowController&) = delete;
  WindowController& operator=(const WindowController&) = delete;

  // The screen's Setup, once its window is built: the settings it declares.
  void Configure(const Settings& settings) { settings_ = settings; }

  // Running state, read by screens and the framework's parts; the controller sets it.
  bool OPENED() const { return opened_; }                         // OpenWindow; false again at UseWindow(nullptr)
  Request ORIGINALREQUEST() const { return originalRequest_; }    // Setup: the request the window was called for
  RelationManager* PRIMARY() const { return settings_.PRIMARY; }  // Configure: the form's table
  bool RECORDSAVED() const { return recordSaved_; }               // a save of this window's record succeeded
  Request REQUEST() const { return request_; }                    // Setup: the thread's request
  Response RESPONSE() const { return response_; }                 // as the window completes or is cancelled
  Toolbar* TOOLBAR() const { return toolbar_; }                   // AddItem(toolbar)
  std::int32_t* VCRREQUEST() const { return vcrRequest_; }        // where a form's toolbar navigation is left
  vrt::Window* MYWINDOW() const { return myWindow_; }             // UseWindow or OpenWindow

  // The screen's Setup once it has built its window (before OpenWindow), and nullptr when
  // it destroys it, which also leaves the window closed.
  void UseWindow(vrt::Window* window);
  // A browse running its form: where the form leaves its toolbar navigation, nullptr after.
  void LeaveNavigationIn(std::int32_t* where) { vcrRequest_ = where; }
  // A priming hook: the new record is not wanted, and the form does not open.
  void RefuseNewRecord() { response_ = Response::Cancelled; }

  // The screen's Setup: the parts the window is made of.
  void AddItem(WindowComponent& component);  // a list or other part that takes the window's events
  void AddItem(FileComponent& component);    // a table whose changes the window rereads
  void AddItem(Toolbar& toolbar);            // the frame's toolbar, which TOOLBAR() then gives
  void AddItem(FormToolbarTarget& target);   // the form's toolbar target, under -1, made current
  void AddItem(int control, Response response);  // a button that closes with `response`
  void AddHistoryField(int control, int liveField, int historyField);  // a field that ditto recalls

  // Execute, between Setup and Shutdown: takes the window's events until one ends the loop
  // (the window closes, or the program does).
  virtual void RunEventLoop();
  // Takes the thread's request and builds the window; false when it cannot run (a table
  // would not open, the request was carried out at once), and the event loop is skipped.
  [[nodiscard]] virtual bool Setup();
  // Execute and the destructor, once: the components shut down, the record copies and the
  // toolbar let go.
  virtual void Shutdown();
  // The first time the window shows or gains focus: the toolbar handed to it, then a refresh.
  virtual void OnFirstShow();
  // The screen's Setup, once its window is built: the window opened, its keys armed.
  virtual void OpenWindow(vrt::Window& window);
  // PrepareRequest for an insert with INSERTACTION: the screen's defaults for the new record
  // (RefuseNewRecord to give it up); again after each save-and-stay insert.
  virtual void PrimeNewRecord();
  // Readies the record for the request; false when nothing is left to do in the window.
  [[nodiscard]] virtual bool PrepareRequest();
  // After each event and when the window gains focus: the components refilled where needed
  // (all when `force`), then every control shown again.
  virtual void Refresh(bool force = false);
  // The ditto key or toolbar button on `control`: the field's value from the last save.
  virtual void RecallHistory(int control);
  // The whole procedure: set up, the event loop, shut down; the response, also left in the
  // thread's globals for whoever called this procedure.
  [[nodiscard]] virtual Response Execute();
  // Calls a procedure the window's declaration names (a look-up, a child form).
  [[nodiscard]] virtual Response RunProcedure(const Procedure& procedure, Request request);
  // OpenWindow: F6, the components' keys and the ditto key alerted.
  virtual void ArmKeys();
  // A button, the toolbar or a list ends the window with `response`.
  virtual void CloseWithResponse(Response response);
  // OnEvent's handlers, by kind of event; a screen overrides the ones it needs and calls
  // these for the rest. Accepted: a button or toolbar press; Completed: the save the OK
  // path posted; CloseRequest: the close box or the program ending.
  [[nodiscard]] virtual EventResult OnAccepted();
  [[nodiscard]] virtual EventResult OnCompleted();
  [[nodiscard]] virtual EventResult OnCloseRequest();
  // RunEventLoop, for each event: the handler for its kind, then the components, then a
  // refresh where one is due.
  [[nodiscard]] virtual EventResult OnEvent();
  // Hooks a screen may override; by default they go on.
  [[nodiscard]] virtual EventResult OnFieldEvent();
  [[nodiscard]] virtual EventResult OnNotify();
  [[nodiscard]] virtual EventResult OnSelected();
  // A tab chosen: the window refreshed and the toolbar handed to the new tab's list.
  [[nodiscard]] virtual EventResult OnSelectionChanged();
  // Typed text a control's picture refused: a beep, and the text stays to be mended.
  [[nodiscard]] virtual EventResult OnRejected();
  // Open, close, focus, notify and completed events of the window itself.
  [[nodiscard]] virtual EventResult OnWindowEvent();
  // F6 on `control`: the calendar pop-up for an entry that may be changed; nothing else.
  virtual void OnCalendarKey(int control);
  // Before a save: every component's controls written back to their variables.
  virtual void SaveControls();
  // A screen's hook: `control` disabled or enabled, when the window has it.
  virtual void SetControlDisabled(int control, bool disabled);
  // OnCompleted, by request: the record saved, added or deleted, and the window closed as
  // the settings' actions say; a failure leaves the window open at its first field.
  virtual void CompleteInsert();
  virtual void CompleteChange();
  virtual void CompleteDelete();
  // The SAVECONTROL button: the record saved and the window kept open (a new record after
  // an insert).
  virtual void SaveChangeAndStay();
  virtual void SaveInsertAndStay();

  // The event being handled.
  const vrt::Event& CurrentEvent() const { return event_; }
  // The OK path: validates every control first when saving, then raises "completed".
  void PostCompleted();
  // Whether the primary record differs from the copy taken when it was loaded.
  bool RecordChanged() const;
  // Calls `procedure` the way RunProcedure does: the request in the global request, the
  // global response back (2 at once when this window was called to view).
  [[nodiscard]] Response CallProcedure(Request request, const Procedure& procedure);

 protected:
  // The history copies of each table's record, one per table.
  vrt::RecordBuffer& historyBufferFor(FileManager& table);
  void saveHistory();
  void takeSnapshot();  // the saved copy and the one compared with
  void releaseSnapshot();
  bool closeAfterCancelledInsert();
  void firstFieldAfterFailure();

 private:
  struct ButtonEntry {
    int control;
    Response response;
  };
  struct ComponentEntry {
    int kind;  // 0 window component, 1 file component
    WindowComponent* window = nullptr;
    FileComponent* file = nullptr;
  };
  struct HistoryEntry {
    vrt::RecordBuffer* history;  // the history copy of the record
    int historyField;
    vrt::RecordBuffer* live;
    int liveField;
    int control;  // the list's key
    FileManager* table;
  };

  // A save the user asked for while closing: validated, then completed at once.
  EventResult saveForUser();

  Settings settings_;
  std::vector<ButtonEntry> buttons_;       // AddItem(control, response)
  std::vector<ComponentEntry> components_;  // AddItem(component)
  ErrorManager* errors_ = nullptr;
  std::vector<HistoryEntry> history_;      // AddHistoryField
  bool shown_ = false;                     // the window has been shown once
  std::string lastInsertedPosition_;       // the last record a save-and-stay insert added
  bool opened_ = false;
  Request originalRequest_ = Request::None;
  bool recordSaved_ = false;
  Request request_ = Request::None;
  Response response_ = Response::None;
  std::uint16_t saved_ = 0;                // the id of the record copy taken at the start
  Toolbar* toolbar_ = nullptr;
  std::int32_t* vcrRequest_ = nullptr;
  vrt::Window* myWindow_ = nullptr;

  vrt::Event event_;
  int lastFocused_ = 0;  // the focus may be in the frame while its toolbar is pressed
  bool historySaved_ = false;
  bool discardOnClose_ = false;  // the user chose to close without saving
  bool setUp_ = false;
  bool shutDown_ = false;
  std::optional<vrt::RecordBuffer> snapshot_;
  std::vector<std::pair<FileManager*, std::unique_ptr<vrt::RecordBuffer>>> historyBuffers_;
  FormToolbarTarget* formTarget_ = nullptr;
};

}  // namespace vesp
