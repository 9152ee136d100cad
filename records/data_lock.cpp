#include "records/data_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vesp::backup {

namespace {

DataFolderLock* session = nullptr;

// Open-file-description locks: owned by this opening of the file, not by the process, so
// two holders in one process see each other as they would across processes, and a change
// from shared to alone is atomic.
bool setLock(int fd, short type, bool wait) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  for (;;) {
    if (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

DataFolderLock::DataFolderLock(std::string dataFolder) : folder_(std::move(dataFolder)) {}

DataFolderLock::~DataFolderLock() { release(); }

bool DataFolderLock::openFile(std::string& error) {
  if (fd_ >= 0) return true;
  const std::string path = (std::filesystem::path(folder_) / kLockFile).string();
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // A folder the user may only read still gets a lock, read-only: nothing can be swapped there.
  if (fd_ < 0) fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error = "cannot open the lock file " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool DataFolderLock::share(std::string& error, const std::function<void()>& waiting) {
  if (mode_ == Mode::Shared) return true;
  // Where not even the lock file can be made nobody can swap files either: read on, unlocked.
  if (std::string unused; !openFile(unused)) return true;
  if (!setLock(fd_, F_RDLCK, false)) {
    if (errno != EAGAIN && errno != EACCES) {
      error = std::string("cannot lock the data folder: ") + std::strerror(errno);
      return false;
    }
    if (waiting) waiting();
    if (!setLock(fd_, F_RDLCK, true)) {
      error = std::string("cannot lock the data folder: ") + std::strerror(errno);
      return false;
    }
  }
  mode_ = Mode::Shared;
  return true;
}

bool DataFolderLock::takeAlone(std::string& error) {
  if (mode_ == Mode::Alone) return true;
  if (!openFile(error)) return false;
  if (!setLock(fd_, F_WRLCK, false)) {
    if (errno == EAGAIN || errno == EACCES)
      error = "the data files are open in another program (Vespera or a vesp-data command)";
    else if (errno == EBADF)
      error = "the data folder cannot be written";
    else
      error = std::string("cannot lock the data folder: ") + std::strerror(errno);
    return false;
  }
  mode_ = Mode::Alone;
  return true;
}

void DataFolderLock::backToShared() {
  if (mode_ != Mode::Alone) return;
  setLock(fd_, F_RDLCK, false);  // from alone to shared cannot conflict
  mode_ = Mode::Shared;
}

void DataFolderLock::release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  mode_ = Mode::None;
}

DataFolderLock* sessionLock() { return session; }
void setSessionLock(DataFolderLock* lock) { session = lock; }

}  // namespace vesp::backup
