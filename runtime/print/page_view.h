#pragma once
// The pages of a report on screen: one page at a zoom (a percentage, or fitted to the
// width), or as tiles, as many whole pages as the across and down counts give, each on a
// background that tells whether it is selected for printing.
#include <QColor>
#include <QScrollArea>
#include <functional>
#include <map>

#include "runtime/print/page_store.h"

namespace vrt {

class PageView : public QScrollArea {
 public:
  static constexpr int kTile = -2, kPageWidth = -1;

  explicit PageView(const PageStore& pages, QWidget* parent = nullptr);

  // What to show: `first` is the current page (the first tile in tile mode).
  void show(int first, int across, int down, int zoom);
  int zoom() const { return zoom_; }
  int first() const { return first_; }
  // The pages shown at once: across × down in tile mode (no more than are left), else 1.
  int shownCount() const;
  // Tile backgrounds: white for a page selected for printing, grey for the others.
  void setSelected(std::function<bool(int page)> selected);
  static QColor tileBackground(bool selected);
  // Scrolls so that `fraction` (0 to 1) of the page's height is in view.
  void scrollToFraction(double fraction);
  // The page under a point of the view, with the height clicked as a fraction; 0 off pages.
  int pageAt(QPoint viewportPoint, double* fraction = nullptr) const;

  // Told of every left click on a page.
  void setClicked(std::function<void(int page, double fraction)> clicked) { clicked_ = std::move(clicked); }
  // Pages are read again (after pages were dropped).
  void reload();

  // Device pixels per page point at the current zoom.
  double scale() const;
  // Where the `index`-th page shown (0-based) lies, in the scrolled canvas's pixels.
  QRectF tileRect(int index) const;
  QWidget* canvas() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Canvas;
  friend class Canvas;
  const RecordedPage* cached(int page) const;
  void relayout();

  const PageStore& pages_;
  Canvas* canvas_;
  int first_ = 1, across_ = 1, down_ = 1, zoom_ = kTile;
  std::function<bool(int)> selected_;
  std::function<void(int, double)> clicked_;
  mutable std::map<int, RecordedPage> cache_;
};

}  // namespace vrt
