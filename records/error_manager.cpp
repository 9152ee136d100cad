#include "records/error_manager.h"

#include <cstdio>
#include <cstdlib>

#include "records/error_log.h"
#include "records/error_text.h"
#include "records/standard_messages.h"
#include "runtime/os/thread_state.h"
#include "runtime/data/errors.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

constexpr std::size_t kNoteLimit = 255;  // characters of a noted name or message text

// How a level is shown and what it answers.
struct LevelPresentation {
  MessageIcon icon;
  int buttons;
  int defaultButton;
  const char* suffix;
  bool endsProgram;
  Level resultOnYes;
  Level result;  // for any other answer
};

constexpr LevelPresentation kAsk{MessageIcon::Exclamation, Button::Yes | Button::No, Button::Yes, "", false,
                                 Level::Benign, Level::Cancel};
constexpr LevelPresentation kFatal{MessageIcon::Information, Button::Ok, Button::Ok,
                                   "  Press OK to end this application", true, Level::Fatal, Level::Fatal};
constexpr LevelPresentation kNotify{MessageIcon::Information, Button::Ok, Button::Ok, "", false, Level::Notify,
                                    Level::Notify};

// nullptr for benign messages, which show nothing. Unknown levels count as program errors.
const LevelPresentation* presentationFor(Level level) {
  switch (level) {
    case Level::Benign: return nullptr;
    case Level::Ask:
    case Level::Cancel: return &kAsk;
    case Level::Notify: return &kNotify;
    default: return &kFatal;
  }
}

int threadNumber() { return vrt::ThreadContext::current().number(); }

std::string noted(std::string_view text) { return std::string(vrt::utf8Left(text, kNoteLimit)); }

void endProcess(Level level) {
  std::fflush(nullptr);
  std::quick_exit(levelNumber(level));
}

ConsoleMessageDisplay& consoleDisplay() {
  static ConsoleMessageDisplay display;
  return display;
}

}  // namespace

ErrorManager::ErrorManager() : endHook_(endProcess) {}

ErrorStatus& ErrorManager::ThreadStatus() { return vrt::perThread<ErrorStatus>(); }

void ErrorManager::Setup() {
  {
    std::lock_guard guard(lock_);
    messages_.clear();
    history_.SetThreshold(0);
    history_.Clear();
    Settings fresh;
    settings_.defaultCategory = fresh.defaultCategory;
    settings_.historyViewLevel = fresh.historyViewLevel;
    settings_.resetHistoryOnView = fresh.resetHistoryOnView;
  }
  AppendMessages(standardMessageBlock());
  AppendMessages(programMessageBlock());
}

void ErrorManager::Shutdown() {
  std::lock_guard guard(lock_);
  messages_ = {};
  procedures_ = {};
  history_.Clear();
}

bool ErrorManager::AppendMessages(std::span<const std::uint8_t> block, std::string_view category) {
  UnpackedMessages unpacked = unpackMessages(block);
  std::lock_guard guard(lock_);
  for (MessageEntry& e : unpacked.entries) {
    e.category = category;
    messages_.push_back(std::move(e));
  }
  return unpacked.complete;
}

void ErrorManager::NoteFile(std::string_view name) { ThreadStatus().FILENAME = noted(vrt::clip(name)); }
void ErrorManager::NoteKey(std::string_view name) { ThreadStatus().KEYNAME = noted(vrt::clip(name)); }
void ErrorManager::NoteField(std::string_view name) { ThreadStatus().FIELDNAME = noted(vrt::clip(name)); }
void ErrorManager::NoteMessageText(std::string_view text) { ThreadStatus().MESSAGETEXT = noted(text); }

void ErrorManager::NoteProcedure(std::string_view name) {
  std::lock_guard guard(lock_);
  procedures_.emplace_back(threadNumber(), std::string(name));
}

