#include "windows/report_manager.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <memory>

#include "records/error_manager.h"
#include "records/message_block.h"
#include "records/levels.h"
#include "records/messages.h"
#include "records/thread_dictionary.h"
#include "records/view_manager.h"
#include "runtime/expr/expression.h"
#include "runtime/gui/window.h"
#include "runtime/print/page_output.h"
#include "runtime/print/printer.h"
#include "runtime/print/report_layout.h"
#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"
#include "windows/preview_window.h"
#include "windows/report_order.h"
#include "windows/window_placement.h"

namespace vesp {

using namespace vrt;

namespace {

constexpr int kReportOutputMessage = 60;

ReportSettings& settings() {
  static ReportSettings s;
  return s;
}

std::vector<ReportOutcome>& outcomes() {
  static std::vector<ReportOutcome> all;
  return all;
}

// Only the latest runs are of interest.
void noteOutcome(const ReportOutcome& outcome) {
  auto& all = outcomes();
  if (all.size() >= 64) all.erase(all.begin());
  all.push_back(outcome);
}

long timeOfDay() { return QTime::currentTime().msecsSinceStartOfDay() / 10; }

std::string upper(std::string_view s) { return vrt::upperCase(s); }

// The progress window: thermometer, the user text, "n% Complete" and Cancel.
WindowSpec progressDesign(const ReportDeclaration& report, const std::string& userText) {
  WindowSpec design = windowSpec(report.progressCaption, report.procedure);
  design.controls = {
      progress("?Progress:Thermometer", 0, 100),
      prompt(userText, "?Progress:UserString"),
      prompt("0% Complete", "?Progress:PctText"),
      button("?Progress:Cancel", "Cancel").icon("WACANCEL.ICO").help("Cancel Report").makeCancel(),
  };
  return design;
}

QString cellText(RecordRef record, const FieldDesc& f, const char* picture) {
  std::string text;
  if (!picture || !*picture) {
    text = record.text(f);
  } else if (isTextType(f.type)) {
    text = formatPicture(record.text(f), picture);
  } else {
    text = formatPicture(record.number(f), picture);
  }
  return QString::fromStdString(text).trimmed();
}

// The records of the report's table, read through a view in the chosen order.
class ViewRows : public ReportRowSource {
 public:
  ViewRows(const ReportDeclaration& report, const ReportRun& run, const std::string& order)
      : report_(report), file_(Access(*report.table)) {
    static_cast<void>(file_.Open());
    view_ = std::make_unique<View>(TableFile(*report.table));
    views_.Setup(*view_, Relate(*report.table), &orders_);
    views_.PutOrderText(order);
    if (*report.filter) views_.PutNamedFilter(report.filter);
    if (!run.queryFilter.empty()) {
      // A query that cannot be evaluated prints nothing: never every record under its title.
      if (const auto parsed = expr::Expression::parse(run.queryFilter); !parsed)
        error_ = "The query cannot be printed: " + parsed.error.message;
      else
        views_.PutNamedFilter(run.queryFilter, "6 Query");
    }
    views_.Reposition();
    total_ = TableFile(*report.table).records();
    if (total_ == 0) {
      byBytes_ = true;
      total_ = QFileInfo(QString::fromStdString(TableFile(*report.table).path())).size();
    }
  }
  ~ViewRows() override {
    views_.Shutdown();
    view_.reset();
    static_cast<void>(file_.Close());
  }

  bool next(ReportLine& line) override {
    if (!note_.isEmpty()) {
      line = ReportLine::note(QString::fromUtf8(report_.noteLabel) + " " + std::exchange(note_, {}), report_.noteColumn);
      return true;
    }
    if (!error_.empty()) return false;
    if (const ReadResult rc = views_.ReadNext(); rc != ReadResult::Ok) {
      failed_ = rc != ReadResult::End;  // the end of the records, or a read that failed
      return false;
    }
    ++read_;
    const auto& fields = file_.FILE()->schema().fields;
    const auto text = [&](int field) {
      return QString::fromStdString(file_.BUFFER()->text(fields[static_cast<std::size_t>(field)])).trimmed();
    };
    line.kind = ReportLine::Detail;
    line.cells.clear();
    for (const ReportColumnDecl& c : report_.columns) {
      QString cell = cellText(*file_.BUFFER(), fields[static_cast<std::size_t>(c.field)], c.picture);
      if (c.beside >= 0 && !text(c.beside).isEmpty()) cell += " (" + text(c.beside) + ")";
      line.cells.push_back(cell);
    }
    if (report_.note >= 0) note_ = text(report_.note);
    return true;
  }
  int percent() const override {
    const long long done = byBytes_ ? read_ * static_cast<long long>(file_.BUFFER()->size()) : read_;
    return ProgressPercent(done, total_);
  }
  long read() const override { return read_; }
  // A filter that lets no record through leaves as little to print as an empty table.
  bool empty() const override { return error_.empty() && !failed_ && read_ == 0; }
  std::string error() const override {
    if (!error_.empty()) return error_;
    if (!failed_) return {};
    return "The report stopped after " + std::to_string(read_) + (read_ == 1 ? " record" : " records") +
           " because the next one could not be read. An incomplete report is not shown.";
  }

