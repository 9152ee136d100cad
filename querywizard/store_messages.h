#pragma once
// The saved-query store's own standard messages, and the error description they insert:
// the runtime's error text and code, or the driver's own text and code.
#include <string>
#include <string_view>

namespace qrywiz {

// "Record Not Found (35)", or for a driver error "disk I/O error (10)".
std::string errorDescription();
// "35-Record Not Found": code and text, as the save and update messages join them.
std::string codeAndText();

enum class StoreMessage {
  InvalidFile,        // %1 file
  InvalidKey,         // %1 file; Yes rebuilds
  KeyRebuildError,
  FileCreationError,  // %1 error, %2 file
  CreatedOpenError,   // %1 error, %2 file
  FileAccessError,    // %1 file, %2 error
  RecordInsertError,  // %1 error
  UpdateOperationError,
  DeleteOperationError,  // %1 error, %2 file
  DeleteRetry,
  ConfirmDelete,
  UpdateCancelled,    // leaving a changed form: Yes saves, No drops the change, Cancel stays
  DuplicateKeyError,  // %1 key
  AutoIncrementError, // %1 error
  TransactionFramingError,  // %1 error, %2 action, %3 file
  RecordRetrievalError,     // %1 error, %2 file
};

// Shows the message with its buttons and returns the button pressed.
int showStoreMessage(StoreMessage which, std::string_view a1 = {}, std::string_view a2 = {},
                     std::string_view a3 = {});

}  // namespace qrywiz
