#include "records/file_manager.h"

#include "records/open_service.h"
#include "records/thread_registry.h"
#include "runtime/data/errors.h"
#include "runtime/text/utf8.h"

namespace vesp {

FileManager::~FileManager() { Shutdown(); }

void FileManager::Setup(vrt::DataFile& file, ErrorManager& errors) {
  INITIALIZED = false;
  FILE = &file;
  BUFFER = &file.buffer();
  FILENAMEVALUE = file.schema().label;
  ERRORS = &errors;
  OPENED = 0;
  LAZYOPEN = true;
  KILLED = false;
  threadRegistry().FILEMAPPING[vrt::upperCase(FILENAMEVALUE)] = this;
}

// The file-level set-up, done on first use.
void FileManager::initialise() {
  if (INITIALIZED) return;
  INITIALIZED = true;
  KEYS.clear();
  SAVED.clear();
  SKIPHELDRECORDS = false;
  OPENMODE = kReadWrite | kDenyNone;
  CREATE = true;
  LOCKRECOVER = 10;
  PRIMARYKEY = 0;
  const auto& schema = FILE->schema();
  for (std::size_t k = 0; k < schema.keys.size(); ++k)
    RegisterKey(static_cast<int>(k), schema.keys[k].label, schema.keys[k].autoNumber);
}

void FileManager::RegisterKey(int key, std::string description, bool autoNumber) {
  const auto& schema = FILE->schema();
  const vrt::KeyDesc& k = schema.keys[static_cast<std::size_t>(key)];
  KeyEntry e{key, std::move(description), autoNumber, !k.unique, k.noCase, {}};
  for (int c : k.components) {
    const vrt::FieldDesc& f = schema.fields[static_cast<std::size_t>(c)];
    const bool text = f.type == vrt::FieldType::String || f.type == vrt::FieldType::CString;
    e.FIELDS.push_back(KeyField{c, k.noCase && text ? "UPPER(" + f.label + ")" : f.label, true});
  }
  if (autoNumber) HASAUTOINC = true;
  KEYS.push_back(std::move(e));
  if (k.primary) PRIMARYKEY = static_cast<int>(KEYS.size());
}

void FileManager::noteFile() { ERRORS->NoteFile(vrt::clip(FILENAMEVALUE)); }

// Records `message` (with %File) and shows it when asked; the result of showing, else 5.
Level FileManager::report(int message, bool show) {
  noteFile();
  LASTERROR = message;
  ERRORS->RecordError(message);
  return show ? ERRORS->ShowCurrent(message) : Level::Notify;
}

// ---------------------------------------------------------------- opening

Level FileManager::Open() {
  initialise();
  if (!LAZYOPEN && OPENED == 0 && !USED) {
    if (const Level rc = openPhysically(true); rc != Level::Benign) return rc;
  }
  ++OPENED;
  return Level::Benign;
}

Level FileManager::Close() {
  if (OPENED <= 0) return Level::Benign;
  if (--OPENED == 0 && USED) {
    FILE->close();
    USED = false;
  }
  return Level::Benign;
}

Level FileManager::Use() {
  initialise();
  if (USED) return Level::Benign;
  if (INUSEFILE) return Level::Benign;
  if (OPENED < 1) {
    // Nobody on this thread opened the table: that is the program's mistake, not the user's.
    static_cast<void>(report(Msg::FileNotOpened, true));
    return Level::Fatal;
  }
  INUSEFILE = true;
  // Opening must not move the caller's position or lose what it put in the buffer.
  int saved = SaveState();
  const Level rc = openPhysically(true);
  RestoreState(saved, rc == Level::Benign);
  INUSEFILE = false;
  return rc;
}

Level FileManager::openPhysically(bool mayAsk) {
  OpenService& opener = OpenService::process();
  for (int attempt = 1; attempt <= 2; ++attempt) {
    int rc = opener.Open(*FILE, OPENMODE, attempt);
    if (rc == vrt::kAccessDenied) {
      FILE->sendOption("Recover=" + std::to_string(LOCKRECOVER));
      rc = opener.Open(*FILE, OPENMODE, 0);
    }
    switch (rc) {
      case vrt::kNoError:
        USED = true;
        ATEOF = false;
        AUTOINCDONE = false;
        // Every write checks that no other station changed the record since it was read.
        FILE->watch();
        return Level::Benign;
      case vrt::kFileNotFound:
        if (!CREATE) break;
        if (!FILE->create()) return mayAsk ? report(Msg::FileCreationError, true) : report(Msg::FileCreationError, false);
        continue;
      case vrt::kInvalidKey:
        static_cast<void>(report(Msg::InvalidKey, false));
        if (!mayAsk) return Level::Notify;
        static_cast<void>(ERRORS->ShowCurrent(Msg::InvalidKey));
        if (!FILE->buildKeys()) return report(Msg::KeyRebuildFailed, true);
        continue;
      case vrt::kAccessDenied:
        if ((OPENMODE & kAccessBits) != kReadWrite) break;
        OPENMODE &= ~kAccessBits;  // read-only, sharing as before
        static_cast<void>(report(Msg::AccessDeniedReadOnly, true));
        continue;
      default:
        break;
    }
    break;
  }
  // A server that cannot be reached now is no damage to the data: the user is told and
  // the action refused, and the program goes on with every open form's edits.
  if (FILE->onServer() && vrt::errorCode() == vrt::kDriverError) {
    static_cast<void>(report(Msg::RecordRetrievalError, mayAsk));
    return Level::Notify;
  }
  return report(Msg::FileOpenError, mayAsk);
}

// ---------------------------------------------------------------- reading

Level FileManager::Fetch(int key) {
  if (Use() != Level::Benign) return Level::Fatal;
  return FILE->get(key) ? Level::Benign : Level::Notify;
}

namespace {

constexpr int kHeldReadAttempts = 3;

template <typename Read>
Level sequentialRead(FileManager& fm, bool ask, Read read) {
  if (fm.Use() != Level::Benign) return Level::Fatal;
  for (int held = 0;;) {
    fm.ATEOF = false;
    if (read()) return Level::Benign;
    const int code = vrt::errorCode();
    if (code == vrt::kRecordNotAvailable) {
      fm.ATEOF = true;
      return Level::Notify;
    }
    if (code == vrt::kRecordHeld) {
      // The store holds whole files, not single records, so there is no record to step over:
      // reading on means trying again, a few times, before the hold is reported after all.
      if (fm.SKIPHELDRECORDS && ++held < kHeldReadAttempts) continue;
      fm.ERRORS->NoteFile(vrt::clip(fm.FILENAMEVALUE));
      fm.LASTERROR = Msg::RecordHeld;
      fm.ERRORS->RecordError(Msg::RecordHeld);
      return ask ? fm.ERRORS->ShowCurrent(Msg::RecordHeld) : Level::Notify;
    }
    fm.ERRORS->NoteFile(vrt::clip(fm.FILENAMEVALUE));
    fm.LASTERROR = Msg::RecordRetrievalError;
    fm.ERRORS->RecordError(Msg::RecordRetrievalError);
    return ask ? fm.ERRORS->ShowCurrent(Msg::RecordRetrievalError) : Level::Fatal;
  }
}

}  // namespace

Level FileManager::Next(bool ask) { return sequentialRead(*this, ask, [this] { return FILE->next(); }); }
Level FileManager::Previous(bool ask) { return sequentialRead(*this, ask, [this] { return FILE->previous(); }); }

// ---------------------------------------------------------------- auto-numbering

Level FileManager::ClearForInsert(bool keepValues) {
  if (Use() != Level::Benign) return Level::Fatal;
  if (!keepValues) BUFFER->clearAll(FILE->schema().fields);
  if (PrimeFields) PrimeFields(*BUFFER);
  if (!HASAUTOINC) return Level::Benign;
  AUTOINCDONE = false;
  return ReserveNextNumber(true);
}

// One numbering of one auto-numbered key: the highest value (within the leading components'
// group) plus one, into the buffer. 0, or the driver error that stopped it.
int FileManager::numberOnce(const KeyEntry& entry) {
  const auto& layout = FILE->layout();
  const int last = entry.FIELDS.back().field;
  const auto leading = layout.keyValues(entry.key, *BUFFER);
  int id = SaveState();
  if (entry.FIELDS.size() == 1) {
    FILE->setToEnd(entry.key);
  } else {
    layout.setComponentValue(last, layout.highestValue(last), *BUFFER);
    FILE->setToValue(entry.key);
  }
  std::int64_t value = 1;
  int rc = 0;
  if (FILE->previous()) {
    const auto found = layout.keyValues(entry.key, *BUFFER);
    const bool sameGroup = std::equal(found.begin(), found.end() - 1, leading.begin());
    if (sameGroup) value = std::get<std::int64_t>(found.back()) + 1;
  } else if (vrt::errorCode() != vrt::kRecordNotAvailable) {
    rc = vrt::errorCode();
  }
  RestoreState(id, true);
  if (rc == 0) layout.setComponentValue(last, value, *BUFFER);
  return rc;
}

namespace {

// Other stations wait to number the table while this one reads its highest number and adds
// the record that takes the next.
class NumberingHeld {
 public:
  explicit NumberingHeld(vrt::DataFile& file) : file_(file), held_(file.holdNumbering()) {}
  ~NumberingHeld() {
    if (held_) file_.releaseNumbering();
  }
  bool held() const { return held_; }
  NumberingHeld(const NumberingHeld&) = delete;
  NumberingHeld& operator=(const NumberingHeld&) = delete;

