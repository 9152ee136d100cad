#pragma once
// A PostgreSQL server for the tests that need one, named by the environment variable
// VESP_TEST_SERVER as a libpq connection ("host=/tmp/pg dbname=postgres user=postgres").
// Its role must be allowed to make databases: each ScratchDatabase is a new, empty one,
// dropped again at the end. Without the variable those tests are skipped, saying why.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/store/data_location.h"

namespace vtest {

inline std::optional<vrt::store::DataLocation> testServer() {
  const char* text = std::getenv("VESP_TEST_SERVER");
  if (!text || !*text) return std::nullopt;
  return vrt::store::parseConnection(text);
}

#define VESP_NEEDS_TEST_SERVER()                                                 \
  if (!vtest::testServer()) GTEST_SKIP() << "VESP_TEST_SERVER names no server"

class ScratchDatabase {
 public:
  ScratchDatabase() {
    static std::atomic<int> made{0};
    const auto server = testServer();
    if (!server) return;
    name_ = "vesp_scratch_" + std::to_string(::getpid()) + "_" + std::to_string(++made);
    location_ = *server;
    run("DROP DATABASE IF EXISTS " + name_);
    ok_ = run("CREATE DATABASE " + name_);
    location_.database = name_;
  }
  ~ScratchDatabase() {
    if (ok_) run("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  }
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  bool ok() const { return ok_; }
  const vrt::store::DataLocation& location() const { return location_; }
  // The connection text of the scratch database, as a user would write it.
  std::string connection() const { return location_.connectionString(); }

 private:
  bool run(const std::string& sql) {
    auto admin = *testServer();
    PGconn* c = PQconnectdb(admin.connectionString().c_str());
    bool done = PQstatus(c) == CONNECTION_OK;
    if (done) {
      PGresult* r = PQexec(c, sql.c_str());
      done = PQresultStatus(r) == PGRES_COMMAND_OK;
      if (!done) ADD_FAILURE() << sql << ": " << PQerrorMessage(c);
      PQclear(r);
    } else {
      ADD_FAILURE() << "cannot reach the test server: " << PQerrorMessage(c);
    }
    PQfinish(c);
    return done;
  }

  std::string name_;
  vrt::store::DataLocation location_;
  bool ok_ = false;
};

}  // namespace vtest
