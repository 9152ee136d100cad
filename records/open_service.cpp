#include "records/open_service.h"

#include "records/file_manager.h"
#include "runtime/data/errors.h"
#include "runtime/store/upgrader.h"

namespace vesp {

OpenService& OpenService::process() {
  static OpenService service;
  return service;
}

int OpenService::Open(vrt::DataFile& file, int openMode, int) {
  std::lock_guard guard(lock_);
  const auto access = (openMode & FileManager::kAccessBits) == FileManager::kReadWrite ? vrt::OpenAccess::ReadWrite
                                                                                        : vrt::OpenAccess::ReadOnly;
  const int rc = vrt::ds_FileOpen(file, access);
  return rc == vrt::kFileAlreadyOpen ? 0 : rc;
}

}  // namespace vesp
