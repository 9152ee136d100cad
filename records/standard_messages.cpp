#include "records/standard_messages.h"

#include "records/levels.h"
#include "records/messages.h"

namespace vesp {

namespace {

using enum Level;

// A bar in a text is a line break of the message box.
const MessageEntry kStandardMessages[] = {
    {Msg::RecordRetrievalError, Notify, "Record Retrieval Error",
     "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to previous window.", {}},
    {Msg::AccessDeniedReadOnly, Notify, "Access Denied",
     "Could not get write access to %File so trying read-only.", {}},
    {Msg::RecordAddedAddAnother, Ask, "Record Added",
     "This record has been added to the file. Do you want to add another record?", {}},
    {Msg::RecordInsertError, Notify, "Record Insert Error",
     "An error was experienced during the creation of a record.|File: %File|Error: %ErrorText.", {}},
    {Msg::AddNewRecordQuery, Notify, "Add New Record?", "Record match not found, do you wish to add a new one?", {}},
    {Msg::FileCloseError, Notify, "File Access Error", "File %File could not be closed.  Error: %ErrorText.", {}},
    {Msg::ChangedByOtherStation, Notify, "Record Was Not Updated", "This record was changed by another station.", {}},
    {Msg::ChangedByOtherStationShown, Notify, "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or "
     "Ctrl+H to recall your changes.",
     {}},
    {Msg::RecordChangedOrDeleted, Notify, "Record Retrieval Error",
     "This record was changed or deleted by another station.|Error: (%ErrorText) attempting to access a record "
     "from the %File file.",
     {}},
    {Msg::ConfirmCancel, Ask, "Changes will be lost!", "Are you sure you want to cancel?", {}},
    {Msg::ConfirmDelete, Ask, "Confirm Delete", "Are you sure you want to delete the highlighted record?", {}},
    {Msg::FileCreationError, Fatal, "File Creation Error", "Error: (%ErrorText) creating %File.", {}},
    {Msg::RecordDeleteFailed, Notify, "Record was not deleted",
     "An error (%ErrorText) was experienced when deleting a record from the %File file.", {}},
    {Msg::FormCannotDelete, Notify, "Invalid Request", "This form cannot be used to delete a record", {}},
    {Msg::DuplicateKey, Notify, "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key: %Message", {}},
    {Msg::FieldNotInFile, Notify, "Field contents error",
     "The value of %Field must be found in the %Message file.", {}},
    {Msg::FieldNotInList, Notify, "Value Error", "The value of %Field must be in the list : %Message.", {}},
    {Msg::FieldOutOfRange, Notify, "Range Error", "The value of %Field must be in range %Message.", {}},
    {Msg::FieldNotLower, Notify, "Range Error", "The value of %Field must be lower than %Message.", {}},
    {Msg::FieldNotHigher, Notify, "Range Error", "The value of %Field must be higher than %Message.", {}},
    {Msg::FileLoadError, Notify, "File Load Error", "%File File Load Error.  Error: %ErrorText.", {}},
    {Msg::WmfNextRecordFailed, Fatal, "WMF Parser Error", "Get next record from file %File failed.", {}},
    {Msg::FormCannotInsert, Notify, "Invalid Request", "This form cannot be used to insert a record", {}},
    {Msg::TransactionCancelled, Notify, "Transaction cancelled",
     "Error: (%ErrorText) attempting to frame the transaction on %File.", {}},
    {Msg::NoRecords, Notify, "No Records", "There are no records available to process.", {}},
    {Msg::FileOpenError, Fatal, "File Access Error", "File %File could not be opened.  Error: %ErrorText.", {}},
    {Msg::ProcedureNotDefined, Notify, "Procedure not defined", "The Procedure %Message has not been defined.", {}},
    {Msg::RecordUpdateFailed, Notify, "Record was not updated",
     "An error (%ErrorText) was experienced when making changes to the %File file.", {}},
    {Msg::KeyRebuildFailed, Fatal, "Key was not built", "Error: (%ErrorText) repairing key for %File.", {}},
    {Msg::InvalidKey, Notify, "Invalid Key", "%File key file is invalid. Key must be rebuilt.", {}},
    {Msg::RecordHeld, Notify, "Record not read",
     "A record held by another station was encountered reading from the %File file.", {}},
    {Msg::RestrictDelete, Notify, "Referential Integrity Delete Error",
     "This record is referenced from the file %File. This record cannot be deleted while these references exist.",
     {}},
    {Msg::RestrictUpdate, Notify, "Referential Integrity Update Error",
     "This record is referenced from the file %File. Linking field(s) have been restricted from change and have "
     "been reset to original values.",
     {}},
    {Msg::AutoNumberFailed, Ask, "Auto Increment Error",
     "Attempts to automatically number this record have failed.|File: %File|Key: %Key|Error: %ErrorText.|Try "
     "Again?",
     {}},
    {Msg::RetryDelete, Ask, "Record Delete Error",
     "An error was experienced deleting this record. Do you want to try to delete it again?", {}},
    {Msg::RetryUpdate, Ask, "Record Update Error",
     "An error was experienced changing this record. Do you want to try to save again?", {}},
    {Msg::ConfirmSave, Ask, "Save Record", "Do you want to save the changes to this record?", {}},
    {Msg::BeginningOfFile, Ask, "Beginning of File Error",
     "The beginning of the file %File was encountered. Do you want to start again from the end of the file?", {}},
    {Msg::EndOfFile, Ask, "End of File Error",
     "The end of the file %File was encountered. Do you want to start again from the beginning?", {}},
    {Msg::FormCannotUpdate, Notify, "Invalid Request", "This form cannot be used to update a record", {}},
    {Msg::FileNotOpened, Program, "File Usage Error", "Attempt to use file (%File) before it was opened", {}},
    {Msg::ViewOpenError, Notify, "View Open Error",
     "Error: (%ErrorText) attempting to open the current VIEW. Filter and Range Limits ignored.", {}},
    {Msg::UnsupportedQbeColumn, Notify, "Unsupported QBE Column",
     "The saved QBE column, %Field is not supported. It will be dropped from the query.", {}},
    {Msg::SmtpError, Notify, "SMTP Error", "The following SMTP Error occurred: %Message ", {}},
    {Msg::NntpError, Notify, "NNTP Error", "%Message ", {}},
    {Msg::WinsockError, Notify, "Winsock Error", "%Message ", {}},
    {Msg::WmfQueueAddFailed, Fatal, "WMF Parser Error", "Adding record to queue failed. Parsing %File.", {}},
    {Msg::WmfInvalidFile, Fatal, "WMF Parser Error", "The File %File is not a valid WMF file.", {}},
    {Msg::WmfInvalidControl, Fatal, "WMF Parser Error", "Invalid %Field control found. Parsing %File.", {}},
    {Msg::WmfFieldIdMissing, Fatal, "WMF Parser Error", "Cannot find %Field id. Parsing %File.", {}},
    {Msg::ReportCommentMalformed, Notify, "Report Writer Error",
     "Poorly Formed Comment String \"%Message\" at Position %Field.", {}},
    {Msg::ReportUnknownProperty, Notify, "Report Writer Error", "Unknown Property %Message.", {}},
};

// Their texts are made by the code that raises them.
const MessageEntry kProgramMessages[] = {
    {Msg::NotSaved, Notify, "Record Was Not Saved", "%Message", {}},
    {Msg::ConfirmDeleteNamed, Ask, "Confirm Delete", "%Message", {}},
};

}  // namespace

std::span<const MessageEntry> programMessages() { return kProgramMessages; }

std::vector<std::uint8_t> programMessageBlock() { return packMessages(kProgramMessages); }

std::span<const MessageEntry> standardMessages() { return kStandardMessages; }

std::vector<std::uint8_t> standardMessageBlock() { return packMessages(kStandardMessages); }

}  // namespace vesp
