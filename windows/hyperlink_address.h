#pragma once
// What running a hyperlink's address opens: the rules that turn the text a form shows
// into the one target handed to the desktop opener. Pure functions, no desktop.
#include <cstddef>
#include <string>
#include <string_view>

namespace vesp {

struct AddressPlan {
  enum class Kind { Nothing, Mail, Open };
  Kind kind = Kind::Nothing;
  std::string target;   // what the opener gets
  std::string address;  // the address as the user wrote it, for messages
};

struct AddressRules {
  bool emailSafe = true;
  int lengthLimit = 0;  // 0: none
  std::size_t mailCommandLength = 0;
};

// An e-mail address holds "@" and does not begin with "http://" (any case).
bool isEmailAddress(std::string_view address);
// Encodes blanks, control characters, ";", "<", ">", and every "%", "&" or "?" that does
// not start an escape or a mail header, from the first "&body=" on.
std::string urlSafeEmail(std::string_view address);
// Trailing blanks and surrounding double quotes go; e-mail addresses get "mailto:".
AddressPlan planAddress(std::string_view text, const AddressRules& rules);

}  // namespace vesp
