#include "runtime/text/decimal.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vrt {

Decimal Decimal::fromDouble(double value) {
  if (!std::isfinite(value)) return Decimal();
  const double cents = std::round(value * 100.0);
  constexpr double limit = 9.2e18;
  if (cents >= limit) return Decimal(std::numeric_limits<std::int64_t>::max());
  if (cents <= -limit) return Decimal(std::numeric_limits<std::int64_t>::min() + 1);
  return Decimal(static_cast<std::int64_t>(cents));
}

std::optional<Decimal> Decimal::parse(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  unsigned __int128 cents = 0;
  int fractionDigits = -1;  // -1 until the point is seen
  bool roundUp = false, anyDigit = false;
  for (char c : text) {
    if (c == '.') {
      if (fractionDigits >= 0) return std::nullopt;
      fractionDigits = 0;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    anyDigit = true;
    if (fractionDigits >= kPlaces) {
      if (fractionDigits == kPlaces) roundUp = c >= '5';
      ++fractionDigits;
      continue;
    }
    cents = cents * 10 + static_cast<unsigned>(c - '0');
    if (cents > static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
    if (fractionDigits >= 0) ++fractionDigits;
  }
  if (!anyDigit) return std::nullopt;
  for (int f = std::max(fractionDigits, 0); f < kPlaces; ++f) cents *= 10;
  if (roundUp) ++cents;
  if (cents > static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
  const auto value = static_cast<std::int64_t>(cents);
  return Decimal(negative ? -value : value);
}

std::string Decimal::toString() const {
  const bool negative = cents_ < 0;
  // Work in unsigned so that the most negative value has a magnitude too.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(cents_) : static_cast<std::uint64_t>(cents_);
  std::string digits = std::to_string(magnitude / 100);
  const unsigned fraction = static_cast<unsigned>(magnitude % 100);
  digits += '.';
  digits += static_cast<char>('0' + fraction / 10);
  digits += static_cast<char>('0' + fraction % 10);
  return negative ? "-" + digits : digits;
}

void Decimal::pack(unsigned char* out) const {
  const bool negative = cents_ < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(cents_) : static_cast<std::uint64_t>(cents_);
  // 20 nibbles: 19 digits, most significant first, then the sign.
  unsigned char nibbles[20];
  nibbles[19] = negative ? 0xD : 0xC;
  for (int i = 18; i >= 0; --i) {
    nibbles[i] = static_cast<unsigned char>(magnitude % 10);
    magnitude /= 10;
  }
  for (std::size_t i = 0; i < kPackedBytes; ++i)
    out[i] = static_cast<unsigned char>((nibbles[2 * i] << 4) | nibbles[2 * i + 1]);
}

Decimal Decimal::unpack(const unsigned char* in) {
  unsigned __int128 magnitude = 0;
  for (int i = 0; i < 19; ++i) {
    const unsigned char byte = in[i / 2];
    const unsigned nibble = (i % 2 == 0) ? (byte >> 4) : (byte & 0xF);
    if (nibble > 9) return Decimal();
    magnitude = magnitude * 10 + nibble;
  }
  const bool negative = (in[kPackedBytes - 1] & 0xF) == 0xD || (in[kPackedBytes - 1] & 0xF) == 0xB;
  const auto max = static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max());
  const auto value = static_cast<std::int64_t>(magnitude > max ? max : magnitude);
  return Decimal(negative ? -value : value);
}

}  // namespace vrt
