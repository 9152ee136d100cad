#pragma once
// The conditions the record store reports, with the numbers the rest of the system knows
// them by, and the per-thread error state in which the last one is kept (read it like
// ERRORCODE()/ERROR()/FILEERRORCODE()/FILEERROR()).
#include <string>

namespace vrt {

enum ErrorCode : int {
  kNoError = 0,
  kFileNotFound = 2,
  kPathNotFound = 3,
  kAccessDenied = 5,
  kFileLocked = 32,
  kRecordNotAvailable = 33,  // end (or beginning) of file reached
  kRecordNotFound = 35,
  kInvalidDataFile = 36,
  kFileNotOpen = 37,
  kDuplicateKey = 40,
  kRecordHeld = 43,
  kInvalidKey = 46,            // index damaged: keys must be rebuilt
  kInvalidRecordDeclaration = 47,
  kFileAlreadyOpen = 52,
  kChangedByAnotherStation = 89,
  kDriverError = 90,           // the driver's own code and text say more
  kBadArgument = 91,
  kExpressionSyntax = 800,
  kUnknownName = 801,
};

// The runtime's own text for a code ("Record Not Found").
const char* errorText(int code);

struct ErrorState {
  int code = 0;
  std::string text;
  int fileCode = 0;        // the driver's own code (SQLite result code) for code 90
  std::string fileText;    // the driver's own text
  std::string keyName;     // the key that collided, for duplicate keys
};

// This thread's last error.
ErrorState& threadError();
int errorCode();
const std::string& errorMessage();
void clearError();
// Records a condition; the text defaults to errorText(code).
void setError(int code, std::string text = {});
void setDriverError(int driverCode, std::string driverText);

}  // namespace vrt
