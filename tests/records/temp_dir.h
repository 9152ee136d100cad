#pragma once
// A fresh directory for one test, removed afterwards.
#include <filesystem>
#include <random>
#include <string>

namespace vesp::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    const std::string name = "vesp-test-" + std::to_string(random()) + std::to_string(random());
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vesp::testing
