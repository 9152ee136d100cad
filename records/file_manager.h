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
  struct SavedEntry {
    int id;
    std::unique_ptr<vrt::DataFile::State> state;
    std::string position;
    bool autoIncDone;
  };

  FileManager() = default;
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;
  virtual ~FileManager();

  // What a table's set-up may set, after Setup and before the first Open.
  bool CREATE = true;              // a missing file is created at Open
  int LOCKRECOVER = 10;            // seconds a lock left by a dead process is waited for
  int OPENMODE = kReadWrite | kDenyNone;  // access and sharing bits
  bool LAZYOPEN = true;            // Open defers the physical open to the first record operation
  bool SKIPHELDRECORDS = false;    // reading past a record another station holds
  // Hooks a table or screen sets: default values of a new record, and a check before a
  // record is written (non-zero refuses; the hook shows its own message, if any).
  std::function<void(vrt::RecordRef)> PrimeFields;
  std::function<int(vrt::RecordRef)> ValidateRecord;

  // Running state, set by the file manager itself.
  vrt::DataFile* FILE = nullptr;       // Setup: the thread's copy of the table
  vrt::RecordBuffer* BUFFER = nullptr;  // Setup: the table's record buffer on this thread
  std::string FILENAMEVALUE;           // Setup: the file's name
  ErrorManager* ERRORS = nullptr;      // Setup: where failures are reported
  int OPENED = 0;                      // Open and Close: how many users have it open
  bool USED = false;                   // Use: the file is open physically
  bool INUSEFILE = false;              // while Use opens the file (no second attempt inside)
  bool HASAUTOINC = false;             // RegisterKey: a key numbers new records
  bool AUTOINCDONE = false;            // ReserveNextNumber: the buffer holds a reserved number
  bool ATEOF = false;                  // Next and Previous: the last read ran off the end
  int PRIMARYKEY = 0;                  // RegisterKey: entry number in KEYS, 0 when none
  int LASTERROR = 0;                   // the driver's code of the last failure
  std::vector<KeyEntry> KEYS;          // RegisterKey, at set-up
  std::vector<SavedEntry> SAVED;       // SaveState and RestoreState
  bool INITIALIZED = false;            // the first Open or Use has set the defaults up
  bool KILLED = false;                 // Shutdown

  // Set-up for one table on this thread; registers the manager by table label.
  void Setup(vrt::DataFile& file, ErrorManager& errors);
  void RegisterKey(int key, std::string description, bool autoNumber);

  [[nodiscard]] Level Open();
  [[nodiscard]] Level Close();
  // Before every record operation: opens a lazily opened table now; fails with message 42
  // when no one on this thread has opened the table.
  [[nodiscard]] Level Use();

  [[nodiscard]] Level Fetch(int key);
  [[nodiscard]] Level Next(bool ask = true);
  [[nodiscard]] Level Previous(bool ask = true);
  [[nodiscard]] Level ClearForInsert(bool keepValues = false);
  [[nodiscard]] Level ReserveNextNumber(bool ask = true);
  [[nodiscard]] Level Insert(bool ask = true);
  // mode: 0 report nothing, 1 show failures, 2 called from a form (message 8 instead of 7)
  [[nodiscard]] Level Update(int mode = 1);
  [[nodiscard]] Level Delete(bool ask = true);

  int SaveState();
  void RestoreState(int& id, bool restorePosition = true);
  std::string Position();
  [[nodiscard]] Level RereadAt(const std::string& position);
  int PushBufferCopy();
  void PopBufferCopy(int& id, bool restore);
  void Shutdown();

  // The key entry that the buffer's values would duplicate, 0 when none (entry numbers).
  int DuplicateKeyEntry();

 private:
  void initialise();
  [[nodiscard]] Level openPhysically(bool mayAsk);
  int numberOnce(const KeyEntry& entry);
  [[nodiscard]] Level report(int message, bool show);
  [[nodiscard]] Level refused(Level result);
  // The description of the key with `label` (its label when it has none).
  std::string keyDescription(const std::string& label);
  void noteFile();

  int nextSavedId_ = 0;
  int nextBufferId_ = 0;
  std::vector<std::pair<int, vrt::RecordBuffer>> bufferCopies_;
  std::int64_t placeholder_ = 0;  // the record auto-numbering added, while AUTOINCDONE
};

// The thread's file managers by table label (case-blind); nullptr when not set up here.
FileManager* fileManagerFor(std::string_view label);

}  // namespace vesp
