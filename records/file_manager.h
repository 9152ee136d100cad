#pragma once
// The file manager: one table on one thread. It opens the table lazily and counts its users,
// reads, adds, changes and deletes records with the program's error policy, numbers new
// records, saves and restores the table's state around nested work, and turns every driver
// error into a numbered message of the error manager.
//
// Results are the error manager's levels: 0 success, 1 the user said no, 2 program error,
// 3 fatal or unusable file, 4 cancelled, 5 notified (the operation did not happen).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "records/error_manager.h"
#include "runtime/store/data_file.h"

namespace vesp {

// What a table's ValidateRecord hook says of the record about to be written.
enum class RecordVerdict {
  Accept,
  Refuse,  // nothing is written; the hook has shown its own message, if any
};

class FileManager {
 public:
  // Access and sharing bits of OPENMODE.
  static constexpr int kReadWrite = 0x02;
  static constexpr int kAccessBits = 0x0F;
  static constexpr int kDenyNone = 0x40;

  struct KeyField {
    int field;
    std::string FIELDNAME;  // "UPPER(SER:TITLE)" for a text component of a case-blind key
    bool ASCEND = true;
  };
  struct KeyEntry {
    int key;                  // the table's key number
    std::string description;  // the key's mixed-case label
    bool AUTOINC = false;
    bool DUPS = false;
    bool NOCASE = false;
    std::vector<KeyField> FIELDS;
  };

  FileManager() = default;
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;
  virtual ~FileManager();

  // What a table's set-up may declare, with one Configure after Setup; a member left out
  // keeps its default. OPENMODE takes effect at the next physical open.
  struct Settings {
    bool CREATE = true;                     // a missing file is created at Open
    int LOCKRECOVER = 10;                   // seconds a lock left by a dead process is waited for
    int OPENMODE = kReadWrite | kDenyNone;  // access and sharing bits
    bool LAZYOPEN = true;            // Open defers the physical open to the first record operation
    bool SKIPHELDRECORDS = false;    // reading past a record another station holds
    // Default values of a new record, after ClearForInsert has blanked it.
    std::function<void(vrt::RecordRef)> PrimeFields{};
    // A check before Insert or Update writes the record; a refusal writes nothing, and the
    // hook shows its own message, if any.
    std::function<RecordVerdict(vrt::RecordRef)> ValidateRecord{};
  };

  // Set-up for one table on this thread, with the default settings; registers the manager
  // by table label.
  void Setup(vrt::DataFile& file, ErrorManager& errors);
  // The table's set-up after Setup, or a caller that needs other hooks for a while: replaces
  // the settings whole; an unchanged OPENMODE keeps a read-only fallback already made.
  void Configure(Settings settings);
  const Settings& SETTINGS() const { return settings_; }  // Setup and Configure

  // Running state, read by the relation and view managers, screens and the tests; the file
  // manager sets it.
  vrt::DataFile* FILE() const { return file_; }           // Setup: the thread's copy of the table
  vrt::RecordBuffer* BUFFER() const { return buffer_; }   // Setup: the table's record buffer on this thread
  const std::string& FILENAMEVALUE() const { return fileName_; }  // Setup: the table's label
  ErrorManager* ERRORS() const { return errors_; }        // Setup: where failures are reported
  int OPENED() const { return opened_; }                  // Open and Close: how many users have it open
  bool USED() const { return used_; }                     // Use: the file is open physically
  bool AUTOINCDONE() const { return autoIncDone_; }       // ReserveNextNumber: the buffer holds a reserved number
  bool ATEOF() const { return atEof_; }                   // Next and Previous: the last read ran off the end
  int PRIMARYKEY() const { return primaryKey_; }          // first use: entry number in KEYS, 0 when none
  int LASTERROR() const { return lastError_; }            // the message of the last failure, 0 after a refusal
  const std::vector<KeyEntry>& KEYS() const { return keys_; }  // first use: the table's keys

  // The relation manager, a screen or a tool before it works with the table, and after:
  // counts this thread's users; the last Close closes the file.
  [[nodiscard]] Level Open();
  [[nodiscard]] Level Close();
  // Before every record operation: opens a lazily opened table now, and again when its file
  // was closed under it; fails with message 42 when no one on this thread has opened the table.
  [[nodiscard]] Level Use();

