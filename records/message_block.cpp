#include "records/message_block.h"

#include <algorithm>
#include <limits>

#include "runtime/text/utf8.h"

namespace vesp {

namespace {

void putWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putShortText(std::vector<std::uint8_t>& out, const std::string& text) {
  std::string_view cut = vrt::utf8Truncate(text, std::numeric_limits<std::uint8_t>::max());
  out.push_back(static_cast<std::uint8_t>(cut.size()));
  out.insert(out.end(), cut.begin(), cut.end());
}

class BlockReader {
 public:
  explicit BlockReader(std::span<const std::uint8_t> block) : block_(block) {}

  bool word(std::uint16_t& value) {
    if (remaining() < 2) return false;
    value = static_cast<std::uint16_t>(block_[pos_] | (block_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool byte(std::uint8_t& value) {
    if (remaining() < 1) return false;
    value = block_[pos_++];
    return true;
  }
  bool shortText(std::string& text) {
    std::uint8_t length = 0;
    if (!byte(length) || remaining() < length) return false;
    text.assign(reinterpret_cast<const char*>(block_.data() + pos_), length);
    pos_ += length;
    return true;
  }

 private:
  std::size_t remaining() const { return block_.size() - pos_; }
  std::span<const std::uint8_t> block_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::uint8_t> packMessages(std::span<const MessageEntry> entries) {
  const std::size_t count = std::min<std::size_t>(entries.size(), std::numeric_limits<std::uint16_t>::max());
  std::vector<std::uint8_t> out;
  putWord(out, static_cast<std::uint16_t>(count));
  for (const MessageEntry& e : entries.first(count)) {
    putWord(out, e.id);
    out.push_back(static_cast<std::uint8_t>(levelNumber(e.level)));
    putShortText(out, e.title);
    putShortText(out, e.text);
  }
  return out;
}

UnpackedMessages unpackMessages(std::span<const std::uint8_t> block) {
  UnpackedMessages result;
  BlockReader reader(block);
  std::uint16_t count = 0;
  if (!reader.word(count)) {
    result.complete = false;
    return result;
  }
  result.entries.reserve(std::min<std::size_t>(count, block.size() / 5));
  for (std::uint16_t i = 0; i < count; ++i) {
    MessageEntry e;
    std::uint8_t level = 0;
    if (!reader.word(e.id) || !reader.byte(level) || !reader.shortText(e.title) || !reader.shortText(e.text)) {
      result.complete = false;
      break;
    }
    e.level = levelFromNumber(level);
    result.entries.push_back(std::move(e));
  }
  return result;
}

}  // namespace vesp
