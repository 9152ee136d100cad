#pragma once
// A throwaway PostgreSQL server of a case's own, for cases that restart or stop it: the
// server other cases share is never taken down under them. Started, restarted and removed
// through scripts/test-server; without VESP_TEST_SERVER (no server wanted) these cases skip.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/store/data_location.h"

namespace vtest {

class OwnServer {
 public:
  OwnServer() {
    std::FILE* out = ::popen((script() + " start").c_str(), "r");
    if (!out) return;
    std::string text;
    char chunk[512];
    while (std::fgets(chunk, sizeof chunk, out)) text += chunk;
    if (::pclose(out) != 0) return;
    dir_ = valueOf(text, "VESP_TEST_SERVER_DIR");
    const std::string connection = valueOf(text, "VESP_TEST_SERVER");
    if (!dir_.empty() && !connection.empty()) location_ = vrt::store::parseConnection(connection);
  }
  ~OwnServer() {
    if (!dir_.empty()) static_cast<void>(std::system((script() + " stop '" + dir_ + "'").c_str()));
  }
  OwnServer(const OwnServer&) = delete;
  OwnServer& operator=(const OwnServer&) = delete;

  bool ok() const { return location_.has_value(); }
  const vrt::store::DataLocation& location() const { return *location_; }
  // A fast restart, as an office server is restarted: every session it had is ended. True
  // when it answers again.
  bool restart() const { return control("restart"); }
  // Takes the server away (its sessions end) and brings it back.
  bool down() const { return control("down"); }
  bool up() const { return control("up"); }

 private:
  bool control(const char* action) const {
    return std::system((script() + " " + action + " '" + dir_ + "'").c_str()) == 0;
  }
  static std::string script() { return std::string(VESP_SOURCE_FOLDER) + "/scripts/test-server"; }
  // The value of `export NAME='value'` in the script's output.
  static std::string valueOf(const std::string& text, const std::string& name) {
    const std::string lead = "export " + name + "='";
    const auto at = text.find(lead);
    if (at == std::string::npos) return {};
    const auto from = at + lead.size();
    const auto to = text.find('\'', from);
    return to == std::string::npos ? std::string() : text.substr(from, to - from);
  }

  std::string dir_;
  std::optional<vrt::store::DataLocation> location_;
};

}  // namespace vtest

#define VESP_NEEDS_OWN_SERVER()                                                            \
  if (!std::getenv("VESP_TEST_SERVER") || !*std::getenv("VESP_TEST_SERVER"))               \
  GTEST_SKIP() << "VESP_TEST_SERVER is not set: no PostgreSQL server is wanted for this run"
