#include "runtime/gui/binding.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "runtime/text/utf8.h"

namespace vrt {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return clip(s);
}

}  // namespace

std::string plainNumber(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
    return std::to_string(static_cast<long long>(value));
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.10g", value);
  return buffer;
}

std::optional<double> parsePlainNumber(std::string_view text) {
  text = trim(text);
  if (text.empty()) return 0.0;
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

Binding Binding::text(std::string& variable) {
  Binding b;
  b.kind_ = Kind::Text;
  b.getText_ = [&variable] { return variable; };
  b.setText_ = [&variable](std::string_view v) { variable = std::string(v); };
  return b;
}

Binding Binding::number(std::int32_t& variable) {
  Binding b;
  b.kind_ = Kind::Number;
  b.getNumber_ = [&variable] { return static_cast<double>(variable); };
  b.setNumber_ = [&variable](double v) {
    double r = std::round(v);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
      return false;
    variable = static_cast<std::int32_t>(r);
    return true;
  };
  return b;
}

Binding Binding::number(double& variable) {
  Binding b;
  b.kind_ = Kind::Number;
  b.getNumber_ = [&variable] { return variable; };
  b.setNumber_ = [&variable](double v) {
    variable = v;
    return true;
  };
  return b;
}

Binding Binding::decimal(Decimal& variable) {
  Binding b;
  b.kind_ = Kind::Decimal;
  b.getDecimal_ = [&variable] { return variable; };
  b.setDecimal_ = [&variable](const Decimal& v) { variable = v; };
  return b;
}

Binding Binding::field(RecordRef& record, const FieldDesc& field) {
  Binding b;
  RecordRef* r = &record;
  const FieldDesc* f = &field;
  switch (field.type) {
    case FieldType::String:
    case FieldType::CString:
    case FieldType::Group:
      b.kind_ = Kind::Text;
      b.getText_ = [r, f] { return r->text(*f); };
      b.setText_ = [r, f](std::string_view v) { r->setText(*f, v); };
      break;
    case FieldType::Decimal:
      b.kind_ = Kind::Decimal;
      b.getDecimal_ = [r, f] { return r->get(DecimalField{f->offset}); };
      b.setDecimal_ = [r, f](const Decimal& v) { r->set(DecimalField{f->offset}, v); };
      break;
    default: {
      b.kind_ = Kind::Number;
      const bool isByte = field.type == FieldType::Byte;
      b.getNumber_ = [r, f] { return r->number(*f); };
      b.setNumber_ = [r, f, isByte](double v) {
        double rounded = std::round(v);
        double low = isByte ? 0 : std::numeric_limits<std::int32_t>::min();
        double high = isByte ? 255 : std::numeric_limits<std::int32_t>::max();
        if (!(rounded >= low && rounded <= high)) return false;
        r->setNumber(*f, rounded);
        return true;
      };
    }
  }
  return b;
}

std::string Binding::display(const std::optional<Picture>& picture) const {
  switch (kind_) {
    case Kind::None:
      return {};
    case Kind::Text:
      return picture ? picture->formatText(getText_()) : getText_();
    case Kind::Number:
      return picture && picture->kind() != Picture::Kind::Text ? picture->format(getNumber_())
                                                                : plainNumber(getNumber_());
    case Kind::Decimal:
      return picture && picture->kind() != Picture::Kind::Text ? picture->format(getDecimal_())
                                                                : getDecimal_().toString();
  }
  return {};
}

bool Binding::accept(std::string_view input, const std::optional<Picture>& picture) const {
  const bool textPicture = !picture || picture->kind() == Picture::Kind::Text;
  switch (kind_) {
    case Kind::None:
      return true;
    case Kind::Text:
      if (textPicture) {
        setText_(picture ? picture->deformatText(input) : std::string(input));
      } else {
        auto n = picture->deformat(input);
        if (!n) return false;
        setText_(plainNumber(*n));
      }
      return true;
    case Kind::Number: {
      auto n = textPicture ? parsePlainNumber(input) : picture->deformat(input);
      return n && setNumber_(*n);
    }
    case Kind::Decimal: {
      std::optional<Decimal> d;
      if (textPicture) {
        std::string_view t = trim(input);
        d = t.empty() ? std::optional<Decimal>(Decimal()) : Decimal::parse(t);
      } else {
        d = picture->deformatDecimal(input);
      }
      if (!d) return false;
      setDecimal_(*d);
      return true;
    }
  }
  return false;
}

}  // namespace vrt
