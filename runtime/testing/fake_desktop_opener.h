#pragma once
// An opener for tests: notes every target exactly as it was handed over and answers
// with a chosen result.
#include <string>
#include <vector>

#include "runtime/os/desktop_opener.h"

namespace vrt {

class FakeDesktopOpener : public DesktopOpener {
 public:
  int open(const std::string& target) override {
    opened.push_back(target);
    return result;
  }
  std::string browserCommand() override { return browser; }
  std::string mailCommand() override { return mail; }
  int commandLengthLimit() override { return limit; }

  int result = kShellOpened;
  std::string browser;
  std::string mail;
  int limit = 0;
  std::vector<std::string> opened;
};

}  // namespace vrt
