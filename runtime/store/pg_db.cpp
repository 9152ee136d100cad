#include "runtime/store/pg_db.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>

#include "runtime/data/errors.h"
#include "runtime/os/thread_state.h"

namespace vrt::pg {

namespace {

// Statements a connection keeps prepared at most.
constexpr std::size_t kPreparedKept = 512;

}  // namespace

bool Result::ok() const {
  if (!r_) return false;
  const auto s = PQresultStatus(r_);
  return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

std::int64_t Result::int64(int row, int col) const {
  const std::string_view t = text(row, col);
  std::int64_t v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v);
  return v;
}

std::int64_t Result::affected() const {
  if (!r_) return 0;
  const char* n = PQcmdTuples(r_);
  return n && *n ? std::atoll(n) : 0;
}

std::string Result::sqlState() const {
  const char* s = r_ ? PQresultErrorField(r_, PG_DIAG_SQLSTATE) : nullptr;
  return s ? s : "";
}

std::string Result::error() const {
  const char* primary = r_ ? PQresultErrorField(r_, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  return primary ? primary : "no answer from the server";
}

Params& Params::add(std::int64_t v) {
  values_.emplace_back(std::to_string(v));
  return *this;
}

Params& Params::add(std::string_view v) {
  values_.emplace_back(std::string(v));
  return *this;
}

Params& Params::addNull() {
  values_.emplace_back(std::nullopt);
  return *this;
}

std::vector<const char*> Params::pointers() const {
  std::vector<const char*> out;
  out.reserve(values_.size());
  for (const auto& v : values_) out.push_back(v ? v->c_str() : nullptr);
  return out;
}

namespace {

// The keywords and values libpq connects with; passed as arrays, never spliced into a text.
struct Keywords {
  std::vector<std::string> keys, values;
  void add(const char* k, std::string v) {
    if (v.empty()) return;
    keys.emplace_back(k);
    values.push_back(std::move(v));
  }
};

Keywords keywordsOf(const store::DataLocation& where, const std::string& password, int timeoutSeconds) {
  Keywords k;
  k.add("host", where.host);
  if (where.port > 0) k.add("port", std::to_string(where.port));
  k.add("dbname", where.database);
  k.add("user", where.user);
  k.add("sslmode", store::tlsModeName(where.tls));
  k.add("password", password);
  k.add("connect_timeout", std::to_string(std::max(2, timeoutSeconds)));
  k.add("application_name", "Vespera");
  // Dates, numbers and text are sent and read as plain text; nothing depends on the
  // server's own settings for them.
  k.add("client_encoding", "UTF8");
  return k;
}

}  // namespace

std::string connectionFailureText(const store::DataLocation& where, std::string_view libpqText) {
  std::string detail(libpqText);
  while (!detail.empty() && (detail.back() == '\n' || detail.back() == ' ')) detail.pop_back();
  // libpq's text can span lines; the first one says what happened.
  if (const auto nl = detail.find('\n'); nl != std::string::npos) detail = detail.substr(0, nl);
  return "The server for " + where.describe() + " cannot be reached: " + detail + ".";
}

bool Connection::open(const store::DataLocation& where, const std::string& password, store::ConnectionCheck& check,
                      int timeoutSeconds) {
  close();
  const Keywords k = keywordsOf(where, password, timeoutSeconds);
  std::vector<const char*> keys, values;
  for (std::size_t i = 0; i < k.keys.size(); ++i) {
    keys.push_back(k.keys[i].c_str());
    values.push_back(k.values[i].c_str());
  }
  keys.push_back(nullptr);
  values.push_back(nullptr);
  conn_ = PQconnectdbParams(keys.data(), values.data(), 0);
  if (conn_ && PQstatus(conn_) == CONNECTION_OK) {
    check.ok = true;
    check.error.clear();
    PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
    return true;
  }
  check.ok = false;
  const std::string text = conn_ ? PQerrorMessage(conn_) : "out of memory";
  check.needsPassword = conn_ && (PQconnectionNeedsPassword(conn_) ||
                                  (PQconnectionUsedPassword(conn_) && text.find("password") != std::string::npos));
  check.error = check.needsPassword
                    ? "The server for " + where.describe() + " wants a password" +
                          (password.empty() ? "." : ", and refused the one given.")
                    : connectionFailureText(where, text);
  close();
  return false;
}

void Connection::close() {
  if (conn_) PQfinish(conn_);
  conn_ = nullptr;
  sessionLocks = 0;
  prepared_.clear();
  lostInTransaction_ = false;
}

bool Connection::endedByServer() {
  if (!conn_) return true;
  if (lostInTransaction_ || inTransaction()) return false;
  if (PQstatus(conn_) == CONNECTION_BAD) return true;
  // A session ended while idle has its farewell and the end of the stream waiting on the
  // socket; reading up to the end marks the connection lost (one read may stop at the
  // farewell). Nothing waiting: it stands.
  for (int reads = 0; reads < 8 && PQstatus(conn_) == CONNECTION_OK; ++reads) {
    pollfd waiting{PQsocket(conn_), POLLIN, 0};
    if (::poll(&waiting, 1, 0) <= 0 || !PQconsumeInput(conn_)) break;
  }
  return PQstatus(conn_) == CONNECTION_BAD;
}

bool Connection::reconnect() {
  if (!conn_ || lostInTransaction_) return false;
  PQreset(conn_);
  prepared_.clear();
  sessionLocks = 0;  // a new session holds nothing
  if (PQstatus(conn_) != CONNECTION_OK) return false;
  PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
  return true;
}

namespace {

// The statements that end a transaction: its owner's last word on it.
bool endsTransaction(std::string_view sql) { return sql == "COMMIT" || sql == "ROLLBACK"; }

}  // namespace

template <typename Send>
Result Connection::send(std::string_view sql, Send sendIt) {
  if (!conn_) return Result();
  if (lostInTransaction_) {
    // The server undid the transaction when the connection went. Until its owner ends it,
    // nothing may run outside it as if it were still open.
    if (endsTransaction(sql)) lostInTransaction_ = false;
    return Result();
  }
  const bool inside = inTransaction();
  Result r = sendIt();
  if (inside && !r.ok() && !endsTransaction(sql) && PQstatus(conn_) == CONNECTION_BAD) lostInTransaction_ = true;
  return r;
}

Result Connection::exec(std::string_view sql) {
  const std::string text(sql);
  return send(sql, [&] { return Result(PQexec(conn_, text.c_str())); });
}

Result Connection::exec(const std::string& sql, const Params& params) {
  return send(sql, [&] {
    const auto p = params.pointers();
    return Result(PQexecParams(conn_, sql.c_str(), params.size(), nullptr, p.data(), nullptr, nullptr, 0));
  });
}

Result Connection::run(const std::string& name, const std::string& sql, const Params& params) {
  // A connection that passes from thread to thread keeps its statements; a long day of
  // different filters is not let grow the server's memory without end.
  if (conn_ && !prepared_.count(sql) && prepared_.size() >= kPreparedKept && !inTransaction() &&
      exec("DEALLOCATE ALL").ok())
    prepared_.clear();
  return send(sql, [&] {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
      const std::string label = name + "#" + std::to_string(prepared_.size());
      Result r(PQprepare(conn_, label.c_str(), sql.c_str(), params.size(), nullptr));
      if (!r.ok()) return r;
      it = prepared_.emplace(sql, label).first;
    }
    const auto p = params.pointers();
    return Result(PQexecPrepared(conn_, it->second.c_str(), params.size(), p.data(), nullptr, nullptr, 0));
  });
}

bool Connection::inTransaction() const {
  if (!conn_) return false;
  if (lostInTransaction_) return true;
  const auto s = PQtransactionStatus(conn_);
  return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
}

std::string Connection::lastError() const { return conn_ ? PQerrorMessage(conn_) : "not connected"; }

std::vector<std::string> Connection::takeNotifications() {
  std::vector<std::string> out;
  if (!conn_) return out;
  PQconsumeInput(conn_);
  while (PGnotify* n = PQnotifies(conn_)) {
    out.emplace_back(n->extra ? n->extra : "");
    PQfreemem(n);
  }
  return out;
}

namespace {

// Connections that ended threads let go of, kept for the next threads to the same server.
// Opening one takes the server tens of milliseconds (a process of its own, the catalogue
// read anew); a list's thread that takes one kept here starts at once, on a session that
// already knows the tables and has their statements prepared. A connection is in one
// thread's hands or here, never both.
class Pool {
 public:
  std::unique_ptr<Connection> take(const std::string& id) {
    std::lock_guard lock(mutex_);
    forgetParents();
    // The one given last first: its session is the likeliest to have the tables at hand.
    for (auto [first, last] = idle_.equal_range(id); first != last;) {
      const auto it = std::prev(last);
      std::unique_ptr<Connection> c = std::move(it->second);
      last = idle_.erase(it);
      // A server that ended the session meanwhile (restarted) has said so on the socket.
      if (!c->endedByServer() && !c->broken()) {
        static_cast<void>(c->takeNotifications());
        return c;
      }
    }
    return nullptr;
  }
  void give(const std::string& id, std::unique_ptr<Connection> c) {
    // Nothing the thread began survives it: an open transaction is undone and the
    // numbering locks it may hold are let go, as closing the connection would.
    bool clean = true;
    if (c->inTransaction() || c->sessionLocks > 0) {
      clean = c->exec(c->inTransaction() ? "ROLLBACK; SELECT pg_advisory_unlock_all()" : "SELECT pg_advisory_unlock_all()")
                  .ok() &&
              !c->inTransaction();
      c->sessionLocks = 0;
    }
    std::lock_guard lock(mutex_);
    forgetParents();
    if (clean && idle_.count(id) < kKept) idle_.emplace(id, std::move(c));
  }

