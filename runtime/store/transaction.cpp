#include "runtime/store/transaction.h"

#include <algorithm>
#include <map>

#include "runtime/data/errors.h"

namespace vrt {

Transaction::Transaction(std::vector<DataFile*> files, int waitSeconds)
    : files_(std::move(files)), waitSeconds_(waitSeconds) {
  files_.erase(std::remove(files_.begin(), files_.end(), nullptr), files_.end());
}

Transaction::~Transaction() {
  if (active_) rollback();
}

bool Transaction::begin() {
  clearError();
  if (active_ || files_.empty()) {
    setError(kBadArgument, active_ ? "Transaction already active" : "No files to frame");
    return false;
  }
  for (DataFile* f : files_) {
    if (!f->isOpen()) {
      setError(kFileNotOpen);
      return false;
    }
    if (f->isReadOnly()) {
      setError(kAccessDenied);
      return false;
    }
    if (f->own_.inTransaction() || f->txnRoute_) {
      setError(kBadArgument, "File is already in a transaction");
      return false;
    }
  }
  host_ = &files_.front()->own_;
  // Each file is attached once, however many of the named tables it holds.
  std::map<std::string, std::string> schemaOfPath{{files_.front()->path(), "main"}};
  for (DataFile* f : files_) {
    auto it = schemaOfPath.find(f->path());
    if (it == schemaOfPath.end()) {
      const std::string name = "t" + std::to_string(attached_.size() + 1);
      if (host_->exec("ATTACH DATABASE " + sql::quoteText(f->path()) + " AS " + name) != SQLITE_OK) {
        setDriverError(host_->lastErrorCode(), host_->lastError());
        release();
        return false;
      }
      attached_.push_back(name);
      it = schemaOfPath.emplace(f->path(), name).first;
    }
    f->attachRoute(host_, it->second);
  }
  host_->setBusyTimeout(waitSeconds_ * 1000);
  if (const int rc = host_->exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) {
    sql::recordError(*host_, rc);
    release();
    return false;
  }
  active_ = true;
  before_.clear();
  for (DataFile* f : files_) before_.push_back(f->saveState());
  return true;
}

bool Transaction::commit() {
  if (!active_) {
    setError(kBadArgument, "No transaction");
    return false;
  }
  if (const int rc = host_->exec("COMMIT"); rc != SQLITE_OK) {
    sql::recordError(*host_, rc);
    rollback();
    return false;
  }
  active_ = false;
  before_.clear();
  release();
  return true;
}

void Transaction::rollback() {
  const bool undone = host_ && host_->inTransaction();
  if (undone) host_->exec("ROLLBACK");
  active_ = false;
  release();
  if (!undone || before_.size() != files_.size()) return;
  // The failure that led here is still to be reported: settling must not replace it.
  const ErrorState failure = threadError();
  for (std::size_t i = 0; i < files_.size(); ++i) files_[i]->settleAfterRollback(*before_[i]);
  threadError() = failure;
  before_.clear();
}

void Transaction::release() {
  // Statements on the attached files must be finalized before they can be detached.
  for (DataFile* f : files_) f->detachRoute();
  if (host_) {
    for (const auto& name : attached_) host_->exec("DETACH DATABASE " + name);
    host_->setBusyTimeout(1000);
  }
  attached_.clear();
  host_ = nullptr;
}

}  // namespace vrt
