#pragma once
// A transaction over exactly the files its caller names: all of them change, or none,
// even if the process dies half-way. The other files are attached to the first file's
// connection for the duration, so that SQLite commits them together.
#include <memory>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"

namespace vrt {

class Transaction {
 public:
  // The files must be open for writing on this thread. `waitSeconds` bounds the wait for
  // other stations' locks.
  Transaction(std::vector<DataFile*> files, int waitSeconds);
  ~Transaction();  // rolls back what was not committed
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool begin();
  bool commit();
  // Undoes every change, and sets each file's copy straight again (DataFile::settleAfterRollback).
  void rollback();
  bool active() const { return active_; }

 private:
  void release();
  bool beginOnServer();
  bool commitOnServer();
  bool committed();
  bool failedCommit();  // rolls back, keeping the failure to report

  std::vector<DataFile*> files_;
  std::vector<std::unique_ptr<DataFile::State>> before_;  // each file's standing at begin
  int waitSeconds_;
  sql::Database* host_ = nullptr;
  std::vector<std::string> attached_;
  bool active_ = false;
  bool server_ = false;  // the files are tables on one server: its own transaction frames them
  std::string serverNumber_;  // the server's number of that transaction, set by begin
};

}  // namespace vrt