 private:
  const ReportDeclaration& report_;
  FileManager& file_;
  std::unique_ptr<View> view_;
  std::vector<ViewManager::SortOrder> orders_ = std::vector<ViewManager::SortOrder>(1);
  ViewManager views_;
  long long total_ = 0;
  long read_ = 0;
  bool byBytes_ = false;
  std::string error_;
  QString note_;  // the last record's note, printed before the next record is read
  bool failed_ = false;
};

// The run between the order window and the preview: the rows, the layout and the batches.
class ReportProcess {
 public:
  ReportProcess(const ReportDeclaration& report, ReportRun& run, const std::string& order, PageStore& pages)
      : rows_(run.rows ? run.rows() : std::make_unique<ViewRows>(report, run, order)) {
    ReportLayoutDesign design;
    design.title = QString::fromStdString(run.title.empty() ? report.title : run.title);
    for (const ReportColumnDecl& c : report.columns)
      design.columns.push_back({c.title, c.width, c.rightAligned ? int(Qt::AlignRight) : int(Qt::AlignLeft)});
    if (report.detailSize > 0) design.detailSize = design.headerSize = report.detailSize;
    // The stamps are taken once, when the report opens.
    design.dateStamp = QString::fromStdString(formatPicture(double(today()), "@d17"));
    design.timeStamp = QString::fromStdString(formatPicture(double(clockNow()), "@t7"));
    layout_ = std::make_unique<ReportLayout>(std::move(design), pages);
  }

  // Prints one line; false at the end of the rows or when a page failed.
  bool next() {
    if (failed_ || !rows_->next(line_)) return false;
    bool ok = true;
    switch (line_.kind) {
      case ReportLine::Detail: ok = layout_->printDetail(line_.cells); break;
      case ReportLine::Field:
        ok = layout_->printField(line_.cells.empty() ? QString() : line_.cells[0],
                                 line_.cells.size() < 2 ? QString() : line_.cells[1]);
        break;
      case ReportLine::Section: ok = layout_->beginSection(line_.caption, std::move(line_.columns)); break;
      case ReportLine::Total: ok = layout_->printTotal(line_.cells); break;
      case ReportLine::Note: ok = layout_->printNote(line_.cells.empty() ? QString() : line_.cells[0], line_.column); break;
      case ReportLine::Drawing: ok = layout_->printDrawing(line_.height, line_.draw); break;
    }
    if (!ok) failed_ = true;
    return !failed_;
  }
  bool finish() {
    if (!failed_ && !layout_->finish()) failed_ = true;
    return !failed_;
  }
  int percent() const { return rows_->percent(); }
  long read() const { return rows_->read(); }
  bool failed() const { return failed_; }
  bool empty() const { return rows_->empty(); }
  std::string rowsError() const { return rows_->error(); }

