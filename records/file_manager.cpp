#include "records/file_manager.h"

#include "records/lookup_memo.h"
#include "records/open_service.h"
#include "records/thread_registry.h"
#include "runtime/data/errors.h"
#include "runtime/text/utf8.h"

namespace vesp {

FileManager::~FileManager() { Shutdown(); }

void FileManager::Setup(vrt::DataFile& file, ErrorManager& errors) {
  initialized_ = false;
  file_ = &file;
  buffer_ = &file.buffer();
  fileName_ = file.schema().label;
  errors_ = &errors;
  opened_ = 0;
  killed_ = false;
  settings_ = {};
  openMode_ = settings_.OPENMODE;
  threadRegistry().FILEMAPPING[vrt::upperCase(fileName_)] = this;
}

void FileManager::Configure(Settings settings) {
  // Other hooks keep the read-only fallback the user was told about.
  if (settings.OPENMODE != settings_.OPENMODE) openMode_ = settings.OPENMODE;
  settings_ = std::move(settings);
}

// The file-level set-up, done on first use.
void FileManager::initialise() {
  if (initialized_) return;
  initialized_ = true;
  keys_.clear();
  saved_.clear();
  primaryKey_ = 0;
  const auto& schema = file_->schema();
  for (std::size_t k = 0; k < schema.keys.size(); ++k)
    registerKey(static_cast<int>(k), schema.keys[k].label, schema.keys[k].autoNumber);
}

void FileManager::registerKey(int key, std::string description, bool autoNumber) {
  const auto& schema = file_->schema();
  const vrt::KeyDesc& k = schema.keys[static_cast<std::size_t>(key)];
  KeyEntry e{key, std::move(description), autoNumber, !k.unique, k.noCase, {}};
  for (int c : k.components) {
    const vrt::FieldDesc& f = schema.fields[static_cast<std::size_t>(c)];
    const bool text = f.type == vrt::FieldType::String || f.type == vrt::FieldType::CString;
    e.FIELDS.push_back(KeyField{c, k.noCase && text ? "UPPER(" + f.label + ")" : f.label, true});
  }
  if (autoNumber) hasAutoInc_ = true;
  keys_.push_back(std::move(e));
  if (k.primary) primaryKey_ = static_cast<int>(keys_.size());
}

void FileManager::noteFile() { errors_->NoteFile(vrt::clip(fileName_)); }

// Records `message` (with %File) and shows it when asked; the result of showing, else 5.
Level FileManager::report(int message, bool show) {
  noteFile();
  lastError_ = message;
  errors_->RecordError(message);
  return show ? errors_->ShowCurrent(message) : Level::Notify;
}

void FileManager::RecordFailure(int message) { static_cast<void>(report(message, false)); }

// ---------------------------------------------------------------- opening

Level FileManager::Open() {
  initialise();
  if (!settings_.LAZYOPEN && opened_ == 0 && !used_) {
    if (const Level rc = openPhysically(true); rc != Level::Benign) return rc;
  }
  ++opened_;
  return Level::Benign;
}

Level FileManager::Close() {
  if (opened_ <= 0) return Level::Benign;
  if (--opened_ == 0 && used_) {
    file_->close();
    used_ = false;
  }
  return Level::Benign;
}

Level FileManager::Use() {
  initialise();
  // A file closed under the manager (a program that ended, in a test) is opened again.
  if (used_ && !file_->isOpen()) used_ = false;
  if (used_) return Level::Benign;
  if (inUseFile_) return Level::Benign;
  if (opened_ < 1) {
    // Nobody on this thread opened the table: that is the program's mistake, not the user's.
    static_cast<void>(report(Msg::FileNotOpened, true));
    return Level::Fatal;
  }
  inUseFile_ = true;
  // Opening must not move the caller's position or lose what it put in the buffer.
  int saved = SaveState();
  const Level rc = openPhysically(true);
  RestoreState(saved, rc == Level::Benign);
  inUseFile_ = false;
  return rc;
}

Level FileManager::openPhysically(bool mayAsk) {
  OpenService& opener = OpenService::process();
  bool createFailed = false;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    int rc = opener.Open(*file_, openMode_, attempt);
    if (rc == vrt::kAccessDenied) {
      file_->sendOption("Recover=" + std::to_string(settings_.LOCKRECOVER));
      rc = opener.Open(*file_, openMode_, 0);
    }
    switch (rc) {
      case vrt::kNoError:
        used_ = true;
        atEof_ = false;
        autoIncDone_ = false;
        // Every write checks that no other station changed the record since it was read.
        file_->watch();
        return Level::Benign;
      case vrt::kFileNotFound:
        if (!settings_.CREATE) break;
        // Another station may make the file between this open and this create: its file is
        // then opened on the next attempt, never replaced. A second failure is the answer.
        if (!file_->create()) {
          if (createFailed) return report(Msg::FileCreationError, mayAsk);
          createFailed = true;
        }
        continue;
      case vrt::kInvalidKey:
        static_cast<void>(report(Msg::InvalidKey, false));
        if (!mayAsk) return Level::Notify;
        static_cast<void>(errors_->ShowCurrent(Msg::InvalidKey));
        if (!file_->buildKeys()) return report(Msg::KeyRebuildFailed, true);
        continue;
      case vrt::kAccessDenied:
        if ((openMode_ & kAccessBits) != kReadWrite) break;
        openMode_ &= ~kAccessBits;  // read-only, sharing as before
        static_cast<void>(report(Msg::AccessDeniedReadOnly, true));
        continue;
      default:
        break;
    }
    break;
  }
  // A server that cannot be reached now is no damage to the data: the user is told and
  // the action refused, and the program goes on with every open form's edits.
  if (file_->onServer() && vrt::errorCode() == vrt::kDriverError) {
    static_cast<void>(report(Msg::RecordRetrievalError, mayAsk));
    return Level::Notify;
  }
  return report(Msg::FileOpenError, mayAsk);
}

