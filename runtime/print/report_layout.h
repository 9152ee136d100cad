#pragma once
// A list report's page layout: a page header with the title and a box of column titles, a
// detail band per record, and a page footer with the date stamp, the time stamp and the
// page number. Long values wrap inside their column over as many lines as they need; a
// record that does not fit at the foot of a page moves to the next one, and a record
// taller than a whole page goes on over as many pages as it needs.
//
// A report of several lists (a service's elements, then its passages) prints a heading
// block of labelled fields under the title, then a section per list, each with a caption
// and column titles of its own (repeated, "(continued)", at the top of a following page),
// and total lines under a section's columns.
#include <QString>
#include <functional>
#include <vector>

#include "runtime/print/page_store.h"
#include "runtime/print/recorded_page.h"

namespace vrt {

struct ReportColumn {
  QString title;
  double width = 72;  // points; the columns share the width between the margins in this ratio
  int align = 0;      // Qt::AlignLeft or Qt::AlignRight
};

struct ReportLayoutDesign {
  QString title;
  std::vector<ReportColumn> columns;
  QString dateStamp, timeStamp;  // as the footer shows them after "Date:" and "Time:"
  double pageWidth = kLetterWidth, pageHeight = kLetterHeight, margin = 36;
  double titleSize = 14, headerSize = 9, detailSize = 9, footerSize = 8;
};

// "Page" then the number in three places, leading zeros dropped: "Page   1".
QString PageNumberText(int page);

class ReportLayout {
 public:
  ReportLayout(ReportLayoutDesign design, PageStore& pages);

  // One record: a value per column (missing ones print empty). False once the store could
  // not take a page (the disk is full, say).
  bool printDetail(const std::vector<QString>& values);
  // Closes the last page. A report without a record still has its one page.
  bool finish();
  // A heading-block line: a bold label and its value, which wraps beside it.
  bool printField(const QString& label, const QString& value);
  // Starts a list of its own: its caption (empty: none) and column titles. It moves to a
  // new page when the caption, the titles and two lines would not fit on this one.
  bool beginSection(const QString& caption, std::vector<ReportColumn> columns);
  // A note under the record just printed: it runs from column `fromColumn` (0-based) of the
  // current list to the right margin, wrapped, and on over the next page when it must.
  bool printNote(const QString& text, int fromColumn);
  // A total under a rule, in bold: a value per column of the current list.
  bool printTotal(const std::vector<QString>& values);
  // A drawing (a chart) across the width between the margins, `height` points tall: `draw`
  // adds its items to the page inside the area it is given. It starts a new page when it
  // does not fit under what this one holds; a drawing taller than a page is cut to fit.
  using Drawing = std::function<void(std::vector<PageItem>& items, const QRectF& area)>;
  bool printDrawing(double height, const Drawing& draw);
  int detailLines() const { return detailLines_; }

  // The lines `text` takes in a column `width` points wide, in the detail font.
  std::vector<QString> wrap(const QString& text, double width, bool bold = false) const;

 private:
  void beginPage();
  bool endPage();
  void placeColumns();
  void sectionHead(const QString& caption);
  double captionHeight() const;   // a section's caption line
  double titleBoxHeight() const;  // the box of column titles
  // Cells side by side, `x` and `widths` per cell, wrapped and split over pages as needed.
  bool printCells(const std::vector<QString>& values, const std::vector<double>& x, const std::vector<double>& widths,
                  const std::vector<int>& aligns, const std::vector<bool>& bold);
  std::vector<int> aligns() const;

  ReportLayoutDesign design_;
  PageStore& pages_;
  std::vector<ReportColumn> columns_;  // of the current list
  QString section_;                    // the current list's caption
  std::vector<double> x_, widths_;
  RecordedPage page_;
  bool pageOpen_ = false;
  double y_ = 0, detailTop_ = 0, detailBottom_ = 0, lineHeight_ = 12;
  int pageNumber_ = 0, detailLines_ = 0;
};

}  // namespace vrt
