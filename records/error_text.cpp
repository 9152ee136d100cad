#include "records/error_text.h"

#include <array>
#include <utility>

#include "runtime/text/utf8.h"

namespace vesp {

namespace {

constexpr int kDriverErrorCodes[] = {90, 100};

struct Placeholder {
  std::string_view name;
  std::string value;
};

}  // namespace

std::string errorTextWithCode(const ErrorStatus& s) {
  for (int driverCode : kDriverErrorCodes) {
    if (s.errorCode == driverCode) return s.fileErrorText + " (" + std::to_string(s.fileErrorCode) + ")";
  }
  return s.errorText + " (" + std::to_string(s.errorCode) + ")";
}

std::string buildMessageText(std::string_view text, const MessageContext& context) {
  const ErrorStatus& s = context.status;
  const std::array<Placeholder, 12> placeholders{{
      {"%FileErrorCode", std::to_string(s.fileErrorCode)},
      {"%FileError", s.fileErrorText},
      {"%File", s.FILENAME},
      {"%Key", s.KEYNAME},
      {"%ErrorCode", std::to_string(s.errorCode)},
      {"%ErrorText", errorTextWithCode(s)},
      {"%Error", s.errorText},
      {"%Message", s.MESSAGETEXT},
      {"%Field", s.FIELDNAME},
      {"%Procedure", std::string(context.procedure)},
      {"%Category", std::string(context.category)},
      {"%Previous", s.previousId ? s.previousText : std::string()},
  }};

  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t mark = text.find('%', pos);
    out.append(text.substr(pos, mark == std::string_view::npos ? std::string_view::npos : mark - pos));
    if (mark == std::string_view::npos) break;
    const Placeholder* match = nullptr;
    for (const Placeholder& p : placeholders) {
      if (text.substr(mark).starts_with(p.name) && (!match || p.name.size() > match->name.size())) match = &p;
    }
    if (match) {
      out += match->value;
      pos = mark + match->name.size();
    } else {
      out += '%';
      pos = mark + 1;
    }
  }
  return std::string(vrt::utf8Left(out, kMessageTextLimit));
}

}  // namespace vesp
