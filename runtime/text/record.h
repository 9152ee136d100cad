#pragma once
// A fixed-length record buffer laid out as its table's dictionary says, with typed
// and by-description access to its fields.
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/dates.h"
#include "runtime/text/decimal.h"
#include "runtime/text/field.h"

namespace vrt {

// Access to the fields of a record held elsewhere (a buffer, a saved copy).
class RecordRef {
 public:
  RecordRef(unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  std::int32_t get(LongField f) const { return load<std::int32_t>(f.offset); }
  std::uint8_t get(ByteField f) const { return data_[f.offset]; }
  DayNumber get(DateField f) const { return load<std::int32_t>(f.offset); }
  TimeOfDay get(TimeField f) const { return load<std::int32_t>(f.offset); }
  Decimal get(DecimalField f) const { return Decimal::unpack(data_ + f.offset); }
  // Text without its trailing blanks.
  std::string get(StringField f) const;
  std::string get(CStringField f) const;

  void set(LongField f, std::int32_t v) { store(f.offset, v); }
  void set(ByteField f, std::uint8_t v) { data_[f.offset] = v; }
  void set(DateField f, DayNumber v) { store(f.offset, v); }
  void set(TimeField f, TimeOfDay v) { store(f.offset, v); }
  void set(DecimalField f, const Decimal& v) { v.pack(data_ + f.offset); }
  // Longer text is cut on a character boundary; STRING pads with blanks, CSTRING with zeros.
  void set(StringField f, std::string_view v);
  void set(CStringField f, std::string_view v);
  std::span<unsigned char> bytes(GroupField f) { return {data_ + f.offset, f.size}; }

  // Access through a description, for code that reaches fields by label.
  std::string text(const FieldDesc& f) const;          // strings clipped; numbers as text
  double number(const FieldDesc& f) const;             // text fields read as numbers (0 if not)
  void setText(const FieldDesc& f, std::string_view v);  // numbers parsed from the text (0 if not)
  void setNumber(const FieldDesc& f, double v);
  void clear(const FieldDesc& f);

  unsigned char* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  template <typename T>
  T load(std::uint32_t offset) const {
    T v;
    std::memcpy(&v, data_ + offset, sizeof v);
    return v;
  }
  template <typename T>
  void store(std::uint32_t offset, T v) {
    std::memcpy(data_ + offset, &v, sizeof v);
  }

  unsigned char* data_;
  std::size_t size_;
};

// An owned record buffer. A cleared buffer holds zeros in numbers and blanks in STRINGs.
class RecordBuffer : public RecordRef {
 public:
  explicit RecordBuffer(std::size_t size) : RecordRef(nullptr, 0), bytes_(size) { rebind(); }
  RecordBuffer(const RecordBuffer& o) : RecordRef(nullptr, 0), bytes_(o.bytes_) { rebind(); }
  RecordBuffer& operator=(const RecordBuffer& o) {
    bytes_ = o.bytes_;
    rebind();
    return *this;
  }
  bool operator==(const RecordBuffer& o) const { return bytes_ == o.bytes_; }

  const std::vector<unsigned char>& raw() const { return bytes_; }
  void assign(std::span<const unsigned char> from);
  // Zeros everywhere, then blanks in every STRING field that no group lies over
  // (a date-time field's bytes are its date and time, which are zero when clear).
  void clearAll(std::span<const FieldDesc> layout);

 private:
  void rebind() { static_cast<RecordRef&>(*this) = RecordRef(bytes_.data(), bytes_.size()); }
  std::vector<unsigned char> bytes_;
};

}  // namespace vrt
