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
  void AddUpdateFile(FileManager& file);     // a table whose buffer is put back when the window closes
  void AddHistoryField(int control, int liveField, int historyField);  // a field that ditto recalls

  virtual void RunEventLoop();
  // Takes the thread's request and builds the window; false when it cannot run (a table
  // would not open, the request was carried out at once), and the event loop is skipped.
  [[nodiscard]] virtual bool Setup();
  virtual void Shutdown();
  virtual void OnFirstShow();
  virtual void OpenWindow(vrt::Window& window);
  virtual void PrimeNewRecord();
  // Readies the record for the request; false when nothing is left to do in the window.
  [[nodiscard]] virtual bool PrepareRequest();
  virtual void Refresh(bool force = false);
  virtual void RecallHistory(int control);
  // The whole procedure: set up, the event loop, shut down; the response, also left in the
  // thread's globals for whoever called this procedure.
  [[nodiscard]] virtual Response Execute();
  // Calls a procedure the window's declaration names (a look-up, a child form).
  [[nodiscard]] virtual Response RunProcedure(const Procedure& procedure, Request request);
  virtual void ArmKeys();
  virtual void CloseWithResponse(Response response);
  [[nodiscard]] virtual EventResult OnAccepted();
  [[nodiscard]] virtual EventResult OnCompleted();
  [[nodiscard]] virtual EventResult OnCloseRequest();
  [[nodiscard]] virtual EventResult OnEvent();
  [[nodiscard]] virtual EventResult OnFieldEvent();
  [[nodiscard]] virtual EventResult OnSelectionChanged();
  [[nodiscard]] virtual EventResult OnNotify();
  [[nodiscard]] virtual EventResult OnRejected();
  [[nodiscard]] virtual EventResult OnSelected();
  [[nodiscard]] virtual EventResult OnWindowEvent();
  // F6 on `control`: the calendar pop-up for an entry that may be changed; nothing else.
  virtual void OnCalendarKey(int control);
  virtual void SaveControls();
  virtual void SetControlDisabled(int control, bool disabled);
  virtual void CompleteInsert();
  virtual void CompleteChange();
  virtual void CompleteDelete();
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
  struct FileEntry {
    FileManager* file;
    int saved;  // the id of its saved buffer
  };

  // A save the user asked for while closing: validated, then completed at once.
  EventResult saveForUser();

  Settings settings_;
  std::vector<ButtonEntry> buttons_;       // AddItem(control, response)
  std::vector<ComponentEntry> components_;  // AddItem(component)
  ErrorManager* errors_ = nullptr;
  std::vector<FileEntry> files_;           // AddUpdateFile
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
