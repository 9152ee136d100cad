#pragma once
// A control's bound variable: a screen local or a record field, shown through the
// control's picture and read back from what the user typed.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/text/decimal.h"
#include "runtime/text/field.h"
#include "runtime/text/picture.h"
#include "runtime/text/record.h"

namespace vrt {

class Binding {
 public:
  Binding() = default;  // bound to nothing
  static Binding text(std::string& variable);
  static Binding number(std::int32_t& variable);
  static Binding number(double& variable);
  static Binding decimal(Decimal& variable);
  // A field of a record buffer; the record object must outlive the window.
  static Binding field(RecordRef& record, const FieldDesc& field);

  bool bound() const { return kind_ != Kind::None; }
  bool isText() const { return kind_ == Kind::Text; }

  // The variable as the picture shows it (no picture: plain text or plain number).
  std::string display(const std::optional<Picture>& picture) const;
  // Reads `input` back through the picture. Text that does not fit leaves the variable
  // as it was and returns false.
  bool accept(std::string_view input, const std::optional<Picture>& picture) const;

  // The raw value as text (check boxes and drop lists compare these).
  std::string value() const { return display(std::nullopt); }
  bool setValue(std::string_view v) const { return accept(v, std::nullopt); }

 private:
  enum class Kind { None, Text, Number, Decimal };
  Kind kind_ = Kind::None;
  std::function<std::string()> getText_;
  std::function<void(std::string_view)> setText_;
  std::function<double()> getNumber_;
  // Returns false when the value does not fit the variable.
  std::function<bool(double)> setNumber_;
  std::function<Decimal()> getDecimal_;
  std::function<void(const Decimal&)> setDecimal_;
};

// Short forms for window declarations: bind(LOC:Title), bind(record, field).
inline Binding bind(std::string& v) { return Binding::text(v); }
inline Binding bind(std::int32_t& v) { return Binding::number(v); }
inline Binding bind(double& v) { return Binding::number(v); }
inline Binding bind(Decimal& v) { return Binding::decimal(v); }
inline Binding bind(RecordRef& r, const FieldDesc& f) { return Binding::field(r, f); }

// Plain number text: integers without a point, others with what they need.
std::string plainNumber(double value);
// A plain number typed without a picture; nullopt when it is not one.
std::optional<double> parsePlainNumber(std::string_view text);

}  // namespace vrt
