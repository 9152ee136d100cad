// Making, opening and closing a data file, its driver options and the rebuild of its keys.
#include "runtime/store/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "runtime/data/errors.h"
#include "runtime/expr/bindings.h"
#include "runtime/store/data_file_route.h"
#include "runtime/store/data_file_server.h"
#include "runtime/store/file_format.h"
#include "runtime/store/side_index.h"
#include "runtime/store/word_index.h"
#include "runtime/store/file_repair.h"

namespace vrt {

namespace {

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Permitted means both what the system allows and what the file's own permissions say, so
// that a file marked read-only stays read-only even for a user the system lets write anywhere.
bool permitted(const std::string& path, int how, mode_t bits) {
  struct stat st;
  return ::access(path.c_str(), how) == 0 && ::stat(path.c_str(), &st) == 0 && (st.st_mode & bits) != 0;
}
bool writable(const std::string& path) { return permitted(path, W_OK, 0222); }
bool readable(const std::string& path) { return permitted(path, R_OK, 0444); }

// The name a file is made under before it is linked into place: one per process and call.
std::string creatingName(const std::string& path) {
  static std::atomic<unsigned> made{0};
  return path + ".creating-" + std::to_string(::getpid()) + "-" + std::to_string(++made);
}

// Puts a made file at `path` unless a file is there already, so that the first station's
// file stays: a link where the file system has them, else a rename that refuses to replace,
// else (a file system with neither) a rename after one more look. 0, or the errno.
int placeUnlessThere(const std::string& made, const std::string& path) {
  if (::link(made.c_str(), path.c_str()) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  if (::renameat2(AT_FDCWD, made.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  if (fileExists(path)) return EEXIST;
  return std::rename(made.c_str(), path.c_str()) == 0 ? 0 : errno;
}

std::string directoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

}  // namespace

bool DataFile::create() {
  clearError();
  if (isOpen()) {
    setError(kFileAlreadyOpen);
    return false;
  }
  if (server_) return server_->create();
  if (!multiTable_ && fileExists(path_)) {
    setError(kAccessDenied, "File already exists");
    return false;
  }
  // A file of its own is built under a name no other creator uses and then put in place,
  // so that a crash never leaves a half-made file behind and two stations making the same
  // file at once never take each other's file away or replace a file already in use.
  const std::string target = multiTable_ ? path_ : creatingName(path_);
  if (!multiTable_) std::remove(target.c_str());
  sql::Database db;
  int rc = db.open(target, false, true);
  if (rc == SQLITE_OK) rc = db.exec("BEGIN IMMEDIATE");
  if (rc == SQLITE_OK) {
    // Looked for inside the write lock: another station may have just made the table.
    int found = SQLITE_OK;
    if (store::storedStructure(db, "main", sqlTable(), found)) {
      db.exec("ROLLBACK");
      setError(kAccessDenied, "Table already exists");
      return false;
    }
    rc = store::createTable(db, "main", layout_);
    if (rc == SQLITE_OK) rc = db.exec("COMMIT");
    else db.exec("ROLLBACK");
  }
  if (rc != SQLITE_OK) {
    const int ext = db.isOpen() ? db.lastErrorCode() : rc;
    const std::string text = db.isOpen() ? db.lastError() : sqlite3_errstr(rc);
    db.close();
    if (!multiTable_) std::remove(target.c_str());
    if ((ext & 0xFF) == SQLITE_CANTOPEN) setError(fileExists(directoryOf(path_)) ? kAccessDenied : kPathNotFound);
    else setDriverError(ext, text);
    return false;
  }
  db.close();
  if (multiTable_) return true;
  const int linked = placeUnlessThere(target, path_);
  std::remove(target.c_str());
  if (linked == EEXIST) {
    setError(kAccessDenied, "File already exists");
    return false;
  }
  if (linked != 0) {
    setError(kAccessDenied);
    return false;
  }
  return true;
}

bool DataFile::open(OpenAccess access) {
  clearError();
  if (isOpen()) {
    setError(kFileAlreadyOpen);
    return false;
  }
  if (server_) return server_->open(access);
  if (!fileExists(path_)) {
    setError(fileExists(directoryOf(path_)) ? kFileNotFound : kPathNotFound);
    return false;
  }
  bool readOnly = access == OpenAccess::ReadOnly;
  // Writing needs the file and, for the rollback journal, its folder.
  if (!readOnly && (!writable(path_) || !writable(directoryOf(path_)))) {
    setError(kAccessDenied);
    return false;
  }
  if (!readable(path_)) {
    setError(kAccessDenied);
    return false;
  }
  int rc = own_.open(path_, readOnly, false);
  if (rc == SQLITE_OK && recoverSeconds_ > 0) own_.setBusyTimeout(recoverSeconds_ * 1000);
  auto giveUp = [&](int code) {
    if (code == kDriverError) setDriverError(own_.lastErrorCode(), own_.lastError());
    else setError(code);
    ownRoute_.reset();
    own_.close();
    return false;
  };
  if (rc != SQLITE_OK) return giveUp((rc & 0xFF) == SQLITE_BUSY ? kFileLocked : kDriverError);
  int found = SQLITE_OK;
  const auto stored = store::storedStructure(own_, "main", sqlTable(), found);
  if (found != SQLITE_OK) {
    const int p = found & 0xFF;
    return giveUp(p == SQLITE_BUSY || p == SQLITE_LOCKED ? kFileLocked : kDriverError);
  }
  if (!stored) return giveUp(multiTable_ ? kFileNotFound : kInvalidRecordDeclaration);
  if (*stored != layout_.structureText()) return giveUp(kInvalidRecordDeclaration);
  if (!store::indexesPresent(own_, "main", layout_)) return giveUp(kInvalidKey);
  // A file made before its table had a word index gets one the first time it is written to;
  // until then word searches check each record.
  if (!readOnly) store::ensureWordIndex(own_, layout_);
  // Likewise its side indexes; without them the same reads scan.
  if (!readOnly) store::ensureSideIndexes(own_, "main", layout_);
  wordIndex_ = store::hasSearchFields(layout_) && store::wordIndexPresent(own_, layout_);
  own_.setBusyTimeout(1000);
  readOnly_ = readOnly;
  current_ = {};
  *cursor_ = Cursor{};
  buffer_.clearAll(schema().fields);
  // An open table's fields are names that this thread's expressions can use.
  expr::bindRecord(schema(), buffer_);
  return true;
}

void DataFile::close() {
  if (!isOpen()) return;
  stopReading();
  if (server_) {
    server_->close();
    expr::unbindRecord(schema());
    current_ = {};
    watched_ = false;
    return;
  }
  if (own_.inTransaction()) own_.exec("ROLLBACK");
  ownRoute_.reset();
  own_.close();
  expr::unbindRecord(schema());
  current_ = {};
  watched_ = false;
}

bool DataFile::sendOption(const std::string& option) {
  clearError();
  const std::string prefix = "Recover=";
  if (option.compare(0, prefix.size(), prefix) == 0) {
    const int seconds = std::atoi(option.c_str() + prefix.size());
    if (seconds < 0 || seconds > 3600) {
      setError(kBadArgument);
      return false;
    }
    recoverSeconds_ = seconds;
    // A server waits on locks by its own rules; only a file's connection takes the wait.
    if (isOpen() && !server_) own_.setBusyTimeout(seconds * 1000);
    return true;
  }
  // Quick scans are a buffering hint; every read here is an index seek already.
  if (option.rfind("QUICKSCAN=", 0) == 0) return true;
  setError(kBadArgument, "Unknown driver option");
  return false;
}

bool DataFile::buildKeys() {
  clearError();
  // The server keeps its indexes whole itself.
  if (server_) return true;
  const bool wasOpen = isOpen();
  const bool wasReadOnly = readOnly_;
  close();
  const int rc = store::rebuildKeys(path_, layout_);
  if (rc != 0) return false;  // the repair recorded why
  return wasOpen ? open(wasReadOnly ? OpenAccess::ReadOnly : OpenAccess::ReadWrite) : true;
}

}  // namespace vrt
