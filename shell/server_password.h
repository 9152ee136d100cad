#pragma once
// Asking for a server's password: a small window whose entry hides what is typed. The
// password is handed back and never written anywhere.
#include <optional>
#include <string>

#include "runtime/store/data_location.h"

namespace vesp {

inline constexpr const char* kPasswordProcedure = "ServerPassword";

// Asks on the calling thread; nullopt when the user cancels. `why` says why it is asked
// (the server refused the last one, say), or is empty.
std::optional<std::string> AskServerPassword(const vrt::store::DataLocation& server, const std::string& why);

}  // namespace vesp