void ErrorManager::NoteProcedure() {
  const int thread = threadNumber();
  std::lock_guard guard(lock_);
  for (auto it = procedures_.rbegin(); it != procedures_.rend(); ++it) {
    if (it->first == thread) {
      procedures_.erase(std::next(it).base());
      return;
    }
  }
}

std::string ErrorManager::CurrentProcedure() const {
  std::lock_guard guard(lock_);
  return procedureLocked(threadNumber());
}

std::string ErrorManager::procedureLocked(int thread) const {
  for (auto it = procedures_.rbegin(); it != procedures_.rend(); ++it) {
    if (it->first == thread) return it->second;
  }
  return {};
}

std::string ErrorManager::CategoryFor(int id) const {
  std::lock_guard guard(lock_);
  return categoryLocked(id);
}

std::string ErrorManager::categoryLocked(int id) const {
  for (auto it = messages_.rbegin(); it != messages_.rend(); ++it) {
    if (it->id == id) return it->category.empty() ? settings_.defaultCategory : it->category;
  }
  return settings_.defaultCategory;
}

MessageEntry ErrorManager::entryFor(int id) const {
  {
    std::lock_guard guard(lock_);
    for (auto it = messages_.rbegin(); it != messages_.rend(); ++it) {
      if (it->id == id) return *it;
    }
  }
  // A caller's mistake must still reach the user rather than pass for success.
  MessageEntry unknown;
  unknown.level = Level::Notify;
  unknown.title = "Unknown Error";
  unknown.text = "Unknown error message " + std::to_string(id) + ".";
  return unknown;
}

std::string ErrorManager::buildText(const ErrorStatus& status, std::string_view text) const {
  std::string procedure, category;
  {
    std::lock_guard guard(lock_);
    procedure = procedureLocked(threadNumber());
    category = categoryLocked(status.messageId);
  }
  return buildMessageText(text, MessageContext{status, procedure, category});
}

void ErrorManager::retireCurrent(ErrorStatus& status) const {
  status.previousId = status.messageId;
  if (status.messageId == 0) {
    status.previousText.clear();
  } else if (!status.shownText.empty()) {
    status.previousText = status.shownText;
  } else {
    status.previousText = buildText(status, status.text);
  }
}

void ErrorManager::makeCurrent(ErrorStatus& status, int id) {
  MessageEntry entry = entryFor(id);
  status.messageId = id;
  status.level = entry.level;
  status.title = std::move(entry.title);
  status.text = std::move(entry.text);
  status.shownText.clear();
}

void ErrorManager::RecordError(int id) {
  ErrorStatus& status = ThreadStatus();
  retireCurrent(status);
  const vrt::ErrorState& driver = vrt::threadError();
  status.errorCode = driver.code;
  status.errorText = driver.text;
  status.fileErrorCode = driver.fileCode;
  status.fileErrorText = driver.fileText;
  makeCurrent(status, id);
}

Level ErrorManager::Raise(int id) {
  RecordError(id);
  return show(ThreadStatus());
}

Level ErrorManager::RaiseWithText(int id, std::string_view text) {
  NoteMessageText(text);
  return Raise(id);
}

Level ErrorManager::ShowCurrent(int id) {
  ErrorStatus& status = ThreadStatus();
  if (status.messageId != id) {
    retireCurrent(status);
    makeCurrent(status, id);
  }
  return show(status);
}

