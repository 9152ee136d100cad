#include "runtime/print/page_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace vrt {

namespace {

constexpr int kGap = 12;               // pixels around and between pages
constexpr double kScreenPerPoint = 96.0 / 72.0;  // 100% zoom: a point is as big as on paper

}  // namespace

class PageView::Canvas : public QWidget {
 public:
  explicit Canvas(PageView& view) : QWidget(&view), view_(view) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(128, 128, 128).darker(130));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int shown = view_.shownCount();
    for (int i = 0; i < shown; ++i) {
      const int number = view_.first_ + i;
      const QRectF r = view_.tileRect(i);
      const bool tiles = view_.zoom_ == kTile;
      const bool selected = !view_.selected_ || view_.selected_(number);
      painter.fillRect(r, tiles ? tileBackground(selected) : QColor(Qt::white));
      painter.setPen(Qt::black);
      painter.drawRect(r);
      if (const RecordedPage* page = view_.cached(number)) {
        painter.save();
        painter.translate(r.topLeft());
        painter.scale(r.width() / page->width, r.width() / page->width);
        paintPage(painter, *page);
        painter.restore();
      }
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || !view_.clicked_) return;
    for (int i = 0; i < view_.shownCount(); ++i) {
      const QRectF r = view_.tileRect(i);
      if (r.contains(event->position())) {
        view_.clicked_(view_.first_ + i, (event->position().y() - r.top()) / r.height());
        return;
      }
    }
  }

 private:
  PageView& view_;
};

PageView::PageView(const PageStore& pages, QWidget* parent) : QScrollArea(parent), pages_(pages), canvas_(new Canvas(*this)) {
  setWidget(canvas_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setMinimumSize(320, 240);
}

QColor PageView::tileBackground(bool selected) { return selected ? QColor(255, 255, 255) : QColor(128, 128, 128); }

void PageView::show(int first, int across, int down, int zoom) {
  first_ = std::clamp(first, 1, std::max(1, pages_.count()));
  across_ = std::max(1, across);
  down_ = std::max(1, down);
  zoom_ = zoom;
  relayout();
}

int PageView::shownCount() const {
  if (pages_.count() == 0) return 0;
  const int left = pages_.count() - first_ + 1;
  return zoom_ == kTile ? std::min(left, across_ * down_) : 1;
}

void PageView::setSelected(std::function<bool(int)> selected) {
  selected_ = std::move(selected);
  canvas_->update();
}

double PageView::scale() const {
  const double pageWidth = kLetterWidth, pageHeight = kLetterHeight;
  const QSize room = viewport()->size();
  if (zoom_ == kTile) {
    const double w = (room.width() - kGap * (across_ + 1)) / double(across_) / pageWidth;
    const double h = (room.height() - kGap * (down_ + 1)) / double(down_) / pageHeight;
    return std::max(0.02, std::min(w, h));
  }
  if (zoom_ == kPageWidth) return std::max(0.05, (room.width() - 2.0 * kGap - verticalScrollBar()->sizeHint().width()) / pageWidth);
  return kScreenPerPoint * zoom_ / 100.0;
}

QRectF PageView::tileRect(int index) const {
  const double s = scale();
  const double w = kLetterWidth * s, h = kLetterHeight * s;
  const int across = zoom_ == kTile ? across_ : 1;
  const int col = index % across, row = index / across;
  double left = kGap + col * (w + kGap);
  if (zoom_ == kTile) left += std::max(0.0, (canvas_->width() - across * (w + kGap) - kGap) / 2);
  return QRectF(left, kGap + row * (h + kGap), w, h);
}

void PageView::relayout() {
  const double s = scale();
  const int across = zoom_ == kTile ? across_ : 1, down = zoom_ == kTile ? down_ : 1;
  const int w = int(kLetterWidth * s * across + kGap * (across + 1));
  const int h = int(kLetterHeight * s * down + kGap * (down + 1));
  canvas_->resize(std::max(w, viewport()->width()), zoom_ == kTile ? viewport()->height() : h);
  canvas_->update();
}

void PageView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  relayout();
}

void PageView::scrollToFraction(double fraction) {
  const QRectF r = tileRect(0);
  verticalScrollBar()->setValue(int(r.top() + r.height() * std::clamp(fraction, 0.0, 1.0) - viewport()->height() / 2));
}

int PageView::pageAt(QPoint viewportPoint, double* fraction) const {
  const QPointF p = canvas_->mapFrom(viewport(), viewportPoint);
  for (int i = 0; i < shownCount(); ++i) {
    const QRectF r = tileRect(i);
    if (!r.contains(p)) continue;
    if (fraction) *fraction = (p.y() - r.top()) / r.height();
    return first_ + i;
  }
  return 0;
}

QWidget* PageView::canvas() const { return canvas_; }

void PageView::reload() {
  cache_.clear();
  first_ = std::clamp(first_, 1, std::max(1, pages_.count()));
  relayout();
}

const RecordedPage* PageView::cached(int page) const {
  auto it = cache_.find(page);
  if (it != cache_.end()) return &it->second;
  RecordedPage read;
  if (!pages_.page(page, read)) return nullptr;
  // Only the pages around the ones shown are kept in memory.
  if (cache_.size() > 64) cache_.clear();
  return &cache_.emplace(page, std::move(read)).first->second;
}

}  // namespace vrt
