#pragma once
// A small RAII layer over libpq: a connection opened from a DataLocation, results, and
// statements whose every value is a bound parameter. Each of the system's threads has its
// own connection to a server (serverConnection), as it has its own copy of each file; a
// thread that ends hands it on to the process's next thread.
#include <libpq-fe.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/data_location.h"

namespace vrt::pg {

// The SQLSTATE of a few conditions the store tells apart.
inline constexpr const char* kUniqueViolation = "23505";
inline constexpr const char* kSerializationFailure = "40001";
inline constexpr const char* kDeadlock = "40P01";
inline constexpr const char* kLockNotAvailable = "55P03";
inline constexpr const char* kUndefinedTable = "42P01";

class Result {
 public:
  Result() = default;
  explicit Result(PGresult* r) : r_(r) {}
  ~Result() { if (r_) PQclear(r_); }
  Result(Result&& o) noexcept : r_(o.r_) { o.r_ = nullptr; }
  Result& operator=(Result&& o) noexcept {
    if (this != &o) {
      if (r_) PQclear(r_);
      r_ = o.r_;
      o.r_ = nullptr;
    }
    return *this;
  }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;

  // A command or query that succeeded.
  bool ok() const;
  int rows() const { return r_ ? PQntuples(r_) : 0; }
  bool isNull(int row, int col) const { return PQgetisnull(r_, row, col) != 0; }
  std::string_view text(int row, int col) const {
    return std::string_view(PQgetvalue(r_, row, col), static_cast<std::size_t>(PQgetlength(r_, row, col)));
  }
  std::int64_t int64(int row, int col) const;
  // Rows a command touched.
  std::int64_t affected() const;
  std::string sqlState() const;
  std::string error() const;
  PGresult* handle() const { return r_; }

 private:
  PGresult* r_ = nullptr;
};

// The values of a statement's parameters, $1 … $n, all sent as text.
class Params {
 public:
  Params& add(std::int64_t v);
  Params& add(std::string_view v);
  Params& addNull();
  int size() const { return static_cast<int>(values_.size()); }
  std::vector<const char*> pointers() const;

 private:
  std::vector<std::optional<std::string>> values_;
};

class Connection {
 public:
  Connection() = default;
  ~Connection() { close(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Connects; on failure `check` says why (and whether a password is wanted).
  bool open(const store::DataLocation& where, const std::string& password, store::ConnectionCheck& check,
            int timeoutSeconds = 5);
  void close();
  bool isOpen() const { return conn_ != nullptr; }
  // Whether the connection was lost (server stopped or restarted, network gone), as far as
  // the statements run on it have shown.
  bool broken() const { return !conn_ || PQstatus(conn_) == CONNECTION_BAD; }
  // Whether the server has ended the session meanwhile: a restarted server ends its sessions
  // while nobody talks on them, and says so only on the socket. Looked at without waiting,
  // before a connection is used again; false inside a transaction, whose loss its owner
  // must learn from its own statements.
  bool endedByServer();
  // Connects again after a loss; true when the server answers again. Refused while a
  // transaction lost with the connection has not been ended (rolled back) by its owner:
  // what follows in it must not run in a session of its own.
  bool reconnect();
  PGconn* handle() const { return conn_; }

  Result exec(std::string_view sql);
  Result exec(const std::string& sql, const Params& params);
  // Statements prepared once per connection and run with their parameters. A statement is
  // known by its text, `name` only labels it: the same table declared differently (before
  // and after an upgrade) prepares anew instead of running the other declaration's text.
  Result run(const std::string& name, const std::string& sql, const Params& params);
  // Inside a transaction, also one the connection was lost in: until its owner runs
  // ROLLBACK (or COMMIT, which then fails), every statement fails without reaching a server.
  bool inTransaction() const;
  // Whether the connection was lost inside a transaction that is not ended yet.
  bool lostInTransaction() const { return lostInTransaction_; }
  std::string lastError() const;

  // Notifications received (LISTEN): the payloads since the last call.
  std::vector<std::string> takeNotifications();
  int socket() const { return conn_ ? PQsocket(conn_) : -1; }

  // Counted by the store: the locks the session (not a transaction) holds, taken and let go.
  // A connection passed to another thread must hold none.
  int sessionLocks = 0;

 private:
  // Runs one statement, noting a connection lost inside a transaction.
  template <typename Send>
  Result send(std::string_view sql, Send send);

  PGconn* conn_ = nullptr;
  std::map<std::string, std::string> prepared_;  // text -> the name it was prepared under
  bool lostInTransaction_ = false;
};

// This thread's connection to `where`, taken on first use from those ended threads left
// (their transactions undone, their locks let go) or else opened, and the thread's alone
// until it ends; null when it cannot be opened (the thread's error state then says why). A
// connection the server has ended since its last use is made again here, when it is next
// used; when that fails the next use tries again.
Connection* serverConnection(const store::DataLocation& where);
// This thread's connection to `where` as it stands, whatever its state; null when there is
// none. Never connects: for telling what became of the connection a statement just used.
Connection* currentConnection(const store::DataLocation& where);

// The password setSessionPassword() keeps; empty when none.
const std::string& sessionPassword();

// A whole sentence for a failed connection or a lost one.
std::string connectionFailureText(const store::DataLocation& where, std::string_view libpqText);

}  // namespace vrt::pg
