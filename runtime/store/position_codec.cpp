#include "runtime/store/position_codec.h"

#include <algorithm>
#include <cstring>

namespace vrt::store {

namespace {

void appendInt(std::string& out, std::int64_t v) {
  char b[8];
  std::memcpy(b, &v, 8);
  out.append(b, 8);
}

bool readInt(const std::string& in, std::size_t& pos, std::int64_t& v) {
  if (pos + 8 > in.size()) return false;
  std::memcpy(&v, in.data() + pos, 8);
  pos += 8;
  return true;
}

}  // namespace

std::string encodePosition(std::int64_t rowid, const std::vector<KeyValue>& values) {
  std::string out;
  appendInt(out, rowid);
  for (const auto& v : values) {
    // Each value needs its kind byte and a length or number; a long text is cut to fit.
    if (out.size() + 9 > kMaxPositionBytes) break;
    if (const auto* t = std::get_if<std::string>(&v)) {
      out += 'T';
      const std::size_t room = kMaxPositionBytes - out.size() - 8;
      const std::size_t len = std::min(t->size(), room);
      appendInt(out, static_cast<std::int64_t>(len));
      out.append(*t, 0, len);
    } else {
      out += 'N';
      appendInt(out, std::get<std::int64_t>(v));
    }
  }
  return out;
}

std::optional<DecodedPosition> decodePosition(const std::string& position) {
  DecodedPosition d;
  std::size_t p = 0;
  if (position.size() > kMaxPositionBytes || !readInt(position, p, d.rowid)) return std::nullopt;
  while (p < position.size()) {
    const char kind = position[p++];
    std::int64_t n = 0;
    if (!readInt(position, p, n)) return std::nullopt;
    if (kind == 'T') {
      if (n < 0 || static_cast<std::size_t>(n) > position.size() - p) return std::nullopt;
      d.values.emplace_back(position.substr(p, static_cast<std::size_t>(n)));
      p += static_cast<std::size_t>(n);
    } else if (kind == 'N') {
      d.values.emplace_back(n);
    } else {
      return std::nullopt;
    }
  }
  // A value is left out or cut only when the position ran up to within one value of its limit.
  d.whole = position.size() + 9 <= kMaxPositionBytes;
  return d;
}

}  // namespace vrt::store
