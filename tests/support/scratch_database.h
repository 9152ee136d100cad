#pragma once
// A new, empty database on the PostgreSQL server that VESP_TEST_SERVER names (a libpq
// connection, "host=/tmp/vesp-pg.x dbname=vesp user=vesp"), for cases that need all of the
// program's tables to themselves: a copy's empty target, a second server. It is made and
// dropped through the server's "postgres" role, which the throwaway test server lets in on
// its socket; the database belongs to the test's own role, which the program then uses as
// an ordinary role. Without the variable these cases skip.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/store/data_location.h"

namespace vtest {

class ScratchDatabase {
 public:
  static std::optional<vrt::store::DataLocation> server() {
    const char* text = std::getenv("VESP_TEST_SERVER");
    if (!text || !*text) return std::nullopt;
    return vrt::store::parseConnection(text);
  }

  ScratchDatabase() {
    static std::atomic<int> made{0};
    const auto at = server();
    if (!at) return;
    location_ = *at;
    name_ = "vesp_scratch_" + std::to_string(::getpid()) + "_" + std::to_string(++made);
    const std::string owner = location_.user.empty() ? "CURRENT_USER" : "\"" + location_.user + "\"";
    ok_ = run("CREATE DATABASE " + name_ + " OWNER " + owner);
    location_.database = name_;
  }
  ~ScratchDatabase() {
    if (ok_) run("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  }
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  bool ok() const { return ok_; }
  const vrt::store::DataLocation& location() const { return location_; }
  // The database's connection, as a user would write it.
  std::string connection() const { return location_.connectionString(); }

 private:
  bool run(const std::string& sql) {
    vrt::store::DataLocation admin = location_;
    admin.user = "postgres";
    admin.database = "postgres";
    PGconn* c = PQconnectdb(admin.connectionString().c_str());
    bool done = PQstatus(c) == CONNECTION_OK;
    if (done) {
      PGresult* r = PQexec(c, sql.c_str());
      done = PQresultStatus(r) == PGRES_COMMAND_OK;
      if (!done) ADD_FAILURE() << sql << ": " << PQerrorMessage(c);
      PQclear(r);
    } else {
      ADD_FAILURE() << "cannot reach the test server as postgres: " << PQerrorMessage(c);
    }
    PQfinish(c);
    return done;
  }

  std::string name_;
  vrt::store::DataLocation location_;
  bool ok_ = false;
};

}  // namespace vtest

#define VESP_NEEDS_SCRATCH_DATABASE()                                \
  if (!vtest::ScratchDatabase::server())                             \
  GTEST_SKIP() << "VESP_TEST_SERVER names no PostgreSQL server"
