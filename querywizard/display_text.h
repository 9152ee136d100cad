#pragma once
// The library's table of display texts: every caption, prompt, button text and message it
// shows comes from here (set by the caller by number) or from the store's standard
// messages. All entries are empty, and font sizes 0, until the caller sets them.
#include <cstdint>
#include <string>
#include <string_view>

namespace qrywiz {

// Stores `text` as entry `id`, cut to the entry's width on a character boundary. Number
// entries read the text as a number; 161 and 162 split at the first "|" into the prompt
// and an extra prompt. Unknown ids (and the accepted-but-unused font ids) are ignored.
void XB_SETQWDISPLAYTEXT(std::int32_t id, std::string_view text);

std::string displayText(int id);
int displayNumber(int id);
// The part of 161 or 162 after the "|".
std::string displayExtra(int id);

// The width of an entry in bytes (0 for unknown or number entries), for tests and layouts.
std::size_t displayTextWidth(int id);

// Back to the state at load time (for tests).
void resetDisplayTexts();

}  // namespace qrywiz
