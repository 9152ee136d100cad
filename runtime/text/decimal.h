#pragma once
// Fixed-point amount with two decimal places: the in-code form of a DECIMAL field.
// Never converted through floating point on its way to or from storage or text.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vrt {

class Decimal {
 public:
  static constexpr int kPlaces = 2;
  static constexpr std::size_t kPackedBytes = 10;

  constexpr Decimal() = default;
  static constexpr Decimal fromCents(std::int64_t cents) { return Decimal(cents); }
  static constexpr Decimal fromUnits(std::int64_t units) { return Decimal(units * 100); }
  // Rounds half away from zero to the nearest cent.
  static Decimal fromDouble(double value);
  // Accepts an optional sign, digits, and an optional point with more digits
  // (rounded to cents); blanks around are ignored. Nothing else.
  static std::optional<Decimal> parse(std::string_view text);

  constexpr std::int64_t cents() const { return cents_; }
  double toDouble() const { return static_cast<double>(cents_) / 100.0; }
  // Plain text, always two places: "-1234.50".
  std::string toString() const;

  // 10-byte packed form: 19 BCD digits, the sign in the last nibble (0xD negative, 0xC positive).
  void pack(unsigned char* out) const;
  // Reads the packed form; a value beyond the 64-bit range is clamped, a bad nibble reads as 0.
  static Decimal unpack(const unsigned char* in);

  constexpr auto operator<=>(const Decimal&) const = default;
  Decimal operator+(Decimal o) const { return Decimal(cents_ + o.cents_); }
  Decimal operator-(Decimal o) const { return Decimal(cents_ - o.cents_); }
  Decimal operator-() const { return Decimal(-cents_); }

 private:
  constexpr explicit Decimal(std::int64_t cents) : cents_(cents) {}
  std::int64_t cents_ = 0;
};

}  // namespace vrt
