#pragma once
// A fresh temporary folder that a test works in; removed, with what it holds, afterwards.
// Under VESP_TEST_ENGINE=server the data lives in a fresh server schema meanwhile.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/test_engine.h"

namespace vtest {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vesp-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    // Read-only files and folders made by a test must not stop the clean-up.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
      std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const EngineScope& engine() const { return engine_; }

 private:
  std::filesystem::path path_, previous_;
  EngineScope engine_;
};

}  // namespace vtest
