#pragma once
// One page of a report as the drawing calls that made it, so that the preview, the printer
// and the PDF writer replay the very same page at any scale. Coordinates are points
// (1/72 inch) from the page's top left corner; a text's font size is in points too.
#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace vrt {

inline constexpr double kLetterWidth = 612, kLetterHeight = 792;

struct PageItem {
  enum Kind : int { Text, Line, Box, Dot };
  int kind = Text;
  QRectF rect;           // Text: where it sits; Line: from top left to bottom right; Box: the box;
                         // Dot: a filled circle inside it
  QString text;
  double fontSize = 9;
  bool bold = false;
  int align = 0;         // Qt::Alignment flags of a text
  bool fixedPitch = false;  // every character as wide as the next (page numbers line up)
  QColor color = Qt::black;  // of the text, line, box or dot
  double penWidth = 0.75;    // of a line or box, in points
};

struct RecordedPage {
  double width = kLetterWidth, height = kLetterHeight;
  std::vector<PageItem> items;

  // Every text on the page, top to bottom as drawn (for tests and search).
  QString allText() const;
};

// The families every page is drawn in; they must exist wherever pages are measured and replayed.
QString reportFontFamily();
QString reportFixedFontFamily();

// Draws the page with its top left at the painter's origin, one point to one painter unit.
void paintPage(QPainter& painter, const RecordedPage& page);

// Pages travel to disk and back in this form; false on a file that is not one.
bool savePage(const RecordedPage& page, const QString& path);
bool loadPage(const QString& path, RecordedPage& page);

}  // namespace vrt
