#pragma once
// The process-wide open service: every physical open of a table passes through it, one at a
// time, and through the file-structure upgrader.
#include <mutex>

#include "runtime/store/data_file.h"

namespace vesp {

class OpenService {
 public:
  static OpenService& process();
  // Opens `file` in the access `openMode` asks for. A file already open counts as opened.
  // `attempt` numbers the caller's tries (0 for the retry after "Recover="). Returns 0 or the
  // driver's error code.
  int Open(vrt::DataFile& file, int openMode, int attempt);

 private:
  std::mutex lock_;
};

}  // namespace vesp
