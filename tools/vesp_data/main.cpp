#include <iostream>

#include "tools/vesp_data/commands.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> words(argv + 1, argv + argc);
  const int status = vesp::tools::runCommandLine(words, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
