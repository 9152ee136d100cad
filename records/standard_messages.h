#pragma once
// The program's own message table, and the packed block that the error manager loads it from.
#include <cstdint>
#include <span>
#include <vector>

#include "records/message_block.h"

namespace vesp {

std::span<const MessageEntry> standardMessages();
std::vector<std::uint8_t> standardMessageBlock();
// The messages the program adds to the framework's table; the error manager loads them after it.
std::span<const MessageEntry> programMessages();
std::vector<std::uint8_t> programMessageBlock();

}  // namespace vesp
