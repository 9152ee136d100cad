#pragma once
// The engine a test program runs its cases on. With VESP_TEST_ENGINE=server every case
// that works in a TempDir works on the test server instead, in an empty schema of its own
// (test_server.h); the process's data location points there for the case's length.
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/test_server.h"

namespace vtest {

inline bool serverEngineWanted() {
  const char* engine = std::getenv("VESP_TEST_ENGINE");
  return engine && std::string(engine) == "server";
}

class EngineScope {
 public:
  EngineScope() {
    if (!serverEngineWanted()) return;
    const auto where = testServer();
    if (!where) throw std::runtime_error("VESP_TEST_ENGINE=server needs VESP_TEST_SERVER: run scripts/test");
    schema_ = std::make_unique<ServerSchema>(*where);
    const auto opened = vrt::store::openData(*where);
    if (!opened.ok) throw std::runtime_error(opened.error);
  }
  ~EngineScope() {
    if (schema_) vrt::store::openData(vrt::store::DataLocation::files());
  }
  // The server schema the case works in; "" on files.
  std::string schema() const { return schema_ ? schema_->name() : std::string(); }
  EngineScope(const EngineScope&) = delete;
  EngineScope& operator=(const EngineScope&) = delete;

 private:
  std::unique_ptr<ServerSchema> schema_;
};

}  // namespace vtest
