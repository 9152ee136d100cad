#pragma once
// The program's style: the desktop's own, but for the tall parts every list window paints
// on each page it turns, a scroll bar and a tab frame, which are painted flat in solid
// colours. Painted with gradients and half-transparent lines, as the stock style paints
// them, each such part of more than about a hundred pixel rows is handed out in slices to
// Qt's pool of threads while the window waits: on a two-core office computer the hand-over
// cost more than the drawing, a sixth of the time a list took to open.
#include <QProxyStyle>

namespace vrt {

class FlatStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

// Makes FlatStyle the application's style, once; called when the frame is built, so the
// frame and every window opened in it have it. GUI thread only.
void installFlatStyle();

}  // namespace vrt
