// The packed text in which a caller describes its offered fields.
#include <charconv>
#include <string>
#include <vector>

#include "querywizard/field_registry.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

constexpr unsigned char kValueEnd = 0xA6;
constexpr unsigned char kRecordEnd = 0xAB;
constexpr std::size_t kValuesPerRecord = 9;

template <typename T>
T number(const std::string& text) {
  std::string_view s = vrt::clip(text);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  long v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || v < 0 || v > static_cast<long>(static_cast<T>(-1))) return 0;
  return static_cast<T>(v);
}

std::string fit(const std::string& s, std::size_t width) { return std::string(vrt::utf8Truncate(s, width)); }

XBQW_FIELDSQUEUE_Record recordOf(const std::vector<std::string>& v) {
  XBQW_FIELDSQUEUE_Record r;
  r.QWFLDDESC = fit(v[0], kFieldDescWidth);
  r.QWFLDFIELDTYPE = number<std::uint8_t>(v[1]);
  r.QWFLDNAME = fit(v[2], kFieldNameWidth);
  r.QWFLDPICTURE = fit(v[3], kFieldPictureWidth);
  r.QWFLDLENGTH = number<std::uint16_t>(v[4]);
  r.QWFLDDATATYPE = number<std::uint8_t>(v[5]);
  r.QWFLDCONTROL = number<std::uint8_t>(v[6]);
  r.QWFLDLOOKUP = fit(v[7], kFieldLookupWidth);
  r.QWFLDOPTIONS = fit(v[8], kFieldOptionsWidth);
  return r;
}

// The bytes of a whole UTF-8 character starting at `i` when there is one of two or more
// bytes, else 0: the separators are bytes that also occur inside such characters.
std::size_t multiByteCharacter(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const std::size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (n == 0 || lead > 0xF4 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

int parse(std::string_view data, XBQW_FIELDSQUEUE& fields) {
  if (data.empty() || static_cast<unsigned char>(data.back()) != kRecordEnd) return -2;
  std::vector<std::string> values;
  std::string value;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (const std::size_t n = multiByteCharacter(data, i); n > 0) {
      value.append(data.substr(i, n));
      i += n - 1;
      continue;
    }
    const auto c = static_cast<unsigned char>(data[i]);
    if (c == kValueEnd) {
      if (values.size() == kValuesPerRecord) return -1;
      values.push_back(std::move(value));
      value.clear();
    } else if (c == kRecordEnd) {
      if (values.size() != kValuesPerRecord || !value.empty()) return -1;
      fields.push_back(recordOf(values));
      values.clear();
    } else {
      value += static_cast<char>(c);
    }
  }
  return 0;
}

}  // namespace

void XB_ADDFIELDSQUEUEDATA(XBQW_FIELDSQUEUE& fields, std::int32_t& error, std::string_view data) {
  if (error != 0) return;
  error = parse(data, fields);
  if (error != 0) fields.clear();
}

}  // namespace qrywiz
