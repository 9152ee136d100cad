#include "runtime/store/transaction.h"

#include <algorithm>
#include <map>

#include "runtime/data/errors.h"
#include "runtime/store/data_file_server.h"

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
  if (files_.front()->onServer()) return beginOnServer();
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
  if (server_) return commitOnServer();
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
  bool undone = host_ && host_->inTransaction();
  if (undone) host_->exec("ROLLBACK");
  if (server_) {
    pg::Connection* c = files_.front()->server_->connection();
    if (c && c->inTransaction()) c->exec("ROLLBACK");
    // Whatever ended it (this rollback, a failed commit, a lost connection), the server
    // kept none of the transaction's changes.
    undone = true;
    server_ = false;
  }
  active_ = false;
  release();
  if (!undone || before_.size() != files_.size()) return;
  // The failure that led here is still to be reported: settling must not replace it.
  const ErrorState failure = threadError();
  for (std::size_t i = 0; i < files_.size(); ++i) files_[i]->settleAfterRollback(*before_[i]);
  threadError() = failure;
  before_.clear();
}

bool Transaction::beginOnServer() {
  for (DataFile* f : files_) {
    if (!f->onServer() || !(f->location() == files_.front()->location())) {
      setError(kBadArgument, "The files of one transaction must all be on one server");
      return false;
    }
    if (f->server_->streaming) {
      setError(kBadArgument, "File is already in a transaction");
      return false;
    }
  }
  pg::Connection* c = files_.front()->server_->connection();
  if (!c) return false;
  if (c->inTransaction()) {
    setError(kBadArgument, "File is already in a transaction");
    return false;
  }
  for (DataFile* f : files_) f->stopReading();
  // Waits for other stations' locks no longer than the caller allows.
  pg::Result r = c->exec("BEGIN; SET LOCAL lock_timeout = '" + std::to_string(waitSeconds_ * 1000) + "ms'");
  if (!r.ok()) {
    files_.front()->server_->fail(r, false);
    if (c->inTransaction()) c->exec("ROLLBACK");
    return false;
  }
  server_ = true;
  active_ = true;
  before_.clear();
  for (DataFile* f : files_) before_.push_back(f->saveState());
  return true;
}

bool Transaction::commitOnServer() {
  pg::Connection* c = files_.front()->server_->connection();
  pg::Result r = c ? c->exec("COMMIT") : pg::Result();
  // A transaction the server had already given up answers COMMIT with a rollback.
  if (!r.ok() || std::string_view(PQcmdStatus(r.handle())) != "COMMIT") {
    if (r.ok()) setDriverError(0, "The server undid the transaction");
    else files_.front()->server_->fail(r, false);
    const ErrorState failure = threadError();
    rollback();
    threadError() = failure;
    return false;
  }
  for (DataFile* f : files_) f->stopReading();
  server_ = false;
  active_ = false;
  before_.clear();
  return true;
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
