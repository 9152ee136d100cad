#pragma once
// Where a report's lines come from. A list report reads the records of one table's view;
// a computed report (song usage, a service's order) works its lines out in code. Either
// way the report runner takes one line per step of its timed batches and prints it into
// the report layout, behind the same progress window and into the same preview.
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/print/report_layout.h"

namespace vesp {

struct ReportLine {
  enum Kind { Detail, Field, Section, Total, Note, Drawing };
  Kind kind = Detail;
  // Detail and Total: a value per column of the current list; Field: label and value.
  std::vector<QString> cells;
  // Section: its caption and columns (which the lines after it fill).
  QString caption;
  std::vector<vrt::ReportColumn> columns;

  static ReportLine detail(std::vector<QString> values) { return {Detail, std::move(values), {}, {}}; }
  static ReportLine field(QString label, QString value) { return {Field, {std::move(label), std::move(value)}, {}, {}}; }
  static ReportLine section(QString caption, std::vector<vrt::ReportColumn> columns) {
    return {Section, {}, std::move(caption), std::move(columns)};
  }
  static ReportLine total(std::vector<QString> values) { return {Total, std::move(values), {}, {}}; }
  // Note: a text under the record just printed, from column `column` (0-based) to the margin.
  static ReportLine note(QString text, int column) {
    ReportLine l{Note, {std::move(text)}, {}, {}};
    l.column = column;
    return l;
  }
  int column = 0;
  // Drawing: a chart `height` points tall across the page.
  static ReportLine drawing(double height, vrt::ReportLayout::Drawing draw) {
    ReportLine l{Drawing, {}, {}, {}};
    l.height = height;
    l.draw = std::move(draw);
    return l;
  }
  double height = 0;
  vrt::ReportLayout::Drawing draw = {};
};

class ReportRowSource {
 public:
  virtual ~ReportRowSource() = default;
  // The next line; false at the end, or when reading failed (then error() says why).
  virtual bool next(ReportLine& line) = 0;
  virtual int percent() const = 0;
  // Records (detail lines) given so far.
  virtual long read() const = 0;
  // Nothing to report at all: the user is told so instead of seeing a preview.
  virtual bool empty() const = 0;
  virtual std::string error() const { return {}; }
};

// The lines of a computed report, worked out by `compute` when the first is asked for
// (so the progress window is up meanwhile). `compute` returns false with a text for the
// user when it could not read what it needs. Without a single detail line the report is
// empty when `emptyWithoutDetails` says so.
using ComputeLines = std::function<bool(std::vector<ReportLine>& lines, std::string& error)>;
std::unique_ptr<ReportRowSource> ComputedRows(ComputeLines compute, bool emptyWithoutDetails);

}  // namespace vesp
