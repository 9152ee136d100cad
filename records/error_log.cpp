#include "records/error_log.h"

#include <cstdio>

#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"

namespace vesp {

std::string errorLogLine(std::string_view text) {
  std::string line = vrt::formatPicture(vrt::today(), "@d17") + " " + vrt::formatPicture(vrt::clockNow(), "@t8") +
                     " --> " + std::string(text);
  // A message text may carry line breaks from a noted value; the log keeps one message a line.
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return std::string(vrt::utf8Left(line, kErrorLogLineLimit));
}

void appendErrorLog(const std::string& path, std::string_view text) {
  const std::string line = errorLogLine(text) + "\n";
  if (std::FILE* f = std::fopen(path.c_str(), "a")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

}  // namespace vesp
