#include "runtime/print/recorded_page.h"

#include <QDataStream>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

namespace vrt {

namespace {

constexpr quint32 kMagic = 0x56504732;  // "VPG2"

QDataStream& operator<<(QDataStream& s, const PageItem& i) {
  return s << qint32(i.kind) << i.rect << i.text << i.fontSize << i.bold << qint32(i.align) << i.fixedPitch << i.color
           << i.penWidth;
}

QDataStream& operator>>(QDataStream& s, PageItem& i) {
  qint32 kind = 0, align = 0;
  s >> kind >> i.rect >> i.text >> i.fontSize >> i.bold >> align >> i.fixedPitch >> i.color >> i.penWidth;
  i.kind = kind;
  i.align = align;
  return s;
}

}  // namespace

QString RecordedPage::allText() const {
  QString out;
  for (const PageItem& i : items)
    if (i.kind == PageItem::Text) out += i.text + '\n';
  return out;
}

QString reportFontFamily() {
  static const QString family = [] {
    // A sans family that every machine here has; the desktop's own font otherwise.
    for (const char* name : {"DejaVu Sans", "Liberation Sans", "Arial"})
      if (QFontDatabase::hasFamily(name)) return QString(name);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

QString reportFixedFontFamily() {
  static const QString family = [] {
    for (const char* name : {"DejaVu Sans Mono", "Liberation Mono", "Courier New"})
      if (QFontDatabase::hasFamily(name)) return QString(name);
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  }();
  return family;
}

void paintPage(QPainter& painter, const RecordedPage& page) {
  painter.save();
  painter.setPen(QPen(Qt::black, 0.75));
  QFont font(reportFontFamily()), fixed(reportFixedFontFamily());
  const double dpi = painter.device() ? painter.device()->logicalDpiY() : 72.0;
  const QPen plain(Qt::black, 0.75);
  for (const PageItem& i : page.items) {
    // Most items are plain black: the pen changes only for those that are not.
    const bool own = i.color != Qt::black || i.penWidth != 0.75;
    if (own) painter.setPen(QPen(i.color, i.penWidth));
    switch (i.kind) {
      case PageItem::Text: {
        // A font's size counts in the device's dots; the page counts in painter units.
        QFont& f = i.fixedPitch ? fixed : font;
        f.setPointSizeF(i.fontSize * 72.0 / dpi);
        f.setBold(i.bold);
        painter.setFont(f);
        if (i.align & Qt::TextWordWrap) {
          painter.drawText(i.rect, i.align | Qt::TextDontClip, i.text);
          break;
        }
        // One line: placed on its baseline, without laying the text out again (several
        // times faster, which counts on pages of a thousand lines).
        const QFontMetricsF metrics(f, painter.device());
        double x = i.rect.left();
        if (i.align & (Qt::AlignRight | Qt::AlignHCenter)) {
          const double room = i.rect.width() - metrics.horizontalAdvance(i.text);
          x += (i.align & Qt::AlignRight) ? room : room / 2;
        }
        painter.drawText(QPointF(x, i.rect.top() + metrics.ascent()), i.text);
        break;
      }
      case PageItem::Line:
        painter.drawLine(i.rect.topLeft(), i.rect.bottomRight());
        break;
      case PageItem::Box:
        painter.drawRect(i.rect);
        break;
      case PageItem::Dot:
        painter.save();
        painter.setBrush(i.color);
        painter.drawEllipse(i.rect);
        painter.restore();
        break;
    }
    if (own) painter.setPen(plain);
  }
  painter.restore();
}

bool savePage(const RecordedPage& page, const QString& path) {
  // Page files are scratch copies: no need to wait for the disk, only to know the write
  // went through (a full disk shows on flush).
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QDataStream s(&file);
  s << kMagic << page.width << page.height << quint32(page.items.size());
  for (const PageItem& i : page.items) s << i;
  const bool written = s.status() == QDataStream::Ok && file.flush() && file.error() == QFile::NoError;
  file.close();
  return written && file.error() == QFile::NoError;
}

bool loadPage(const QString& path, RecordedPage& page) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QDataStream s(&file);
  quint32 magic = 0, count = 0;
  RecordedPage read;
  s >> magic >> read.width >> read.height >> count;
  if (s.status() != QDataStream::Ok || magic != kMagic) return false;
  for (quint32 n = 0; n < count && s.status() == QDataStream::Ok; ++n) {
    PageItem i;
    s >> i;
    read.items.push_back(std::move(i));
  }
  if (s.status() != QDataStream::Ok) return false;
  page = std::move(read);
  return true;
}

}  // namespace vrt
