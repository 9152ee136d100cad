#include "shell/data_safety.h"

#include <QDateTime>

#include <filesystem>
#include <vector>

#include "dictionary/dictionary.h"
#include "records/data_backup.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"
#include "shell/welcome.h"
#include "runtime/gui/window.h"
#include "runtime/settings/settings_file.h"
#include "windows/work_progress.h"

namespace vesp {

namespace {

namespace fs = std::filesystem;
using namespace vrt;

constexpr const char* kBackupCaption = "Back Up Data";
constexpr const char* kRestoreCaption = "Restore Data";

// What the user is told.
constexpr const char* kBackedUp = "Your data was backed up to|%1|%2, %3.";
constexpr const char* kBackupFailed = "The backup did not succeed.|%1";
constexpr const char* kNoSets = "There are no backup sets in|%1";
constexpr const char* kInUse = "Your data cannot be restored while %1 has the data files open.|Close it first.";
constexpr const char* kConfirm =
    "Restore the backup set made %1?||The data you have now is set aside in a backup set of its own, so that "
    "restoring that set undoes this restore.";
constexpr const char* kRestored =
    "The backup set made %1 was restored.|The data you had before is kept in|%2";
constexpr const char* kRestoreFailed = "The backup set was not restored; your data is as it was.|%1";

std::string fill(std::string text, std::initializer_list<std::string> values) {
  int n = 1;
  for (const std::string& v : values) {
    const std::string mark = "%" + std::to_string(n++);
    if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), v);
  }
  return text;
}

std::string backupFolder() { return (fs::path(".") / backup::kBackupFolder).string(); }

std::string shownPath(const std::string& path) { return fs::absolute(path).lexically_normal().string(); }