// ---------------------------------------------------------------- reading

Level FileManager::Fetch(int key) {
  if (Use() != Level::Benign) return Level::Fatal;
  LookupMemo* memo = LookupMemo::active();
  if (memo && memo->recall(*file_, key)) return Level::Benign;
  if (!file_->get(key)) return Level::Notify;
  if (memo) memo->remember(*file_, key);
  return Level::Benign;
}

namespace {

constexpr int kHeldReadAttempts = 3;

}  // namespace

template <typename Read>
Level FileManager::sequentialRead(bool ask, Read read) {
  if (Use() != Level::Benign) return Level::Fatal;
  for (int held = 0;;) {
    atEof_ = false;
    if (read()) return Level::Benign;
    const int code = vrt::errorCode();
    if (code == vrt::kRecordNotAvailable) {
      atEof_ = true;
      return Level::Notify;
    }
    if (code == vrt::kRecordHeld) {
      // The store holds whole files, not single records, so there is no record to step over:
      // reading on means trying again, a few times, before the hold is reported after all.
      if (settings_.SKIPHELDRECORDS && ++held < kHeldReadAttempts) continue;
      errors_->NoteFile(vrt::clip(fileName_));
      lastError_ = Msg::RecordHeld;
      errors_->RecordError(Msg::RecordHeld);
      return ask ? errors_->ShowCurrent(Msg::RecordHeld) : Level::Notify;
    }
    errors_->NoteFile(vrt::clip(fileName_));
    lastError_ = Msg::RecordRetrievalError;
    errors_->RecordError(Msg::RecordRetrievalError);
    return ask ? errors_->ShowCurrent(Msg::RecordRetrievalError) : Level::Fatal;
  }
}

Level FileManager::Next(bool ask) { return sequentialRead(ask, [this] { return file_->next(); }); }
Level FileManager::Previous(bool ask) { return sequentialRead(ask, [this] { return file_->previous(); }); }

// ---------------------------------------------------------------- auto-numbering

Level FileManager::ClearForInsert(bool keepValues) {
  if (Use() != Level::Benign) return Level::Fatal;
  if (!keepValues) buffer_->clearAll(file_->schema().fields);
  if (settings_.PrimeFields) settings_.PrimeFields(*buffer_);
  if (!hasAutoInc_) return Level::Benign;
  autoIncDone_ = false;
  return ReserveNextNumber(true);
}

