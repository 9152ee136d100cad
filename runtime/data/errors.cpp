#include "runtime/data/errors.h"

#include "runtime/os/thread_state.h"

namespace vrt {

const char* errorText(int code) {
  switch (code) {
    case kNoError: return "";
    case kFileNotFound: return "File Not Found";
    case kPathNotFound: return "Path Not Found";
    case kAccessDenied: return "Access Denied";
    case kFileLocked: return "File Is Already Locked";
    case kRecordNotAvailable: return "Record Not Available";
    case kRecordNotFound: return "Record Not Found";
    case kInvalidDataFile: return "Invalid Data File";
    case kFileNotOpen: return "File Not Open";
    case kDuplicateKey: return "Creates Duplicate Key";
    case kRecordHeld: return "Record Is Already Held";
    case kInvalidKey: return "Invalid Key File";
    case kInvalidRecordDeclaration: return "Invalid Record Declaration";
    case kFileAlreadyOpen: return "File Already Open";
    case kChangedByAnotherStation: return "Record Changed By Another Station";
    case kDriverError: return "File System Error";
    case kBadArgument: return "Invalid Argument";
    case kExpressionSyntax: return "Expression Syntax Error";
    case kUnknownName: return "Unknown Name In Expression";
    default: return "Unknown Error";
  }
}

ErrorState& threadError() { return perThread<ErrorState>(); }
int errorCode() { return threadError().code; }
const std::string& errorMessage() { return threadError().text; }

void clearError() { threadError() = ErrorState{}; }

void setError(int code, std::string text) {
  ErrorState& e = threadError();
  e = ErrorState{};
  e.code = code;
  e.text = text.empty() ? errorText(code) : std::move(text);
}

void setDriverError(int driverCode, std::string driverText) {
  setError(kDriverError);
  ErrorState& e = threadError();
  e.fileCode = driverCode;
  e.fileText = std::move(driverText);
}

}  // namespace vrt