std::string withGrouping(std::int64_t n) {
  std::string digits = std::to_string(n < 0 ? -n : n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return n < 0 ? "-" + out : out;
}

std::string sizeText(std::int64_t bytes) {
  if (bytes < 1024) return withGrouping(bytes) + " bytes";
  const char* units[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024;
  int unit = 0;
  for (; value >= 1024 && unit < 3; ++unit) value /= 1024;
  return QString::number(value, 'f', value < 10 ? 1 : 0).toStdString() + " " + units[unit];
}

std::string madeText(const backup::BackupSet& set) {
  return set.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

std::string kindText(const std::string& kind) {
  if (kind == "before-restore") return "before a restore";
  if (kind == "before-upgrade") return "before an upgrade";
  return kind;
}

// The records of the program's tables; a file's own bookkeeping tables (its word index's)
// are not the user's records.
std::int64_t totalRecords(const backup::BackupSet& set) {
  std::int64_t n = 0;
  for (const auto& table : dict::tables()) n += std::max<std::int64_t>(0, set.records(table.label));
  return n;
}

// The tables of a set that hold records, with their counts.
std::string detailsText(const backup::BackupSet& set) {
  std::string text;
  for (const auto& table : dict::tables()) {
    const std::int64_t n = set.records(table.label);
    if (n > 0) text += (text.empty() ? "" : ", ") + table.label + " " + withGrouping(n);
  }
  return text.empty() ? "No records." : text;
}

WindowSpec restoreDesign() {
  WindowSpec design = windowSpec(kRestoreCaption, "RestoreData");
  design.controls = {
      row({prompt("Choose the backup set to put back in place of the data you have now:")}),
      list("?Sets",
           {column("Made", 22), column("Kind", 16), column("Size", 9, {}, ColumnAlign::Right),
            column("Records", 10, {}, ColumnAlign::Right)},
           8)
          .scrolling(),
      prompt(std::string(90, ' '), "?Details"),
      row({button("?Restore", "&Restore").makeDefault(), button("?Cancel", "&Cancel").makeCancel()}),
  };
  return design;
}

// Shows the work's progress: each file's name, and the bar over the files. A restore
// goes through its set's files twice, checking them and then copying them in.
class FileProgress {
 public:
  FileProgress(const char* caption, int passes) : window_(caption, false), passes_(passes) {}
  void operator()(const std::string& file, int done, int total) {
    if (done < last_) ++pass_;
    last_ = done;
    const int all = std::max(1, total * passes_);
    window_.show(file, std::min(100, (std::min(pass_, passes_ - 1) * total + done) * 100 / all));
    window_.pause();
  }

 private:
  WorkProgress window_;
  int passes_;
  int pass_ = 0, last_ = 0;
};

void restore(const backup::BackupSet& set) {
  SettingsFile& settings = settingsFile();
  const bool settingsOpen = settings.IsOpen();
  const std::string settingsName = settings.FileName();
  const int settingsKind = settings.Kind();
  backup::Outcome done;
  {
    FileProgress progress(kRestoreCaption, 2);
    backup::RestoreOptions options;
    options.now = QDateTime::currentDateTime();
    options.progress = std::ref(progress);
    options.filesInUse = DataFilesInUse;
    // The settings go aside with the rest as they stand now, and are read again from the
    // restored file; written back later, the old ones would overwrite it.
    options.beforeReplacing = [&] {
      if (settingsOpen) settings.Close();
    };
    done = backup::RestoreSet(".", set.path, options);
    if (settingsOpen && !settings.IsOpen()) settings.Open(settingsName, settingsKind);
  }
  if (done.ok)
    Message(fill(kRestored, {madeText(set), shownPath(done.setPath)}), kRestoreCaption, kIconInformation);
  else
    Message(fill(kRestoreFailed, {done.error}), kRestoreCaption, kIconExclamation);
}

}  // namespace

std::string DataFilesInUse() {
  const int self = ThreadNumber();
  for (int thread : LiveThreads()) {
    if (thread == self || ThreadName(thread) == kWelcomeThread) continue;  // it holds no data
    const std::vector<int> windows = ThreadWindows(thread);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
      if (Window* w = Window::find(*it)) return "the window \"" + w->caption() + "\"";
    return "the procedure " + (ThreadName(thread).empty() ? "of thread " + std::to_string(thread) : ThreadName(thread));
  }
  if (DictionaryIsSetUp())
    for (const auto& table : dict::tables())
      if (FileManager& file = Access(table.label); file.FILE() && file.FILE()->isOpen())
        return "the main window (" + table.label + ")";
  return {};
}

void BackUpDataNow() {
  backup::Outcome done;
  {
    FileProgress progress(kBackupCaption, 1);
    done = backup::BackUpNow(".", backupFolder(), QDateTime::currentDateTime(), {}, std::ref(progress));
  }
  if (!done.ok) {
    Message(fill(kBackupFailed, {done.error}), kBackupCaption, kIconExclamation);
    return;
  }
  std::string error;
  const auto set = backup::readSet(done.setPath, error);
  Message(fill(kBackedUp, {shownPath(done.setPath), set ? std::to_string(set->files.size()) + (set->files.size() == 1 ? " file" : " files") : "?",
                           set ? sizeText(set->bytes()) : "?"}),
          kBackupCaption, kIconInformation);
}

void RestoreData() {
  const std::vector<backup::BackupSet> sets = backup::listSets(backupFolder());
  if (sets.empty()) {
    Message(fill(kNoSets, {shownPath(backupFolder())}), kRestoreCaption, kIconInformation);
    return;
  }
  Window window(restoreDesign());
  window.open();
  PagedList* list = window.control("?Sets")->list();
  std::vector<std::vector<std::string>> rows;
  for (const auto& set : sets)
    rows.push_back({madeText(set), kindText(set.kind), sizeText(set.bytes()), withGrouping(totalRecords(set))});
  list->setRows(rows);
  list->setSelectedRow(1);
  auto chosen = [&]() -> const backup::BackupSet* {
    const int row = list->selectedRow();
    return row >= 1 && row <= static_cast<int>(sets.size()) ? &sets[static_cast<std::size_t>(row - 1)] : nullptr;
  };
  auto showDetails = [&] {
    if (const auto* set = chosen()) window.control("?Details")->setText(detailsText(*set));
  };
  showDetails();
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return;
    if (e.control == window.number("?Sets") && e.event == kEventNewSelection) showDetails();
    if (e.event != kEventAccepted) continue;
    if (e.control == window.number("?Cancel")) return;
    if (e.control != window.number("?Restore")) continue;
    const backup::BackupSet* set = chosen();
    if (!set) continue;
    if (const std::string user = DataFilesInUse(); !user.empty()) {
      Message(fill(kInUse, {user}), kRestoreCaption, kIconExclamation);
      continue;
    }
    if (Message(fill(kConfirm, {madeText(*set)}), kRestoreCaption, kIconQuestion, kButtonYes | kButtonNo,
                kButtonNo) != kButtonYes)
      continue;
    window.close();
    restore(*set);
    return;
  }
}

}  // namespace vesp