Level ErrorManager::show(ErrorStatus& status) {
  status.shownText = buildText(status, status.text);
  const LevelPresentation* how = presentationFor(status.level);
  if (!how) return Level::Benign;

  Settings settings;
  MessageDisplay* display = nullptr;
  EndHook endHook;
  bool historyOn = false;
  std::vector<HistoryRow> historyRows;
  {
    std::lock_guard guard(lock_);
    settings = settings_;
    display = display_ ? display_ : &consoleDisplay();
    endHook = endHook_;
    if (settings.logErrors) appendErrorLog(settings.logFile, status.shownText);
    historyOn = history_.IsOn();
    if (historyOn) {
      history_.Add({status.shownText, categoryLocked(status.messageId), status.messageId});
      if (status.level == settings.historyViewLevel) historyRows = history_.Rows();
    }
  }
  const bool showHistory = historyOn && status.level == settings.historyViewLevel;
  // With the history on, notifications are only collected; but a question is never answered
  // for the user, and the program never ends without saying why.
  const bool asks = (how->buttons & Button::Yes) != 0;
  const bool showBox = !historyOn || asks || (how->endsProgram && !showHistory);

  int answer = how->defaultButton;
  if (!settings.silent) {
    if (showHistory) {
      display->ShowHistory(historyRows, Button::Ok | Button::Help);
      if (settings.resetHistoryOnView) {
        std::lock_guard guard(lock_);
        history_.Clear();
      }
    }
    if (showBox) {
      answer = display->ShowMessage(status.shownText + how->suffix, status.title, how->icon, how->buttons,
                                    how->defaultButton);
    }
  }
  if (how->endsProgram && endHook) endHook(Level::Fatal);
  return answer == Button::Yes ? how->resultOnYes : how->result;
}

int ErrorManager::ShowHistoryWindow() {
  MessageDisplay* display = nullptr;
  std::vector<HistoryRow> rows;
  bool reset = false;
  {
    std::lock_guard guard(lock_);
    display = display_ ? display_ : &consoleDisplay();
    rows = history_.Rows();
    reset = settings_.resetHistoryOnView;
  }
  const int answer = display->ShowHistory(rows, Button::Ok | Button::Help);
  if (reset) {
    std::lock_guard guard(lock_);
    history_.Clear();
  }
  return answer;
}

void ErrorManager::SetDefaultCategory(std::string category) {
  std::lock_guard guard(lock_);
  settings_.defaultCategory = std::move(category);
}
void ErrorManager::SetHistoryThreshold(int threshold) {
  std::lock_guard guard(lock_);
  history_.SetThreshold(threshold);
}
void ErrorManager::SetHistoryViewLevel(Level level) {
  std::lock_guard guard(lock_);
  settings_.historyViewLevel = level;
}
void ErrorManager::SetResetHistoryOnView(bool reset) {
  std::lock_guard guard(lock_);
  settings_.resetHistoryOnView = reset;
}
void ErrorManager::SetLogErrors(bool on) {
  std::lock_guard guard(lock_);
  settings_.logErrors = on;
}
void ErrorManager::SetLogFile(std::string path) {
  std::lock_guard guard(lock_);
  settings_.logFile = std::move(path);
}
void ErrorManager::SetSilent(bool on) {
  std::lock_guard guard(lock_);
  settings_.silent = on;
}
void ErrorManager::SetDisplay(MessageDisplay* display) {
  std::lock_guard guard(lock_);
  display_ = display;
}
void ErrorManager::SetEndHook(EndHook hook) {
  std::lock_guard guard(lock_);
  endHook_ = hook ? std::move(hook) : EndHook(endProcess);
}

std::string ErrorManager::DefaultCategory() const {
  std::lock_guard guard(lock_);
  return settings_.defaultCategory;
}
int ErrorManager::HistoryThreshold() const {
  std::lock_guard guard(lock_);
  return history_.Threshold();
}
Level ErrorManager::HistoryViewLevel() const {
  std::lock_guard guard(lock_);
  return settings_.historyViewLevel;
}
bool ErrorManager::ResetHistoryOnView() const {
  std::lock_guard guard(lock_);
  return settings_.resetHistoryOnView;
}
bool ErrorManager::LogErrors() const {
  std::lock_guard guard(lock_);
  return settings_.logErrors;
}
bool ErrorManager::Silent() const {
  std::lock_guard guard(lock_);
  return settings_.silent;
}
std::vector<HistoryRow> ErrorManager::History() const {
  std::lock_guard guard(lock_);
  return history_.Rows();
}

ErrorManager& errorManager() {
  static ErrorManager instance;
  return instance;
}

}  // namespace vesp
