#include "runtime/gui/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <array>

#include "runtime/text/utf8.h"

namespace vrt {

namespace {

using Draw = void (*)(QPainter&);

void drawPlus(QPainter& p) {
  p.setPen(QPen(QColor(0, 128, 0), 3));
  p.drawLine(8, 3, 8, 13);
  p.drawLine(3, 8, 13, 8);
}

void drawPencil(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 140), 2));
  p.drawLine(3, 13, 12, 4);
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(2, 14, 4, 12);
}

void drawMagnifier(QPainter& p) {
  p.setPen(QPen(Qt::black, 2));
  p.drawEllipse(QRectF(2, 2, 8, 8));
  p.drawLine(9, 9, 14, 14);
}

void drawDitto(QPainter& p) {
  p.setPen(QPen(Qt::black, 2));
  for (int x : {4, 10}) p.drawLine(x, 4, x - 1, 9);
  p.drawLine(3, 13, 13, 13);
}

void drawCalendar(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(1, 3, 13, 11);
  p.fillRect(2, 4, 12, 3, QColor(170, 0, 0));
  for (int y = 9; y <= 12; y += 3)
    for (int x = 3; x <= 11; x += 3) p.drawPoint(x, y);
}

void drawPrinter(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(4, 1, 8, 5);
  p.setBrush(Qt::lightGray);
  p.drawRect(1, 6, 14, 6);
  p.setBrush(Qt::white);
  p.drawRect(4, 10, 8, 5);
}

void drawApplication(QPainter& p) {
  p.setPen(QPen(QColor(40, 70, 150), 1));
  p.setBrush(QColor(40, 70, 150));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(4, 4, 8, 12);
  p.drawLine(8, 12, 12, 4);
}

struct IconEntry {
  std::string_view name;  // upper case
  QStyle::StandardPixmap standard;
  Draw draw;  // when no standard icon fits
};

constexpr QStyle::StandardPixmap kDrawn = QStyle::SP_CustomBase;

constexpr std::array<IconEntry, 24> kIcons{{
    {"INSERT.ICO", kDrawn, drawPlus},
    {"EDIT.ICO", kDrawn, drawPencil},
    {"DELETE.ICO", QStyle::SP_TrashIcon, nullptr},
    {"MARK.ICO", QStyle::SP_DialogApplyButton, nullptr},
    {"VCRFIRST.ICO", QStyle::SP_MediaSkipBackward, nullptr},
    {"VCRPRIOR.ICO", QStyle::SP_MediaSeekBackward, nullptr},
    {"VCRUP.ICO", QStyle::SP_ArrowUp, nullptr},
    {"VCRDOWN.ICO", QStyle::SP_ArrowDown, nullptr},
    {"VCRNEXT.ICO", QStyle::SP_MediaSeekForward, nullptr},
    {"VCRLAST.ICO", QStyle::SP_MediaSkipForward, nullptr},
    {"FIND.ICO", kDrawn, drawMagnifier},
    {"DITTO.ICO", kDrawn, drawDitto},
    {"HELP.ICO", QStyle::SP_DialogHelpButton, nullptr},
    {"CAL4.ICO", kDrawn, drawCalendar},
    {"SOK.ICO", QStyle::SP_DialogOkButton, nullptr},
    {"WAOK.ICO", QStyle::SP_DialogOkButton, nullptr},
    {"SCANCEL.ICO", QStyle::SP_DialogCancelButton, nullptr},
    {"WACANCEL.ICO", QStyle::SP_DialogCancelButton, nullptr},
    {"EXP_PRI.ICO", kDrawn, drawPrinter},
    {"VSP.ICO", kDrawn, drawApplication},
    {"ICON:INFORMATION", QStyle::SP_MessageBoxInformation, nullptr},
    {"ICON:EXCLAMATION", QStyle::SP_MessageBoxWarning, nullptr},
    {"ICON:QUESTION", QStyle::SP_MessageBoxQuestion, nullptr},
    {"ICON:HAND", QStyle::SP_MessageBoxCritical, nullptr},
}};

const IconEntry* findIcon(std::string_view name) {
  const std::string upper = upperCase(name);
  for (const IconEntry& e : kIcons)
    if (e.name == upper) return &e;
  return nullptr;
}

QIcon drawn(Draw draw) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return QIcon(pixmap);
}

}  // namespace

bool knownIcon(std::string_view name) { return findIcon(name) != nullptr; }

QIcon iconFor(std::string_view name) {
  const IconEntry* e = findIcon(name);
  if (!e) return {};
  if (e->draw) return drawn(e->draw);
  return QApplication::style()->standardIcon(e->standard);
}

QFont fontFor(std::string_view name, int pointSize) {
  QFont font = QApplication::font();
  QString family = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (!family.isEmpty() && QFontDatabase::hasFamily(family)) font.setFamily(family);
  if (pointSize > 0) font.setPointSize(pointSize);
  return font;
}

}  // namespace vrt
