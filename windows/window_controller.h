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

  WindowController();
  virtual ~WindowController();
  WindowController(const WindowController&) = delete;
  WindowController& operator=(const WindowController&) = delete;

  // What a screen may set: in its Setup, after WindowController::Setup (which puts the
  // actions back to their defaults) and before the event loop.
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

  // Running state: set by the controller, read by screens and the framework's parts.
  std::vector<ButtonEntry> BUTTONS;     // AddItem(control, response)
  std::vector<ComponentEntry> CL;       // AddItem(component)
  ErrorManager* ERRORS = nullptr;       // Setup: the process's error manager
  std::vector<FileEntry> FILES;         // AddUpdateFile
  bool FORCEDRESET = false;             // a part asks the next Refresh to reset every component
  std::vector<HistoryEntry> HISTORY;    // AddHistoryField
  int INITED = 0;                       // bit 1: the window has been shown once
  std::string LASTINSERTEDPOSITION;     // the last record a save-and-stay insert added
  bool OPENED = false;                  // OpenWindow; false again at Shutdown
  Request ORIGINALREQUEST = Request::None;  // Setup: the request the window was called for
  bool RECORDSAVED = false;             // a save of this window's record succeeded
  Request REQUEST = Request::None;      // Setup: the thread's request
  Response RESPONSE = Response::None;   // set as the window completes or is cancelled
  std::uint16_t SAVED = 0;              // the id of the record copy taken at the start
  Toolbar* TOOLBAR = nullptr;           // AddItem(toolbar)
  std::int32_t* VCRREQUEST = nullptr;   // where a form's toolbar navigation is left for its caller
  vrt::Window* MYWINDOW = nullptr;      // the screen, when it builds its window; OpenWindow

  // Non-virtual operations.
  void AddItem(WindowComponent& component);  // kind 0
  void AddItem(FileComponent& component);    // kind 1
  void AddItem(Toolbar& toolbar);            // TOOLBAR
  void AddItem(FormToolbarTarget& target);   // under -1, made current
  void AddItem(int control, Response response);  // BUTTONS
  void AddUpdateFile(FileManager& file);     // FILES
  void AddHistoryField(int control, int liveField, int historyField);

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
  void takeSnapshot();  // SAVED and the copy compared with
  void releaseSnapshot();
  bool closeAfterCancelledInsert();
  void firstFieldAfterFailure();

 private:
  // A save the user asked for while closing: validated, then completed at once.
  EventResult saveForUser();

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
