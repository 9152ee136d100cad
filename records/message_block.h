#pragma once
// The message table's entries and the packed block they travel in: a 16-bit count, then per
// entry the id (16 bits), the level (1 byte), the title length (1 byte) and title, the text
// length (1 byte) and text. Numbers are stored low byte first.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/levels.h"

namespace vesp {

struct MessageEntry {
  std::uint16_t id = 0;
  Level level = Level::Benign;  // one byte in the block
  std::string title;
  std::string text;
  std::string category;  // not part of the block; empty means the default category
  bool operator==(const MessageEntry&) const = default;
};

// Titles and texts longer than 255 bytes are cut on a character boundary.
std::vector<std::uint8_t> packMessages(std::span<const MessageEntry> entries);

struct UnpackedMessages {
  std::vector<MessageEntry> entries;
  bool complete = true;  // false when the block ended inside an entry or before its count
};

// Never reads past the block: a damaged block yields the entries that fit whole.
UnpackedMessages unpackMessages(std::span<const std::uint8_t> block);

}  // namespace vesp
