#pragma once
// The program's message ids by name, for code that raises them (Msg::DuplicateKey).
// Their levels, titles and texts are in standard_messages.cpp.
#include <cstdint>

namespace vesp {

struct Msg {
  enum Id : std::uint16_t {
    RecordRetrievalError = 1,
    AccessDeniedReadOnly = 2,
    RecordAddedAddAnother = 3,
    RecordInsertError = 4,
    AddNewRecordQuery = 5,
    FileCloseError = 6,
    ChangedByOtherStation = 7,
    ChangedByOtherStationShown = 8,
    RecordChangedOrDeleted = 9,
    ConfirmCancel = 10,
    ConfirmDelete = 11,
    FileCreationError = 12,
    RecordDeleteFailed = 13,
    FormCannotDelete = 14,
    DuplicateKey = 15,
    FieldNotInFile = 16,
    FieldNotInList = 17,
    FieldOutOfRange = 18,
    FieldNotLower = 19,
    FieldNotHigher = 20,
    FileLoadError = 21,
    WmfNextRecordFailed = 22,
    FormCannotInsert = 23,
    TransactionCancelled = 24,
    NoRecords = 25,
    FileOpenError = 26,
    ProcedureNotDefined = 27,
    RecordUpdateFailed = 28,
    KeyRebuildFailed = 29,
    InvalidKey = 30,
    RecordHeld = 31,
    // 32 is not used.
    RestrictDelete = 33,
    RestrictUpdate = 34,
    AutoNumberFailed = 35,
    RetryDelete = 36,
    RetryUpdate = 37,
    ConfirmSave = 38,
    BeginningOfFile = 39,
    EndOfFile = 40,
    FormCannotUpdate = 41,
    FileNotOpened = 42,
    ViewOpenError = 43,
    UnsupportedQbeColumn = 44,
    SmtpError = 45,
    NntpError = 46,
    WinsockError = 47,
    WmfQueueAddFailed = 48,
    WmfInvalidFile = 49,
    WmfInvalidControl = 50,
    WmfFieldIdMissing = 51,
    ReportCommentMalformed = 52,
    ReportUnknownProperty = 53,
    // The program's own, beyond the framework's table (programMessages()).
    NotSaved = 54,
    ConfirmDeleteNamed = 55,
  };
};

}  // namespace vesp
