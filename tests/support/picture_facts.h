#pragma once
// What a screenshot shows, checked without a stored picture to compare it with: a window's
// picture, the part of it where one control lies, and how many of a part's pixels are
// drawn in a colour (the text colour where text was typed, the highlight where a row is
// highlighted, any colour but the background where something was drawn at all).
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "runtime/gui/control.h"
#include "runtime/gui/window.h"

namespace vtest {

inline QImage pictureOf(const vrt::Window& window) {
  return window.widget() ? window.widget()->grab().toImage() : QImage();
}

// The control's part of its window's picture; empty when it is not in the picture.
inline QImage partOf(const QImage& picture, const vrt::Control& control) {
  const QRect place = control.placeInWindow().intersected(picture.rect());
  return place.isEmpty() ? QImage() : picture.copy(place);
}

// Pixels within `tolerance` of `colour` in each of red, green and blue.
inline int pixelsLike(const QImage& image, const QColor& colour, int tolerance = 48) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
          std::abs(c.blue() - colour.blue()) <= tolerance)
        ++count;
    }
  return count;
}

// The colours a control's text and highlighted rows are drawn in.
inline QColor textColour(const vrt::Control& control) { return control.widget()->palette().color(QPalette::Text); }
inline QColor highlightColour(const vrt::Control& control) {
  return control.widget()->palette().color(QPalette::Highlight);
}

// Pixels not in the colour most of the image is drawn in: what was drawn on its ground.
inline int drawnPixels(const QImage& image) {
  QHash<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  int ground = 0;
  for (const int n : counts) ground = std::max(ground, n);
  return image.width() * image.height() - ground;
}

}  // namespace vtest
