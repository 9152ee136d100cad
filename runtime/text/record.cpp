#include "runtime/text/record.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/text/number_text.h"
#include "runtime/text/utf8.h"

namespace vrt {

std::string RecordRef::get(StringField f) const {
  return std::string(clip(std::string_view(reinterpret_cast<const char*>(data_ + f.offset), f.size)));
}

std::string RecordRef::get(CStringField f) const {
  const auto* p = reinterpret_cast<const char*>(data_ + f.offset);
  return std::string(p, strnlen(p, f.size));
}

void RecordRef::set(StringField f, std::string_view v) {
  const std::string_view cut = utf8Truncate(v, f.size);
  std::memcpy(data_ + f.offset, cut.data(), cut.size());
  std::memset(data_ + f.offset + cut.size(), ' ', f.size - cut.size());
}

void RecordRef::set(CStringField f, std::string_view v) {
  if (f.size == 0) return;
  // Text stops at an embedded zero, as it would when read back.
  v = v.substr(0, std::min(v.find('\0'), v.size()));
  const std::string_view cut = utf8Truncate(v, f.size - 1);
  std::memcpy(data_ + f.offset, cut.data(), cut.size());
  std::memset(data_ + f.offset + cut.size(), 0, f.size - cut.size());
}

std::string RecordRef::text(const FieldDesc& f) const {
  switch (f.type) {
    case FieldType::String:
    case FieldType::Group:
      return get(StringField{f.offset, f.size});
    case FieldType::CString:
      return get(CStringField{f.offset, f.size});
    case FieldType::Decimal:
      return get(DecimalField{f.offset}).toString();
    default: {
      const double n = number(f);
      char buf[32];
      std::snprintf(buf, sizeof buf, "%.0f", n);
      return buf;
    }
  }
}

double RecordRef::number(const FieldDesc& f) const {
  switch (f.type) {
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time:
      return load<std::int32_t>(f.offset);
    case FieldType::Byte:
      return data_[f.offset];
    case FieldType::Decimal:
      return get(DecimalField{f.offset}).toDouble();
    default:
      return leadingNumber(text(f));
  }
}

void RecordRef::setText(const FieldDesc& f, std::string_view v) {
  switch (f.type) {
    case FieldType::String:
    case FieldType::Group:
      set(StringField{f.offset, f.size}, v);
      return;
    case FieldType::CString:
      set(CStringField{f.offset, f.size}, v);
      return;
    case FieldType::Decimal:
      set(DecimalField{f.offset}, Decimal::parse(v).value_or(Decimal()));
      return;
    default:
      setNumber(f, leadingNumber(v));
  }
}

void RecordRef::setNumber(const FieldDesc& f, double v) {
  if (!std::isfinite(v)) v = 0;
  // Whole-number fields take the value truncated toward zero and kept in range,
  // so that no arithmetic result can write an undefined bit pattern.
  auto whole = [v](double lo, double hi) { return std::trunc(std::min(std::max(v, lo), hi)); };
  switch (f.type) {
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time:
      store(f.offset, static_cast<std::int32_t>(whole(-2147483648.0, 2147483647.0)));
      return;
    case FieldType::Byte:
      data_[f.offset] = static_cast<std::uint8_t>(static_cast<std::int64_t>(whole(-1e9, 1e9)) & 0xFF);
      return;
    case FieldType::Decimal:
      set(DecimalField{f.offset}, Decimal::fromDouble(v));
      return;
    default:
      setText(f, generalText(v));
  }
}

void RecordRef::clear(const FieldDesc& f) {
  if (f.type == FieldType::String) std::memset(data_ + f.offset, ' ', f.size);
  else if (f.type == FieldType::Decimal) Decimal().pack(data_ + f.offset);
  else std::memset(data_ + f.offset, 0, f.size);
}

void RecordBuffer::assign(std::span<const unsigned char> from) {
  const std::size_t n = std::min(from.size(), bytes_.size());
  std::memcpy(bytes_.data(), from.data(), n);
  std::memset(bytes_.data() + n, 0, bytes_.size() - n);
}

void RecordBuffer::clearAll(std::span<const FieldDesc> layout) {
  std::memset(bytes_.data(), 0, bytes_.size());
  std::vector<bool> overlaid(layout.size(), false);
  for (const auto& f : layout)
    if (f.overlays >= 0 && static_cast<std::size_t>(f.overlays) < layout.size()) overlaid[static_cast<std::size_t>(f.overlays)] = true;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const auto& f = layout[i];
    if (f.overlays < 0 && !overlaid[i] && (f.type == FieldType::String || f.type == FieldType::Decimal)) clear(f);
  }
}

}  // namespace vrt
