#include "runtime/store/transaction.h"

#include <algorithm>
#include <map>

#include "runtime/data/errors.h"
#include "runtime/store/data_file_server.h"
#include "runtime/store/server_seams.h"

namespace vrt {

std::function<void(int)>& store::beforeServerCommit() {
  static std::function<void(int)> hook;
  return hook;
}

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
  // Waits for other stations' locks no longer than the caller allows. The transaction's
  // number is taken at once, so that a commit whose answer is lost can be looked up.
  pg::Result r = c->exec("BEGIN; SET LOCAL lock_timeout = '" + std::to_string(waitSeconds_ * 1000) +
                         "ms'; SELECT txid_current()");
  if (!r.ok() || r.rows() != 1) {
    files_.front()->server_->fail(r, false);
    if (c->inTransaction()) c->exec("ROLLBACK");
    return false;
  }
  serverNumber_ = std::string(r.text(0, 0));
  server_ = true;
  active_ = true;
  before_.clear();
  for (DataFile* f : files_) before_.push_back(f->saveState());
  return true;
}

namespace {

// A failure of the server's transaction, as the record framework shows it.
void lostConnection(const store::DataLocation& where, const std::string& what) {
  const std::string text = "The connection to the server for " + where.describe() + " was lost " + what;
  setDriverError(0, text);
  threadError().text = text;
}

}  // namespace

bool Transaction::commitOnServer() {
  DataFile& first = *files_.front();
  pg::Connection* c = first.server_->connection();
  if (c && store::beforeServerCommit()) store::beforeServerCommit()(PQbackendPID(c->handle()));
  if (!c || c->lostInTransaction()) {
    // Lost before the commit: the server undid everything, as the failed statement said.
    first.server_->fail(pg::Result(), false);
    return failedCommit();
  }
  pg::Result r = c->exec("COMMIT");
  if (r.ok() && std::string_view(PQcmdStatus(r.handle())) == "COMMIT") return committed();
  if (r.ok()) {
    // A transaction the server had already given up answers COMMIT with a rollback.
    setDriverError(0, "The server undid the transaction");
    return failedCommit();
  }
  if (!c->broken()) {
    first.server_->fail(r, false);
    return failedCommit();
  }
  // The connection went while COMMIT was on its way, so its answer never came: the server
  // is asked on a new connection what became of the transaction. Told as saved only when
  // the server says it committed, and as not saved only when it says it was undone.
  pg::Connection* asking = first.server_->connection();  // the lost one is replaced here
  std::string outcome;
  if (asking) {
    pg::Params p;
    p.add(serverNumber_);
    const pg::Result status = asking->exec("SELECT txid_status($1::bigint)", p);
    if (status.ok() && status.rows() == 1 && !status.isNull(0, 0)) outcome = status.text(0, 0);
  }
  if (outcome == "committed") {
    clearError();
    return committed();
  }
  if (outcome == "aborted")
    lostConnection(first.location(), "before the changes were committed, and none of them were kept.");
  else
    lostConnection(first.location(),
                   "while the changes were being committed. Whether they were saved cannot be told now.");
  return failedCommit();
}

bool Transaction::committed() {
  for (DataFile* f : files_) f->stopReading();
  server_ = false;
  active_ = false;
  before_.clear();
  return true;
}

bool Transaction::failedCommit() {
  const ErrorState failure = threadError();
  rollback();
  threadError() = failure;
  return false;
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
