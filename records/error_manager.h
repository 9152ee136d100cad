#pragma once
// The error manager: the one place where a failure becomes words. Code reports a problem by
// message id (Msg::DuplicateKey); the manager fills the message's placeholders from this
// thread's error state, shows it by its level and returns the result the caller acts on.
//
//   errorManager().NoteFile("Service");
//   if (errorManager().Raise(Msg::ConfirmDelete) != Level::Benign) return;   // No -> Cancel
//
// One instance serves the whole process (errorManager()). Each thread's error state is its
// own; the message table, the history and the procedure-name stack are shared under one lock,
// which is never held while a message is on screen.
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/error_history.h"
#include "records/error_log.h"
#include "records/error_status.h"
#include "records/levels.h"
#include "records/message_block.h"
#include "records/message_display.h"
#include "records/messages.h"

namespace vesp {

class ErrorManager {
 public:
  // Called with Level::Fatal once a fatal or program-level message has been acknowledged.
  // The default ends the process at once; a hook that returns lets Raise return Level::Fatal.
  using EndHook = std::function<void(Level level)>;

  ErrorManager();

  // Loads the program's message table and restores the program's settings.
  void Setup();
  // Releases the message table, the history and the procedure-name stack.
  void Shutdown();
  // Appends the entries of a packed block; an id already in the table takes its newest text.
  // Returns false for a damaged block, keeping the whole entries read before the damage.
  bool AppendMessages(std::span<const std::uint8_t> block, std::string_view category = {});

  // This thread's %File, %Key, %Field (trailing blanks removed) and %Message.
  void NoteFile(std::string_view name);
  void NoteKey(std::string_view name);
  void NoteField(std::string_view name);
  void NoteMessageText(std::string_view text);
  // With a name: pushes it for this thread. Without: pops this thread's newest name.
  void NoteProcedure(std::string_view name);
  void NoteProcedure();

  // Captures the driver's current error and makes `id` this thread's current message.
  void RecordError(int id);
  // RecordError, then ShowCurrent: the result by the message's level.
  [[nodiscard]] Level Raise(int id);
  [[nodiscard]] Level RaiseWithText(int id, std::string_view text);
  // Shows this thread's current message (after making `id` current if it is not).
  [[nodiscard]] Level ShowCurrent(int id);
  // Opens "Errors History" with OK and Help; returns the button pressed.
  int ShowHistoryWindow();

  std::string CurrentProcedure() const;
  std::string CategoryFor(int id) const;

  // Settings.
  void SetDefaultCategory(std::string category);
  void SetHistoryThreshold(int threshold);
  void SetHistoryViewLevel(Level level);
  void SetResetHistoryOnView(bool reset);
  void SetLogErrors(bool on);
  void SetLogFile(std::string path);
  void SetSilent(bool on);
  std::string DefaultCategory() const;
  int HistoryThreshold() const;
  Level HistoryViewLevel() const;
  bool ResetHistoryOnView() const;
  bool LogErrors() const;
  bool Silent() const;
  std::vector<HistoryRow> History() const;

  // Where messages appear (not owned; nullptr: standard error).
  void SetDisplay(MessageDisplay* display);
  void SetEndHook(EndHook hook);

  // This thread's error state.
  static ErrorStatus& ThreadStatus();

 private:
  struct Settings {
    std::string defaultCategory = "Brik";
    Level historyViewLevel = Level::Fatal;
    bool resetHistoryOnView = false;
    bool logErrors = false;
    std::string logFile = kErrorLogFileName;
    bool silent = false;
  };

  MessageEntry entryFor(int id) const;
  std::string categoryLocked(int id) const;
  std::string procedureLocked(int thread) const;
  std::string buildText(const ErrorStatus& status, std::string_view text) const;
  void makeCurrent(ErrorStatus& status, int id);
  void retireCurrent(ErrorStatus& status) const;
  Level show(ErrorStatus& status);

  mutable std::mutex lock_;
  std::vector<MessageEntry> messages_;
  std::vector<std::pair<int, std::string>> procedures_;  // (thread number, name), newest last
  ErrorHistory history_;
  Settings settings_;
  MessageDisplay* display_ = nullptr;
  EndHook endHook_;
};

// The process's error manager, set up first at start-up.
ErrorManager& errorManager();

// Notes a procedure's name for the time it runs.
class ProcedureScope {
 public:
  explicit ProcedureScope(std::string_view name) { errorManager().NoteProcedure(name); }
  ~ProcedureScope() { errorManager().NoteProcedure(); }
  ProcedureScope(const ProcedureScope&) = delete;
  ProcedureScope& operator=(const ProcedureScope&) = delete;
};

}  // namespace vesp
