#pragma once
// The error log: one line per message shown, appended to a text file. Best effort by design:
// a log that cannot be written never stops or changes the message itself.
#include <string>
#include <string_view>

namespace vesp {

inline constexpr const char* kErrorLogFileName = "BrikError.Log";
inline constexpr std::size_t kErrorLogLineLimit = 1024;  // characters

// "<date @d17> <time @t8> --> <text>", on one line and cut to the line limit.
std::string errorLogLine(std::string_view text);

// Appends one line; failures to open, write or close the file are ignored.
void appendErrorLog(const std::string& path, std::string_view text);

}  // namespace vesp
