#pragma once
// What running a hyperlink's address opens: the rules that turn the text a form shows
// into the one target handed to the desktop opener. Pure functions, no desktop.
#include <cstddef>
#include <string>
#include <string_view>

namespace vesp {

struct AddressPlan {
  // Refused: a scheme this program does not open (javascript:, data:, one it does not know).
  enum class Kind { Nothing, Mail, Open, Refused };
  Kind kind = Kind::Nothing;
  std::string target;   // what the opener gets
  std::string address;  // the address as the user wrote it, for messages
};

struct AddressRules {
  bool emailSafe = true;
  int lengthLimit = 0;  // 0: none
  std::size_t mailCommandLength = 0;
};

// An e-mail address begins with "mailto:" (any case), or is a bare address: "@" in it, no
// scheme and no path separator ("name@host", not "/media/easter@2x.png").
bool isEmailAddress(std::string_view address);
// The schemes that are opened: web pages, mail and files; plain paths are opened as files.
bool isOpenableScheme(std::string_view scheme);
// Encodes blanks, control characters, ";", "<", ">", and every "%", "&" or "?" that does
// not start an escape or a mail header, from the first "&body=" on.
std::string urlSafeEmail(std::string_view address);
// Trailing blanks and surrounding double quotes go; e-mail addresses get "mailto:"; web and
// file addresses and plain paths are opened as they are; any other scheme is refused.
AddressPlan planAddress(std::string_view text, const AddressRules& rules);

}  // namespace vesp
