#pragma once
// Filling a message text's placeholders from a thread's error state.
#include <string>
#include <string_view>

#include "records/error_status.h"

namespace vesp {

inline constexpr std::size_t kMessageTextLimit = 2000;  // characters

struct MessageContext {
  const ErrorStatus& status;
  std::string_view procedure;  // %Procedure
  std::string_view category;   // %Category
};

// Every placeholder is filled wherever it occurs in `text`; where one placeholder begins
// another, the longer one wins ("%FileErrorCode" is never read as "%FileError" + "Code").
// The values are inserted as they are: a file name holding "%Key" stays as it was.
// The result is cut to kMessageTextLimit characters.
std::string buildMessageText(std::string_view text, const MessageContext& context);

// %ErrorText: for a driver error (90, 100) the driver's own text and code, otherwise the
// runtime's text and code.
std::string errorTextWithCode(const ErrorStatus& status);

}  // namespace vesp