// One numbering of one auto-numbered key: the highest value (within the leading components'
// group) plus one, into the buffer. 0, or the driver error that stopped it.
int FileManager::numberOnce(const KeyEntry& entry) {
  const auto& layout = file_->layout();
  const int last = entry.FIELDS.back().field;
  const auto leading = layout.keyValues(entry.key, *buffer_);
  int id = SaveState();
  if (entry.FIELDS.size() == 1) {
    file_->setToEnd(entry.key);
  } else {
    layout.setComponentValue(last, layout.highestValue(last), *buffer_);
    file_->setToValue(entry.key);
  }
  std::int64_t value = 1;
  int rc = 0;
  if (file_->previous()) {
    const auto found = layout.keyValues(entry.key, *buffer_);
    const bool sameGroup = std::equal(found.begin(), found.end() - 1, leading.begin());
    if (sameGroup) value = std::get<std::int64_t>(found.back()) + 1;
  } else if (vrt::errorCode() != vrt::kRecordNotAvailable) {
    rc = vrt::errorCode();
  }
  RestoreState(id, true);
  if (rc == 0) layout.setComponentValue(last, value, *buffer_);
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
  LookupMemo::forgetAll();
  if (!hasAutoInc_ || autoIncDone_) return Level::Benign;
  for (int attempts = 0;;) {
    int readFailure = 0;
    bool added = false;
    {
      NumberingHeld numbering(*file_);
      for (const KeyEntry& entry : keys_) {
        if (!entry.AUTOINC) continue;
        errors_->NoteKey(entry.description.empty() ? file_->schema().keys[static_cast<std::size_t>(entry.key)].label
                                                  : entry.description);
        readFailure = numbering.held() ? numberOnce(entry) : vrt::errorCode();
        if (readFailure != 0) break;
      }
      // The number is taken by a real record at once, so no other station can take it too.
      added = readFailure == 0 && file_->add();
    }
    // Questions come after the numbering is let go: no other station waits on a user.
    if (readFailure != 0) {
      const Level result = report(Msg::RecordRetrievalError, ask);
      return ask ? result : Level::Notify;
    }
    if (added) {
      autoIncDone_ = true;
      placeholder_ = file_->currentRowid();
      return Level::Benign;
    }
    const int failed = vrt::errorCode();
    if (++attempts < 3) continue;
    // The driver names the key that collided; searching again could find another, or none.
    if (failed == vrt::kDuplicateKey) errors_->NoteKey(keyDescription(vrt::threadError().keyName));
    const Level answer = report(Msg::AutoNumberFailed, ask);
    if (!ask || answer != Level::Benign) return Level::Notify;
    attempts = 0;
  }
}

std::string FileManager::keyDescription(const std::string& label) {
  if (label.empty()) {
    // The driver could not tell: the first key the buffer's values collide on.
    const int dup = duplicateKeyEntry();
    if (dup == 0) return {};
    const KeyEntry& e = keys_[static_cast<std::size_t>(dup - 1)];
    return e.description.empty() ? file_->schema().keys[static_cast<std::size_t>(e.key)].label : e.description;
  }
  for (const KeyEntry& e : keys_) {
    const std::string& own = file_->schema().keys[static_cast<std::size_t>(e.key)].label;
    if (vrt::upperCase(own) == vrt::upperCase(label)) return e.description.empty() ? own : e.description;
  }
  return label;
}

int FileManager::duplicateKeyEntry() {
  for (std::size_t i = 0; i < keys_.size(); ++i)
    if (file_->duplicates(keys_[i].key)) return static_cast<int>(i) + 1;
  return 0;
}

// ---------------------------------------------------------------- writing

// The validation hook said no and said why itself: no message of ours stays behind to be
// mistaken for the reason.
Level FileManager::refused(Level result) {
  lastError_ = 0;
  return result;
}

