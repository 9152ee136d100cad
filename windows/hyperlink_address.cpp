#include "windows/hyperlink_address.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "runtime/os/desktop_opener.h"

namespace vesp {

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
  if (text.size() - std::min(at, text.size()) < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (lower(text[at + i]) != lower(word[i])) return false;
  }
  return true;
}

std::size_t findNoCase(std::string_view text, std::string_view word) {
  for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
    if (startsWithNoCase(text, at, word)) return at;
  }
  return std::string_view::npos;
}

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

void appendEscaped(std::string& out, unsigned char c) {
  static constexpr char digits[] = "0123456789ABCDEF";
  out += '%';
  out += digits[c >> 4];
  out += digits[c & 15];
}

bool startsMailHeader(std::string_view text, std::size_t at) {
  static constexpr std::array<std::string_view, 4> headers = {"body", "subject", "cc", "bcc"};
  return std::any_of(headers.begin(), headers.end(),
                     [&](std::string_view h) { return startsWithNoCase(text, at, h); });
}

std::string_view withoutSurroundingQuotes(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

bool isEmailAddress(std::string_view address) {
  if (startsWithNoCase(address, 0, "mailto:")) return true;
  return address.find('@') != std::string_view::npos && !vrt::hasUrlScheme(std::string(address)) &&
         address.find_first_of("/\\") == std::string_view::npos;
}

bool isOpenableScheme(std::string_view scheme) {
  for (std::string_view known : {"http", "https", "mailto", "file"})
    if (scheme.size() == known.size() && startsWithNoCase(scheme, 0, known)) return true;
  return false;
}

std::string urlSafeEmail(std::string_view address) {
  std::size_t from = findNoCase(address, "&body=");
  if (from == std::string_view::npos) from = 0;
  std::string out(address.substr(0, from));
  for (std::size_t i = from; i < address.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(address[i]);
    bool keep = true;
    if (c <= 32 || c == ';' || c == '<' || c == '>') {
      keep = false;
    } else if (c == '%') {
      keep = i + 2 < address.size() && isHex(address[i + 1]) && isHex(address[i + 2]);
    } else if (c == '&' || c == '?') {
      keep = startsMailHeader(address, i + 1);
    }
    if (keep) {
      out += static_cast<char>(c);
    } else {
      appendEscaped(out, c);
    }
  }
  return out;
}

AddressPlan planAddress(std::string_view text, const AddressRules& rules) {
  std::size_t end = text.find_last_not_of(' ');
  std::string_view address = withoutSurroundingQuotes(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
  if (address.empty()) return {};
  if (!isEmailAddress(address)) {
    const std::string target(address);
    const bool refused = vrt::hasUrlScheme(target) && !isOpenableScheme(address.substr(0, address.find(':')));
    return {refused ? AddressPlan::Kind::Refused : AddressPlan::Kind::Open, target, target};
  }
  std::string command = findNoCase(address, "mailto:") == std::string_view::npos ? "mailto:" + std::string(address)
                                                                                 : std::string(address);
  if (rules.emailSafe) command = urlSafeEmail(command);
  const std::size_t mail = rules.mailCommandLength;
  if (rules.lengthLimit > 0 && static_cast<std::size_t>(rules.lengthLimit) < command.size() + mail) {
    command.resize(static_cast<std::size_t>(rules.lengthLimit) > mail ? rules.lengthLimit - mail : 0);
  }
  return {AddressPlan::Kind::Mail, command, std::string(address)};
}

}  // namespace vesp
