#pragma once
// What one thread knows about its current error: the names noted before it, the driver's
// error captured when it was recorded, and the message it became. Kept per thread so that
// two threads failing at once never show each other's file names.
#include <string>

#include "records/levels.h"

namespace vesp {

struct ErrorStatus {
  std::string FIELDNAME;    // %Field
  std::string FILENAME;     // %File
  std::string KEYNAME;      // %Key
  std::string MESSAGETEXT;  // %Message

  int errorCode = 0;  // %ErrorCode
  std::string errorText;  // %Error
  int fileErrorCode = 0;  // %FileErrorCode: the driver's own code
  std::string fileErrorText;  // %FileError: the driver's own text

  int messageId = 0;  // the current message
  Level level = Level::Benign;
  std::string title;
  std::string text;  // as in the table, placeholders unfilled
  std::string shownText;  // as last shown; empty until then

  int previousId = 0;  // the message before the current one, for %Previous
  std::string previousText;
};

}  // namespace vesp