Level FileManager::Insert(bool ask) {
  if (Use() != Level::Benign) return Level::Fatal;
  LookupMemo::forgetAll();
  if (settings_.ValidateRecord && settings_.ValidateRecord(*buffer_) == RecordVerdict::Refuse) return refused(Level::Notify);
  bool ok;
  if (!hasAutoInc_) {
    ok = file_->add();
  } else {
    if (!autoIncDone_ && ReserveNextNumber(ask) != Level::Benign) return Level::Notify;
    // The record numbering added is changed in place, wherever the table has moved since.
    const vrt::RecordBuffer entered = *buffer_;
    ok = file_->getByRowid(placeholder_);
    *buffer_ = entered;
    ok = ok && file_->put();
  }
  if (ok) {
    autoIncDone_ = false;
    return Level::Benign;
  }
  if (vrt::errorCode() == vrt::kDuplicateKey) {
    // The driver knows the key that collided, even when the record it collided with is the
    // one this table stands on (a search that leaves the current record out would not).
    errors_->NoteMessageText(keyDescription(vrt::threadError().keyName));
    static_cast<void>(report(Msg::DuplicateKey, ask));
    return Level::Notify;
  }
  static_cast<void>(report(Msg::RecordInsertError, ask));
  return Level::Notify;
}

Level FileManager::Update(int mode) {
  if (Use() != Level::Benign) return Level::Fatal;
  LookupMemo::forgetAll();
  if (settings_.ValidateRecord && settings_.ValidateRecord(*buffer_) == RecordVerdict::Refuse) return refused(Level::Ask);
  const std::string position = Position();
  if (file_->put()) return Level::Benign;
  if (vrt::errorCode() == vrt::kChangedByAnotherStation) {
    static_cast<void>(report(mode == 2 ? Msg::ChangedByOtherStationShown : Msg::ChangedByOtherStation, mode != 0));
    // The other station's version goes into the buffer; the form can recall what was typed.
    file_->watch();
    file_->getAt(position);
    return Level::Notify;
  }
  static_cast<void>(report(Msg::RecordUpdateFailed, mode != 0));
  return Level::Notify;
}

Level FileManager::Delete(bool ask) {
  if (ask) {
    if (errors_->Raise(Msg::ConfirmDelete) != Level::Benign) return Level::Cancel;
  }
  if (Use() != Level::Benign) return Level::Fatal;
  LookupMemo::forgetAll();
  if (file_->erase()) return Level::Benign;
  static_cast<void>(report(Msg::RecordDeleteFailed, false));
  return Level::Notify;
}

// ---------------------------------------------------------------- state

int FileManager::SaveState() {
  const int id = ++nextSavedId_;
  std::string position = file_->isOpen() && file_->hasCurrent() ? Position() : std::string();
  saved_.push_back(SavedEntry{id, file_->saveState(), std::move(position), autoIncDone_});
  return id;
}

void FileManager::RestoreState(int& id, bool restorePosition) {
  auto it = std::find_if(saved_.begin(), saved_.end(), [id](const SavedEntry& e) { return e.id == id; });
  if (it == saved_.end()) return;
  if (restorePosition) file_->restoreState(*it->state);
  else *buffer_ = it->state->buffer;
  autoIncDone_ = it->autoIncDone;
  saved_.erase(it);
  id = 0;
}

std::string FileManager::Position() {
  const int key = primaryKey_ ? keys_[static_cast<std::size_t>(primaryKey_ - 1)].key : vrt::DataFile::kFileOrder;
  return file_->position(key);
}

Level FileManager::RereadAt(const std::string& position) {
  if (Use() != Level::Benign) return Level::Fatal;
  return file_->getAt(position) ? Level::Benign : Level::Notify;
}

int FileManager::PushBufferCopy() {
  const int id = ++nextBufferId_;
  bufferCopies_.emplace_back(id, *buffer_);
  return id;
}

void FileManager::PopBufferCopy(int& id, bool restore) {
  if (id == 0 && !restore) return;
  auto it = std::find_if(bufferCopies_.begin(), bufferCopies_.end(), [id](const auto& e) { return e.first == id; });
  if (it == bufferCopies_.end()) return;
  if (restore) *buffer_ = it->second;
  bufferCopies_.erase(it);
  id = 0;
}

void FileManager::Shutdown() {
  if (killed_ || !file_) return;
  killed_ = true;
  while (opened_ > 0) static_cast<void>(Close());
  if (used_) {
    file_->close();
    used_ = false;
  }
  auto& map = threadRegistry().FILEMAPPING;
  if (auto it = map.find(vrt::upperCase(fileName_)); it != map.end() && it->second == this) map.erase(it);
  keys_.clear();
  saved_.clear();
  bufferCopies_.clear();
}

}  // namespace vesp
