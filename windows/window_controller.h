#pragma once
// The window controller: every window of the program runs on one. It opens the window,
// takes its events from the thread's queue, hands them to the window's components and
// toolbar, and for a record form carries out the request it was called with (insert,
// change, delete or view a record of its primary table): it prepares the record, watches
// for unsaved changes, saves through the relation manager, asks the save-and-cancel
// questions, keeps a history of field values for ditto, and leaves a response.
//
// Callers exchange the request and the response through the thread's globals:
//   RunProcedure(number, request)  -> GlobalRequest = request; procedure(); GlobalResponse
//   Setup                          -> REQUEST = ORIGINALREQUEST = GlobalRequest
//   Execute                        -> GlobalResponse = RESPONSE
//
// Event handlers return 0 (go on), 3 (end the event loop) or 5 (the event is consumed).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "records/error_manager.h"
#include "records/relation_manager.h"
#include "runtime/gui/window.h"
#include "windows/toolbar.h"
#include "windows/window_component.h"

namespace vesp {

namespace Request {
inline constexpr int Insert = 1;
inline constexpr int Change = 2;
inline constexpr int Delete = 3;
inline constexpr int Select = 4;
inline constexpr int View = 6;
}  // namespace Request
namespace Response {
inline constexpr int Completed = 1;
inline constexpr int Cancelled = 2;
}  // namespace Response
namespace EventResult {
inline constexpr int Continue = 0;
inline constexpr int EndLoop = 3;
inline constexpr int Consumed = 5;
}  // namespace EventResult

// Bits of CANCELACTION.
inline constexpr int kCancelSaves = 1;  // leaving a changed record saves it
inline constexpr int kCancelAsks = 2;   // ... after asking "Save Record"

class WindowController {
 public:
  struct ButtonEntry {
    int control;
    int response;
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

  bool AUTOREFRESH = true;
  bool AUTOTOOLBAR = true;
  std::vector<ButtonEntry> BUTTONS;
  std::vector<ComponentEntry> CL;
  int CANCELACTION = kCancelSaves | kCancelAsks;
  int CHANGEACTION = 2;
  bool DEAD = false;
  int DELETEACTION = 2;
  bool BATCHPROCESSING = false;
  ErrorManager* ERRORS = nullptr;
  std::vector<FileEntry> FILES;
  bool FILESOPENED = false;
  std::int32_t FIRSTFIELD = 0;
  bool FORCEDRESET = false;
  std::vector<HistoryEntry> HISTORY;
  int HISTORYKEY = 0;
  int INITED = 0;  // bit 1 shown once, bit 2 a later activation refreshes
  int INSERTACTION = 2;
  std::string LASTINSERTEDPOSITION;
  int OKCONTROL = 0;
  int SAVECONTROL = 0;
  bool DISABLECANCELBUTTON = false;
  bool OPENED = false;
  int ORIGINALREQUEST = 0;
  bool RECORDSAVED = false;
  int BEFORESAVEREQUEST = 0;
  RelationManager* PRIMARY = nullptr;
  int REQUEST = 0;
  bool RESETONGAINFOCUS = false;
  void* RESIZE = nullptr;  // a window resizer is attached by reference only
  int RESPONSE = 0;
  std::uint16_t SAVED = 0;
  void* FORMVCR = nullptr;  // never attached
  Toolbar* TOOLBAR = nullptr;
  void* TRANSLATOR = nullptr;  // never attached
  std::int32_t* VCRREQUEST = nullptr;
  vrt::Window* MYWINDOW = nullptr;
  vrt::Window* OWNERWINDOW = nullptr;

  // Non-virtual operations.
  void AddItem(WindowComponent& component);  // kind 0
  void AddItem(FileComponent& component);    // kind 1
  void AddItem(Toolbar& toolbar);            // TOOLBAR
  void AddItem(FormToolbarTarget& target);   // under -1, made current
  void AddItem(int control, int response);   // BUTTONS
  void AddUpdateFile(FileManager& file);     // FILES
  void AddHistoryField(int control, int liveField, int historyField);
  void SetResizer(void* resizer) { RESIZE = resizer; }

  virtual int RunEventLoop();
  virtual int Setup();
  virtual void Shutdown();
  virtual void OnFirstShow();
  virtual void OpenWindow(vrt::Window& window, vrt::Window* owner = nullptr);
  virtual void PrimeNewRecord();
  virtual int PrepareRequest();
  virtual void Refresh(bool force = false);
  virtual void RecallHistory(int control);
  virtual int Execute();
  virtual int RunProcedure(int number, int request);
  virtual void ArmKeys();
  virtual void CloseWithResponse(int response);
  virtual int OnAccepted();
  virtual int OnCompleted();
  virtual int OnCloseRequest();
  virtual int OnEvent();
  virtual int OnFieldEvent();
  virtual int OnSelectionChanged();
  virtual int OnNotify();
  virtual int OnRejected();
  virtual int OnSelected();
  virtual int OnWindowEvent();
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
  int CallProcedure(int request, const std::function<void()>& procedure);

 protected:
  // The history copies of each table's record, one per table.
  vrt::RecordBuffer& historyBufferFor(FileManager& table);
  void saveHistory();
  void takeSnapshot();  // SAVED and the copy compared with
  void releaseSnapshot();
  bool closeAfterCancelledInsert();
  int firstFieldAfterFailure();

 private:
  // A save the user asked for while closing: validated, then completed at once.
  int saveForUser();

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