  // Reads into the buffer: the record the buffer's values of `key` name, or the next or
  // previous one where the table stands (Level::Notify at the end, ATEOF set). While a
  // LookupMemo lives on the thread, Fetch hands back a record it found there already.
  [[nodiscard]] Level Fetch(int key);
  [[nodiscard]] Level Next(bool ask = true);
  [[nodiscard]] Level Previous(bool ask = true);
  // A form or tool about to add a record: blanks the buffer (unless `keepValues`), primes it
  // and reserves its number.
  [[nodiscard]] Level ClearForInsert(bool keepValues = false);
  // Numbers the buffer by adding a placeholder record that Insert later fills; nothing to do
  // when a number is reserved already.
  [[nodiscard]] Level ReserveNextNumber(bool ask = true);
  // Writes the buffer as a new record, as the changed current record, or deletes the current
  // record (`ask`: the user confirms first); a ValidateRecord refusal writes nothing.
  [[nodiscard]] Level Insert(bool ask = true);
  // mode: 0 report nothing, 1 show failures, 2 called from a form (message 8 instead of 7)
  [[nodiscard]] Level Update(int mode = 1);
  [[nodiscard]] Level Delete(bool ask = true);

  // The number ReserveNextNumber put in the buffer is no longer the buffer's: a form deleted
  // its placeholder, a rollback took the placeholder away, or a caller put another record in
  // the buffer to be numbered afresh. The next Insert reserves a number of its own.
  void GiveUpReservedNumber() { autoIncDone_ = false; }
  // A relation-wide insert that used the reserved number was undone: its placeholder is back
  // in the table, and the buffer holds its number again.
  void TakeBackReservedNumber() { autoIncDone_ = true; }
  // A relation-wide change records a failure against this table (with %File) without showing
  // it; it is shown once the change's transaction has let go of the files.
  void RecordFailure(int message);

  // Around nested work that reads the table: its position, buffer and reserved number, saved
  // under an id and put back (and the id zeroed); without `restorePosition`, the buffer only.
  int SaveState();
  void RestoreState(int& id, bool restorePosition = true);
  // Where the table stands, by its primary key (file order without one), for RereadAt.
  std::string Position();
  [[nodiscard]] Level RereadAt(const std::string& position);
  // Around work that may change the buffer: a copy of it under an id, dropped or put back.
  int PushBufferCopy();
  void PopBufferCopy(int& id, bool restore);
  // The thread's dictionary as the thread ends: closes the table and forgets the manager.
  void Shutdown();

 private:
  struct SavedEntry {
    int id;
    std::unique_ptr<vrt::DataFile::State> state;
    std::string position;
    bool autoIncDone;
  };

  void initialise();
  // The key entry that the buffer's values would duplicate, 0 when none (entry numbers).
  int duplicateKeyEntry();
  void registerKey(int key, std::string description, bool autoNumber);
  [[nodiscard]] Level openPhysically(bool mayAsk);
  int numberOnce(const KeyEntry& entry);
  [[nodiscard]] Level report(int message, bool show);
  [[nodiscard]] Level refused(Level result);
  template <typename Read>
  [[nodiscard]] Level sequentialRead(bool ask, Read read);
  // The description of the key with `label` (its label when it has none).
  std::string keyDescription(const std::string& label);
  void noteFile();

  Settings settings_;
  int openMode_ = kReadWrite | kDenyNone;  // OPENMODE, read-only once write access was refused
  vrt::DataFile* file_ = nullptr;
  vrt::RecordBuffer* buffer_ = nullptr;
  std::string fileName_;
  ErrorManager* errors_ = nullptr;
  int opened_ = 0;
  bool used_ = false;
  bool inUseFile_ = false;     // while Use opens the file (no second attempt inside)
  bool hasAutoInc_ = false;    // first use: a key numbers new records
  bool autoIncDone_ = false;
  bool atEof_ = false;
  int primaryKey_ = 0;
  int lastError_ = 0;
  std::vector<KeyEntry> keys_;
  std::vector<SavedEntry> saved_;  // SaveState until RestoreState
  bool initialized_ = false;   // the first Open or Use has set the keys up
  bool killed_ = false;        // Shutdown

  int nextSavedId_ = 0;
  int nextBufferId_ = 0;
  std::vector<std::pair<int, vrt::RecordBuffer>> bufferCopies_;
  std::int64_t placeholder_ = 0;  // the record auto-numbering added, while AUTOINCDONE
};

// The thread's file managers by table label (case-blind); nullptr when not set up here.
FileManager* fileManagerFor(std::string_view label);

}  // namespace vesp
