#include "runtime/text/picture_hint.h"

#include <QLocale>

#include "runtime/text/date_layouts.h"

namespace vrt {

namespace {

using namespace date_layouts;

// The separator a date picture puts where its layout has "/".
char separatorOf(const Picture& picture) {
  const std::string& text = picture.text();
  std::size_t at = 2;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (at >= text.size()) return '/';
  switch (text[at]) {
    case '-': return '-';
    case '.': return '.';
    case '_': return ' ';
    default: return '/';
  }
}

std::string localeDate(bool longForm) {
  const QString format = QLocale().dateFormat(longForm ? QLocale::LongFormat : QLocale::ShortFormat);
  std::string out;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    qsizetype n = 1;
    while (i + n < format.size() && format[i + n] == c) ++n;
    if (c == QLatin1Char('d')) out += n <= 2 ? "dd" : (n == 3 ? "ddd" : "weekday");
    else if (c == QLatin1Char('M')) out += n <= 2 ? "mm" : (n == 3 ? "mmm" : "month");
    else if (c == QLatin1Char('y')) out += "yyyy";  // years are always shown with four digits
    else if (c != QLatin1Char('\'')) out += std::string(static_cast<std::size_t>(n), static_cast<char>(c.toLatin1()));
    i += n;
  }
  return out;
}

std::string dateLayout(const Picture& picture) {
  const int style = picture.style();
  if (style == kLocaleShortDate || style == kLocaleLongDate) return localeDate(style == kLocaleLongDate);
  if (style < 1 || style > 16) return {};
  const char separator = separatorOf(picture);
  std::string out;
  for (const char* c = kDateLayouts[style]; *c; ++c) {
    switch (*c) {
      case 'm': out += "mm"; break;
      case 'd': out += "dd"; break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'b': out += "mmm"; break;
      case 'B': out += "month"; break;
      case '/': out += separator; break;
      default: out += *c;
    }
  }
  return out;
}

std::string timeLayout(const Picture& picture) {
  switch (picture.style()) {
    case 1: return "hh:mm";
    case 2: return "hhmm";
    case 3: return "hh:mmAM";
    case 4: return "hh:mm:ss";
    case 5: return "hhmmss";
    case kLocaleShortTime:
    case kLocaleLongTime: {
      QString format = QLocale().timeFormat(picture.style() == kLocaleLongTime ? QLocale::LongFormat : QLocale::ShortFormat);
      format.remove(QLatin1Char('t'));
      return format.trimmed().toStdString();
    }
    default: return "hh:mm:ssAM";
  }
}

}  // namespace

std::string typingLayout(const Picture& picture) {
  switch (picture.kind()) {
    case Picture::Kind::Date: return dateLayout(picture);
    case Picture::Kind::Time: return timeLayout(picture);
    default: return {};
  }
}

std::string refusalText(const std::optional<Picture>& picture) {
  if (!picture || picture->kind() == Picture::Kind::Text) return "Enter a number";
  switch (picture->kind()) {
    case Picture::Kind::Date: return "Enter a date as " + typingLayout(*picture);
    case Picture::Kind::Time: return "Enter a time as " + typingLayout(*picture);
    default: break;
  }
  const int decimals = picture->decimals();
  const int digits = picture->width() - (decimals > 0 ? decimals + 1 : 0);
  if (digits <= 0) return "Enter a number";
  if (decimals == 0) return "Enter a whole number of up to " + std::to_string(digits) + " digits";
  return "Enter a number of up to " + std::to_string(digits) + " digits and " + std::to_string(decimals) +
         (decimals == 1 ? " decimal" : " decimals");
}

}  // namespace vrt
