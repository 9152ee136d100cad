#pragma once
// The data folder's lock. Every process of the program that works on the data holds it
// shared for as long as it does (Vespera from start to end, vesp-data for one command); a
// restore holds it alone, so it is refused while anything else has the data open and
// nothing opens the data while files are being swapped. The lock lives on a small file in
// the data folder and is dropped by the system however the process ends, so a crash never
// leaves it held.
#include <functional>
#include <string>

namespace vesp::backup {

inline constexpr const char* kLockFile = "vsp.LCK";

class DataFolderLock {
 public:
  explicit DataFolderLock(std::string dataFolder);
  ~DataFolderLock();
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;

  // Shares the folder, waiting while a restore holds it alone; `waiting` is called once
  // before the wait. In a folder where the lock file cannot be made (read-only) holds
  // nothing and returns true. False (with the reason) when the lock fails otherwise.
  bool share(std::string& error, const std::function<void()>& waiting = {});
  // Holds the folder alone, from shared or from nothing; false at once, holding what was
  // held before, when another process holds it too.
  bool takeAlone(std::string& error);
  // Back from alone to shared.
  void backToShared();
  void release();
  bool held() const { return mode_ != Mode::None; }
  bool alone() const { return mode_ == Mode::Alone; }

 private:
  enum class Mode { None, Shared, Alone };
  bool openFile(std::string& error);
  std::string folder_;
  int fd_ = -1;
  Mode mode_ = Mode::None;
};

// The lock the running program or command holds on its data folder: set by whoever took
// it (start-up, vesp-data's command line) for as long as it is held; null otherwise. A
// restore in the same process makes this one alone instead of asking for another.
DataFolderLock* sessionLock();
void setSessionLock(DataFolderLock* lock);

}  // namespace vesp::backup