 private:
  vrt::DataFile& file_;
  bool held_;
};

}  // namespace

Level FileManager::ReserveNextNumber(bool ask) {
  if (Use() != Level::Benign) return Level::Fatal;
  if (!HASAUTOINC || AUTOINCDONE) return Level::Benign;
  for (int attempts = 0;;) {
    int readFailure = 0;
    bool added = false;
    {
      NumberingHeld numbering(*FILE);
      for (const KeyEntry& entry : KEYS) {
        if (!entry.AUTOINC) continue;
        ERRORS->NoteKey(entry.description.empty() ? FILE->schema().keys[static_cast<std::size_t>(entry.key)].label
                                                  : entry.description);
        readFailure = numbering.held() ? numberOnce(entry) : vrt::errorCode();
        if (readFailure != 0) break;
      }
      // The number is taken by a real record at once, so no other station can take it too.
      added = readFailure == 0 && FILE->add();
    }
    // Questions come after the numbering is let go: no other station waits on a user.
    if (readFailure != 0) {
      const Level result = report(Msg::RecordRetrievalError, ask);
      return ask ? result : Level::Notify;
    }
    if (added) {
      AUTOINCDONE = true;
      placeholder_ = FILE->currentRowid();
      return Level::Benign;
    }
    const int failed = vrt::errorCode();
    if (++attempts < 3) continue;
    // The driver names the key that collided; searching again could find another, or none.
    if (failed == vrt::kDuplicateKey) ERRORS->NoteKey(keyDescription(vrt::threadError().keyName));
    const Level answer = report(Msg::AutoNumberFailed, ask);
    if (!ask || answer != Level::Benign) return Level::Notify;
    attempts = 0;
  }
}

std::string FileManager::keyDescription(const std::string& label) {
  if (label.empty()) {
    // The driver could not tell: the first key the buffer's values collide on.
    const int dup = DuplicateKeyEntry();
    if (dup == 0) return {};
    const KeyEntry& e = KEYS[static_cast<std::size_t>(dup - 1)];
    return e.description.empty() ? FILE->schema().keys[static_cast<std::size_t>(e.key)].label : e.description;
  }
  for (const KeyEntry& e : KEYS) {
    const std::string& own = FILE->schema().keys[static_cast<std::size_t>(e.key)].label;
    if (vrt::upperCase(own) == vrt::upperCase(label)) return e.description.empty() ? own : e.description;
  }
  return label;
}

int FileManager::DuplicateKeyEntry() {
  for (std::size_t i = 0; i < KEYS.size(); ++i)
    if (FILE->duplicates(KEYS[i].key)) return static_cast<int>(i) + 1;
  return 0;
}

// ---------------------------------------------------------------- writing

// The validation hook said no and said why itself: no message of ours stays behind to be
// mistaken for the reason.
Level FileManager::refused(Level result) {
  LASTERROR = 0;
  return result;
}

Level FileManager::Insert(bool ask) {
  if (Use() != Level::Benign) return Level::Fatal;
  if (ValidateRecord && ValidateRecord(*BUFFER) != 0) return refused(Level::Notify);
  bool ok;
  if (!HASAUTOINC) {
    ok = FILE->add();
  } else {
    if (!AUTOINCDONE && ReserveNextNumber(ask) != Level::Benign) return Level::Notify;
    // The record numbering added is changed in place, wherever the table has moved since.
    const vrt::RecordBuffer entered = *BUFFER;
    ok = FILE->getByRowid(placeholder_);
    *BUFFER = entered;
    ok = ok && FILE->put();
  }
  if (ok) {
    AUTOINCDONE = false;
    return Level::Benign;
  }
  if (vrt::errorCode() == vrt::kDuplicateKey) {
    // The driver knows the key that collided, even when the record it collided with is the
    // one this table stands on (a search that leaves the current record out would not).
    ERRORS->NoteMessageText(keyDescription(vrt::threadError().keyName));
    static_cast<void>(report(Msg::DuplicateKey, ask));
    return Level::Notify;
  }
  static_cast<void>(report(Msg::RecordInsertError, ask));
  return Level::Notify;
}

Level FileManager::Update(int mode) {
  if (Use() != Level::Benign) return Level::Fatal;
  if (ValidateRecord && ValidateRecord(*BUFFER) != 0) return refused(Level::Ask);
  const std::string position = Position();
  if (FILE->put()) return Level::Benign;
  if (vrt::errorCode() == vrt::kChangedByAnotherStation) {
    static_cast<void>(report(mode == 2 ? Msg::ChangedByOtherStationShown : Msg::ChangedByOtherStation, mode != 0));
    // The other station's version goes into the buffer; the form can recall what was typed.
    FILE->watch();
    FILE->getAt(position);
    return Level::Notify;
  }
  static_cast<void>(report(Msg::RecordUpdateFailed, mode != 0));
  return Level::Notify;
}

Level FileManager::Delete(bool ask) {
  if (ask) {
    if (ERRORS->Raise(Msg::ConfirmDelete) != Level::Benign) return Level::Cancel;
  }
  if (Use() != Level::Benign) return Level::Fatal;
  if (FILE->erase()) return Level::Benign;
  static_cast<void>(report(Msg::RecordDeleteFailed, false));
  return Level::Notify;
}

// ---------------------------------------------------------------- state

int FileManager::SaveState() {
  const int id = ++nextSavedId_;
  std::string position = FILE->isOpen() && FILE->hasCurrent() ? Position() : std::string();
  SAVED.push_back(SavedEntry{id, FILE->saveState(), std::move(position), AUTOINCDONE});
  return id;
}

void FileManager::RestoreState(int& id, bool restorePosition) {
  auto it = std::find_if(SAVED.begin(), SAVED.end(), [id](const SavedEntry& e) { return e.id == id; });
  if (it == SAVED.end()) return;
  if (restorePosition) FILE->restoreState(*it->state);
  else *BUFFER = it->state->buffer;
  AUTOINCDONE = it->autoIncDone;
  SAVED.erase(it);
  id = 0;
}

std::string FileManager::Position() {
  const int key = PRIMARYKEY ? KEYS[static_cast<std::size_t>(PRIMARYKEY - 1)].key : vrt::DataFile::kFileOrder;
  return FILE->position(key);
}

Level FileManager::RereadAt(const std::string& position) {
  if (Use() != Level::Benign) return Level::Fatal;
  return FILE->getAt(position) ? Level::Benign : Level::Notify;
}

int FileManager::PushBufferCopy() {
  const int id = ++nextBufferId_;
  bufferCopies_.emplace_back(id, *BUFFER);
  return id;
}

void FileManager::PopBufferCopy(int& id, bool restore) {
  if (id == 0 && !restore) return;
  auto it = std::find_if(bufferCopies_.begin(), bufferCopies_.end(), [id](const auto& e) { return e.first == id; });
  if (it == bufferCopies_.end()) return;
  if (restore) *BUFFER = it->second;
  bufferCopies_.erase(it);
  id = 0;
}

void FileManager::Shutdown() {
  if (KILLED || !FILE) return;
  KILLED = true;
  while (OPENED > 0) static_cast<void>(Close());
  if (USED) {
    FILE->close();
    USED = false;
  }
  auto& map = threadRegistry().FILEMAPPING;
  if (auto it = map.find(vrt::upperCase(FILENAMEVALUE)); it != map.end() && it->second == this) map.erase(it);
  KEYS.clear();
  SAVED.clear();
  bufferCopies_.clear();
}

}  // namespace vesp
