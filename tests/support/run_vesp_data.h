#pragma once
// Runs vesp-data's command line in the test's process, as the tool would from a terminal.
#include <sstream>
#include <string>
#include <vector>

#include "tools/vesp_data/commands.h"

namespace vesp::testing {

struct CommandOutcome {
  int status;
  std::string out, err;
};

inline CommandOutcome runVespData(std::vector<std::string> words) {
  std::ostringstream out, err;
  const int status = tools::runCommandLine(words, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace vesp::testing