 private:
  std::unique_ptr<ReportRowSource> rows_;
  std::unique_ptr<ReportLayout> layout_;
  ReportLine line_;
  bool failed_ = false;
};

// Times the batches and keeps the progress window up to date; true when the view ran out.
bool runBatches(Window& window, ReportProcess& process, const ReportSettings& s, ReportOutcome& outcome) {
  const TimedBatches::Clock clock = s.clock ? s.clock : TimedBatches::Clock(timeOfDay);
  TimedBatches batches(clock, s.TIMESLICE);
  Control* thermometer = window.control("?Progress:Thermometer");
  Control* percentText = window.control("?Progress:PctText");
  const int cancel = window.number("?Progress:Cancel");
  const long start = clock();
  int defer = s.DEFERTIME, shown = -1;
  if (defer > 0 && s.WAITCURSOR) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const auto showPercent = [&] {
    const int p = process.percent();
    if (p == shown) return;
    shown = p;
    thermometer->setValue(std::to_string(p));
    percentText->setText(std::to_string(p) + "% Complete");
  };
  bool ended = false;
  window.setTimer(10);
  while (!ended) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
    if (e.event == kEventAccepted && e.control == cancel) break;
    if (e.event != kEventTimer) continue;
    if (defer > 0) {
      long since = clock() - start;
      if (since < 0) since += TimedBatches::kDay;
      if (since > defer * 100L) {
        defer = 0;
        if (s.WAITCURSOR) QGuiApplication::restoreOverrideCursor();
        window.setVisible(true);
      }
    }
    ended = !batches.RunTimerEvent([&] {
      const bool more = process.next();
      if (defer == 0) showPercent();
      return more;
    });
    outcome.longestEvent = batches.longestEventTime();
  }
  window.setTimer(0);
  if (defer > 0 && s.WAITCURSOR) QGuiApplication::restoreOverrideCursor();
  return ended;
}

}  // namespace

void SetReportSettings(const ReportSettings& s) { settings() = s; }
const ReportSettings& CurrentReportSettings() { return settings(); }
const std::vector<ReportOutcome>& ReportOutcomes() { return outcomes(); }

void ReportOutputError(const std::string& text) {
  // Added each time: the error manager's table is set up anew whenever the program starts.
  const MessageEntry entry{kReportOutputMessage, Level::Notify, "Report Output Error",
                           "%Message", {}};
  errorManager().AppendMessages(packMessages(std::span(&entry, 1)));
  static_cast<void>(errorManager().RaiseWithText(kReportOutputMessage, text));
}

ReportOutcome RunReport(const ReportDeclaration& report, ReportRun run) {
  ProcedureScope scope(report.procedure);
  const ReportSettings s = settings();
  ReportOutcome outcome;
  const auto finish = [&outcome] {
    noteOutcome(outcome);
    return outcome;
  };
  std::string order = report.orders.empty() ? "" : report.orders.front().order;
  // One order, or none, leaves nothing to choose.
  if (report.orders.size() > 1) {
    std::vector<std::string> names;
    for (const ReportOrderDecl& o : report.orders) names.push_back(o.name);
    const OrderChoice choice = AskReportOrder(names);
    if (choice.cancelled) {
      outcome.cancelled = true;
      return finish();
    }
    for (const ReportOrderDecl& o : report.orders)
      if (upper(o.name) == upper(choice.name)) order = o.order;
  }
  if (run.afterOrder) run.afterOrder(run);

  PageStore pages;
  bool ended = false, failed = false, empty = false;
  std::string rowsError;
  {
    ReportProcess process(report, run, order, pages);
    Window window(progressDesign(report, run.title.empty() ? report.title : run.title));
    RestoreWindowPlacement(report.procedure, window);
    window.open();
    if (s.DEFERTIME > 0) window.setVisible(false);
    ended = runBatches(window, process, s, outcome);
    if (ended) failed = !process.finish();
    empty = process.empty();
    rowsError = process.rowsError();
    outcome.records = process.read();
    SaveWindowPlacement(report.procedure, window);
  }
  outcome.pages = pages.count();
  if (!ended) {
    outcome.cancelled = true;
    return finish();
  }
  if (!rowsError.empty()) {
    ReportOutputError(rowsError);
    return finish();
  }
  if (failed) {
    ReportOutputError("The report's pages could not be written to " + pages.folder().toStdString() +
                      ". The disk may be full.");
    return finish();
  }
  if (empty) {
    // No record to print, from an empty table or a filter that let none through: there is
    // nothing to show, not even a header worth printing.
    outcome.noRecords = true;
    static_cast<void>(errorManager().Raise(Msg::NoRecords));
    return finish();
  }
  noteOutcome(outcome);
  if (s.SKIPPREVIEW) {
    std::vector<int> all;
    for (int p = 1; p <= pages.count(); ++p) all.push_back(p);
    const OutputResult r = printPages(sharedPrinter(), pages, all);
    if (!r.ok) ReportOutputError(r.error.toStdString());
  } else {
    RunPreview(pages, {});
  }
  return outcome;
}

}  // namespace vesp
