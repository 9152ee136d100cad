#include "runtime/gui/flat_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace vrt {

namespace {

// A solid fill or a solid hairline is drawn straight into the window's image; anything
// with transparency or a gradient goes through the blending that is sliced out to threads.
QColor solid(QColor c) {
  c.setAlpha(255);
  return c;
}

QColor outlineOf(const QPalette& palette) { return solid(palette.color(QPalette::Window).darker(140)); }

void drawPart(QPainter* painter, const QRect& r, const QColor& face, const QColor& edge) {
  if (!r.isValid()) return;
  painter->fillRect(r, face);
  painter->setPen(edge);
  painter->drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

void FlatStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                   const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_ScrollBar || !bar) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QPalette& palette = bar->palette;
  const bool enabled = bar->state & State_Enabled;
  const bool across = bar->orientation == Qt::Horizontal;
  const QColor face = solid(palette.color(QPalette::Button));
  const QColor edge = outlineOf(palette);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->fillRect(bar->rect, solid(palette.color(QPalette::Window).darker(108)));
  const auto pressed = [&](SubControl part) {
    return (bar->activeSubControls & part) && (bar->state & State_Sunken);
  };
  const QRect slider = proxy()->subControlRect(control, bar, SC_ScrollBarSlider, widget);
  if (enabled && bar->minimum != bar->maximum)
    drawPart(painter, slider, pressed(SC_ScrollBarSlider) ? face.darker(110) : face, edge);
  const struct {
    SubControl part;
    PrimitiveElement arrow;
  } buttons[] = {{SC_ScrollBarSubLine, across ? PE_IndicatorArrowLeft : PE_IndicatorArrowUp},
                 {SC_ScrollBarAddLine, across ? PE_IndicatorArrowRight : PE_IndicatorArrowDown}};
  for (const auto& b : buttons) {
    const QRect r = proxy()->subControlRect(control, bar, b.part, widget);
    if (!r.isValid()) continue;
    drawPart(painter, r, pressed(b.part) ? face.darker(110) : face, edge);
    QStyleOption arrow(*bar);
    arrow.rect = r.adjusted(3, 3, -3, -3);
    arrow.state = enabled ? State_Enabled : State_None;
    proxy()->drawPrimitive(b.arrow, &arrow, painter, widget);
  }
  painter->restore();
}

void FlatStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
  if (element != PE_FrameTabWidget) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  const QPalette& palette = option->palette;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  const QRect r = option->rect.adjusted(0, 0, -1, -1);
  painter->fillRect(r, solid(palette.color(QPalette::Window).lighter(104)));
  painter->setPen(outlineOf(palette));
  painter->drawRect(r);
  painter->setPen(solid(palette.color(QPalette::Window).lighter(112)));
  painter->drawRect(r.adjusted(1, 1, -1, -1));
  painter->restore();
}

void installFlatStyle() {
  if (dynamic_cast<FlatStyle*>(QApplication::style())) return;
  QApplication::setStyle(new FlatStyle(QApplication::style()->name()));
}

}  // namespace vrt
