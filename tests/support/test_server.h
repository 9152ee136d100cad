#pragma once
// The PostgreSQL server the tests may use: VESP_TEST_SERVER holds its connection
// (scripts/test starts a throwaway one and sets it). A process works in an empty schema
// of its own there, so that cases run side by side never meet.
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

#include "runtime/store/data_location.h"
#include "runtime/store/pg_db.h"

namespace vtest {

inline std::optional<vrt::store::DataLocation> testServer() {
  const char* text = std::getenv("VESP_TEST_SERVER");
  if (!text || !*text) return std::nullopt;
  return vrt::store::parseConnection(text);
}

// An empty schema for this process on the server, made when the object is and dropped with
// it; every connection the process opens meanwhile works in it.
class ServerSchema {
 public:
  explicit ServerSchema(vrt::store::DataLocation where)
      : where_(std::move(where)), name_("case_" + std::to_string(::getpid())) {
    // Another station started by a case works in that case's schema, which it leaves alone.
    if (const char* shared = std::getenv(kSharedSchema)) {
      name_ = shared;
      owned_ = false;
    }
    ::setenv("PGOPTIONS", ("-c search_path=" + name_).c_str(), 1);
    if (!owned_) return;
    run("DROP SCHEMA IF EXISTS " + name_ + " CASCADE");
    if (!run("CREATE SCHEMA " + name_)) throw std::runtime_error("cannot make the test schema " + name_);
  }
  ~ServerSchema() {
    if (owned_) run("DROP SCHEMA IF EXISTS " + name_ + " CASCADE");
  }
  // The variable that hands a schema to another station's process.
  static constexpr const char* kSharedSchema = "VESP_TEST_SCHEMA";
  const std::string& name() const { return name_; }
  ServerSchema(const ServerSchema&) = delete;
  ServerSchema& operator=(const ServerSchema&) = delete;
  const vrt::store::DataLocation& where() const { return where_; }

 private:
  bool run(const std::string& sql) {
    vrt::store::ConnectionCheck check;
    vrt::pg::Connection c;
    if (!c.open(where_, "", check)) throw std::runtime_error(check.error);
    return c.exec(sql).ok();
  }
  vrt::store::DataLocation where_;
  std::string name_;
  bool owned_ = true;
};

}  // namespace vtest
