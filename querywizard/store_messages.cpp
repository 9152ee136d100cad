#include "querywizard/store_messages.h"

#include "querywizard/hooks.h"
#include "runtime/gui/buttons.h"
#include "querywizard/store_types.h"

namespace qrywiz {

namespace {

struct Row {
  StoreMessage which;
  const char* title;
  const char* text;  // %1..%3 are the arguments
  int buttons;
  int defaultButton;
};

constexpr int kOk = vrt::kButtonOk;
constexpr int kYesNo = vrt::kButtonYes | vrt::kButtonNo;
constexpr int kOkCancel = vrt::kButtonOk | vrt::kButtonCancel;

constexpr Row kMessages[] = {
    {StoreMessage::InvalidFile, "Invalid File", "Invalid File! %1", kOk, kOk},
    {StoreMessage::InvalidKey, "Invalid Key", "%1 key file is invalid.  Do you want to rebuild the key?", kYesNo,
     vrt::kButtonYes},
    {StoreMessage::KeyRebuildError, "Key Rebuild Error", "Error Rebuilding Key!", kOk, kOk},
    {StoreMessage::FileCreationError, "File Creation Error",
     "Error: (%1) creating %2.  Press OK to end this application.", kOk, kOk},
    {StoreMessage::CreatedOpenError, "File Creation Error", "Error: (%1) opening created file:%2", kOk, kOk},
    {StoreMessage::FileAccessError, "File Access Error", "File (%1) could not be opened.  Error: %2.", kOk, kOk},
    {StoreMessage::RecordInsertError, "Record Insert Error",
     "An error was experienced during the update of record.  Error: %1.", kOk, kOk},
    {StoreMessage::UpdateOperationError, "Update Operation Error", "This record was changed by another station.",
     kOk, kOk},
    {StoreMessage::DeleteOperationError, "Delete Operation Error",
     "An error (%1) was experienced when attempting to delete a record from the file %2", kOk, kOk},
    {StoreMessage::DeleteRetry, "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?", kYesNo, vrt::kButtonYes},
    {StoreMessage::ConfirmDelete, "Confirm Delete",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.", kOkCancel,
     vrt::kButtonCancel},
    {StoreMessage::UpdateCancelled, "Update Cancelled", "Do you want to save the changes to this record?",
     vrt::kButtonYes | vrt::kButtonNo | vrt::kButtonCancel, vrt::kButtonYes},
    {StoreMessage::DuplicateKeyError, "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key:%1", kOk, kOk},
    {StoreMessage::AutoIncrementError, "Auto Increment Error",
     "Attempts to automatically number this record have failed.  Error: %1.", vrt::kButtonRetry | vrt::kButtonCancel,
     vrt::kButtonRetry},
    {StoreMessage::TransactionFramingError, "Transaction Framing Error",
     "Error: (%1) attempting to frame the %2 transaction on %3.  %2 transaction cancelled.", kOk, kOk},
    {StoreMessage::RecordRetrievalError, "Record Retrieval Error",
     "Error: (%1) attempting to access a record from the %2 file.  Returning to previous window.", kOk, kOk},
};

std::string fill(std::string_view text, std::string_view a1, std::string_view a2, std::string_view a3) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '3') {
      out += text[i + 1] == '1' ? a1 : text[i + 1] == '2' ? a2 : a3;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string errorDescription() {
  const vrt::ErrorState& e = vrt::threadError();
  if (e.code == vrt::kDriverError) return e.fileText + " (" + std::to_string(e.fileCode) + ")";
  return std::string(e.text.empty() ? vrt::errorText(e.code) : e.text) + " (" + std::to_string(e.code) + ")";
}

std::string codeAndText() {
  const vrt::ErrorState& e = vrt::threadError();
  if (e.code == vrt::kDriverError) return std::to_string(e.fileCode) + "-" + e.fileText;
  return std::to_string(e.code) + "-" + (e.text.empty() ? std::string(vrt::errorText(e.code)) : e.text);
}

int showStoreMessage(StoreMessage which, std::string_view a1, std::string_view a2, std::string_view a3) {
  for (const Row& r : kMessages)
    if (r.which == which) return showMessage(fill(r.text, a1, a2, a3), r.title, r.buttons, r.defaultButton);
  return 0;
}

}  // namespace qrywiz
