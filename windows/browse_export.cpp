#include "windows/browse_export.h"

#include <QSaveFile>
#include <QTime>

#include "records/levels.h"
#include "runtime/gui/control.h"
#include "runtime/gui/file_dialog.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"
#include "runtime/text/csv.h"
#include "windows/browse_manager.h"
#include "windows/save_name.h"
#include "windows/timed_batches.h"
#include "windows/window_controller.h"
#include "windows/work_progress.h"

namespace vesp {

namespace {

using namespace vrt;

constexpr const char* kCaption = "Export to CSV";
constexpr const char* kExported = "%2 written to|%1";
constexpr const char* kFailed = "The export did not succeed; no file was written.|%1";
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kTimeSlice = 25;  // hundredths of a second of work between two looks at Cancel

std::string fill(std::string text, const std::string& one, const std::string& two = {}) {
  if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, one);
  if (const auto at = text.find("%2"); at != std::string::npos) text.replace(at, 2, two);
  return text;
}

std::string recordsText(std::int64_t n) { return std::to_string(n) + (n == 1 ? " record" : " records"); }

PagedList* pagedListOf(BrowseManager& b) {
  Window* window = b.WINDOW() ? b.WINDOW()->MYWINDOW() : nullptr;
  Control* list = window && b.ILC() ? window->control(b.ILC()->Control()) : nullptr;
  return list ? list->list() : nullptr;
}

// One export: the browse's view read from the start through the browse's own reading and
// rows, into a file that only takes the place of `path` once it is complete. The browse
// gets its buffers and its page back when the export ends, however it ends.
class CsvExport {
 public:
  CsvExport(BrowseManager& browse, PagedList& list, const std::string& path)
      : browse_(browse), list_(list), file_(QString::fromStdString(path)) {}
  ~CsvExport() {
    if (file_.isOpen()) file_.cancelWriting();
    if (!started_) return;
    browse_.RestoreTableBuffers();
    browse_.FillPage(BrowseManager::kFromHighlight);
    browse_.RefreshControls();
  }

  bool open(std::string& error) {
    if (!file_.open(QIODevice::WriteOnly)) return error = file_.errorString().toStdString(), false;
    std::vector<std::string> headings;
    for (int c = 1; c <= list_.columnCount(); ++c)
      for (std::string& h : list_.headingsOf(c)) headings.push_back(std::move(h));
    if (!write(kByteOrderMark + CsvLine(headings))) return error = file_.errorString().toStdString(), false;
    for (int c = 1; c <= list_.columnCount(); ++c)
      for (bool number : list_.numbersOf(c)) kinds_.push_back(number ? CsvKind::Number : CsvKind::Text);
    browse_.SaveTableBuffers();
    started_ = true;
    browse_.Reposition();
    total_ = browse_.PRIMARY() && browse_.PRIMARY()->Me()->FILE() ? browse_.PRIMARY()->Me()->FILE()->records() : 0;
    return true;
  }

  // The next record's line; false at the end or when reading or writing failed.
  bool step() {
    const ReadResult result = browse_.ReadNext();
    if (result != ReadResult::Ok) {
      readFailed_ = result != ReadResult::End;
      return false;
    }
    ListRow row;
    browse_.StoreRow(row);
    std::vector<std::string> fields;
    for (int c = 1; c <= list_.columnCount(); ++c)
      for (std::string& text : list_.textsOf(row.columns, c)) fields.push_back(std::move(text));
    if (!write(CsvLine(fields, kinds_))) return false;
    ++written_;
    return true;
  }

  // One timed batch of records inside one read of the view; false once there are no more.
  bool batch(TimedBatches& batches) {
    const bool held = browse_.VIEW()->beginBatch();
    const bool more = batches.RunTimerEvent([this] { return step(); });
    if (held) browse_.VIEW()->endBatch();
    return more && !failed();
  }

  // Puts the file in place; "" or what went wrong.
  std::string commit() {
    if (writeFailed_) return file_.errorString().toStdString();
    if (readFailed_) return "the records could not be read to the end";
    if (!file_.commit()) return file_.errorString().toStdString();
    return {};
  }

  bool failed() const { return readFailed_ || writeFailed_; }
  std::int64_t written() const { return written_; }
  int percent() const { return ProgressPercent(written_, total_); }

 private:
  bool write(const std::string& text) {
    if (file_.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size())) return true;
    writeFailed_ = true;
    return false;
  }

  BrowseManager& browse_;
  PagedList& list_;
  QSaveFile file_;
  std::vector<CsvKind> kinds_;  // of each column's texts
  bool started_ = false, readFailed_ = false, writeFailed_ = false;
  std::int64_t written_ = 0, total_ = 0;
};

long hundredthsOfDay() { return QTime::currentTime().msecsSinceStartOfDay() / 10; }

}  // namespace

void ExportToCsv(BrowseManager& browse) {
  PagedList* list = pagedListOf(browse);
  if (!list || !browse.VIEW() || !browse.PRIMARY()) return;
  const std::string suggested = browse.PRIMARY()->Me()->FILE() ? browse.PRIMARY()->Me()->FILE()->schema().label + ".csv" : "";
  FileDialogRequest request;
  request.title = kCaption;
  request.defaultName = suggested;
  request.masks = {{"CSV Files", "*.csv"}, {"All Files", "*.*"}};
  request.restoreDirectory = true;
  const std::string path = AskSaveName(request, "csv", kCaption);
  if (path.empty()) return;

  std::string error;
  std::int64_t written = 0;
  bool cancelled = false;
  {
    CsvExport job(browse, *list, path);
    if (job.open(error)) {
      WorkProgress progress(kExportProgressCaption, true);
      TimedBatches batches(hundredthsOfDay, kTimeSlice);
      for (bool more = true; more;) {
        if (!progress.waitForTick()) {
          cancelled = true;
          break;
        }
        more = job.batch(batches);
        progress.show(recordsText(job.written()) + " written", job.percent());
      }
      if (!cancelled) error = job.commit();
      written = job.written();
    }
  }
  if (cancelled) return;
  if (!error.empty()) Message(fill(kFailed, error), kCaption, kIconExclamation);
  else Message(fill(kExported, path, recordsText(written) + (written == 1 ? " was" : " were")), kCaption, kIconInformation);
}

}  // namespace vesp