 private:
  static constexpr std::size_t kKept = 8;
  // A forked process must not talk on its parent's sessions (see serverConnection).
  void forgetParents() {
    if (process_ == ::getpid()) return;
    for (auto& [id, c] : idle_) static_cast<void>(c.release());
    idle_.clear();
    process_ = ::getpid();
  }
  std::mutex mutex_;
  std::multimap<std::string, std::unique_ptr<Connection>> idle_;
  pid_t process_ = ::getpid();
};

Pool& pool() {
  static Pool* p = new Pool;  // kept to the process's end: threads may end after static teardown
  return *p;
}

// What tells one server session from another: the location and the options libpq takes
// from the environment (a schema of its own, for instance).
std::string sessionId(const store::DataLocation& where) {
  const char* options = std::getenv("PGOPTIONS");
  return where.connectionString() + "\n" + (options ? options : "");
}

struct ThreadConnections {
  std::map<std::string, std::unique_ptr<Connection>> byLocation;
  pid_t process = ::getpid();
  ThreadConnections() = default;
  ThreadConnections(const ThreadConnections&) = delete;
  ThreadConnections& operator=(const ThreadConnections&) = delete;
  ~ThreadConnections() {
    for (auto& [id, c] : byLocation) {
      if (process != ::getpid()) static_cast<void>(c.release());
      else if (c && c->isOpen() && !c->broken()) pool().give(id, std::move(c));
    }
  }
};

}  // namespace

Connection* serverConnection(const store::DataLocation& where) {
  auto& mine = perThread<ThreadConnections>();
  if (mine.process != ::getpid()) {
    // A forked process shares its parent's sockets: talking on them, or closing them
    // politely, would mix into the parent's sessions. It lets them go unused and connects anew.
    for (auto& [id, c] : mine.byLocation) static_cast<void>(c.release());
    mine.byLocation.clear();
    mine.process = ::getpid();
  }
  auto& all = mine.byLocation;
  const std::string id = sessionId(where);
  auto& c = all[id];
  if (c && c->isOpen() && !c->endedByServer()) return c.get();
  if ((c = pool().take(id))) return c.get();
  c = std::make_unique<Connection>();
  store::ConnectionCheck check;
  if (!c->open(where, sessionPassword(), check)) {
    // Kept as no connection at all: the next use tries again.
    setError(kDriverError);
    threadError().fileCode = 0;
    threadError().fileText = check.error;
    threadError().text = check.error;
    c.reset();
    return nullptr;
  }
  return c.get();
}

Connection* currentConnection(const store::DataLocation& where) {
  auto& mine = perThread<ThreadConnections>();
  if (mine.process != ::getpid()) return nullptr;
  const auto it = mine.byLocation.find(sessionId(where));
  return it == mine.byLocation.end() ? nullptr : it->second.get();
}

}  // namespace vrt::pg
