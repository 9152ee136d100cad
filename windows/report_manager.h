#pragma once
// A list report declared as data and run the one way every report runs: the user picks the
// order, the records of a view are read in timed batches behind a progress window and
// printed into the report layout, and the pages go to the print preview (or straight to
// the printer). Runs on the calling thread, which takes events between timer ticks, so the
// program's other windows stay usable while a report runs.
//
// A computed report gives its run a row source instead of a table: its lines are printed
// the same way, through the same progress window, preview and outputs.
#include <functional>
#include <string>
#include <vector>

#include "dictionary/declare.h"
#include "windows/report_rows.h"
#include "windows/timed_batches.h"

namespace vesp {

struct ReportColumnDecl {
  const char* title;
  int field;             // index in the primary table; unused by computed reports
  const char* picture;   // "" prints the field as stored
  double width;          // share of the page width
  bool rightAligned = false;
  int beside = -1;       // a field printed after the value, in parentheses, when not blank
};

struct ReportOrderDecl {
  const char* name;   // as the order window lists it
  const char* order;  // the view's order text
};

struct ReportDeclaration {
  const char* procedure;  // "ReportPrayerRequest"
  const char* module;     // "vsp051"
  const char* title;
  const dict::TableDecl* table;  // nullptr: a computed report, whose run gives its rows
  std::vector<ReportColumnDecl> columns;  // a computed report's sections may bring their own
  std::vector<ReportOrderDecl> orders;  // the order window shows when there are two or more
  const char* filter = "";  // the report's own filter, "5 Standard"
  const char* progressCaption = "Report Prayer Request";
  const char* reportName = "PrayerRequest Report";
  double detailSize = 0;  // points of the lines and column titles; 0: the layout's own (wide lists take less)
  // A field printed under its record's line when not blank, after a label, from the column
  // `noteColumn` (0-based) to the margin, wrapped (and on over the next page when it must):
  // -1 for none.
  int note = -1;
  const char* noteLabel = "";
  int noteColumn = 0;
};

// What one run adds to its declaration.
struct ReportRun {
  std::string title;        // empty: the declaration's
  std::string queryFilter;  // the user's query, installed as "6 Query"
  // Runs after the user picked the order, before any file is opened.
  std::function<void(ReportRun&)> afterOrder;
  // A computed report's lines, made once the order is known; empty: the table's view.
  std::function<std::unique_ptr<ReportRowSource>()> rows;
};

// The report manager's own settings and what it measured, for callers that tune it.
struct ReportSettings {
  int TIMESLICE = 100;     // hundredths of a second
  int DEFERTIME = 0;       // seconds; 0 shows the progress window at once
  bool WAITCURSOR = false;
  bool SKIPPREVIEW = false;
  TimedBatches::Clock clock;  // empty: the time of day
};

struct ReportOutcome {
  bool cancelled = false;   // at the order window or the progress window
  bool noRecords = false;   // message 25 was shown
  long records = 0;         // records printed
  int pages = 0;            // pages produced
  long longestEvent = 0;    // hundredths, the longest timer event's work
};

// Runs the report; returns when its preview closes (or when it ended before).
ReportOutcome RunReport(const ReportDeclaration& report, ReportRun run = {});

// Settings for every report run from now on (benchmarks and tests); the default restores.
void SetReportSettings(const ReportSettings& settings);
const ReportSettings& CurrentReportSettings();

// The latest report runs' outcomes, newest last (for tests and benchmarks).
const std::vector<ReportOutcome>& ReportOutcomes();

// Tells the user that printing or saving failed, through the error manager.
void ReportOutputError(const std::string& text);

}  // namespace vesp
