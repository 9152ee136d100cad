#include "runtime/testing/upgrader_reset.h"

#include "runtime/store/upgrader.h"

namespace vrt {

void ds_ResetForTesting() {
  for (const std::string& label : ds_RegisteredFiles()) ds_ForgetFile(label);
  ds_SetOption("BadFile", 0);
  ds_SetOption("SPCreate", 0);
  ds_SetBeforeConvert({});
  ds_SetConvertProgress({});
}

}  // namespace vrt
