#include "records/lookup_memo.h"

#include "runtime/data/errors.h"
#include "runtime/os/thread_state.h"
#include "runtime/store/position_codec.h"

namespace vesp {

namespace {

LookupMemo*& inForce() { return vrt::perThread<LookupMemo*>(); }

}  // namespace

LookupMemo::LookupMemo() : outermost_(inForce() == nullptr) {
  if (outermost_) inForce() = this;
}

LookupMemo::~LookupMemo() {
  if (outermost_) inForce() = nullptr;
}

LookupMemo* LookupMemo::active() { return inForce(); }

// "" where the values do not fit whole: two long values cut alike must not pass for one.
std::string LookupMemo::keyOf(const vrt::DataFile& file, int key) {
  const std::string values = vrt::store::encodePosition(0, file.layout().keyValues(key, file.buffer()));
  if (values.size() + 9 > vrt::store::kMaxPositionBytes) return {};
  return std::to_string(key) + ':' + values;
}

bool LookupMemo::recall(vrt::DataFile& file, int key) {
  const std::string k = keyOf(file, key);
  if (k.empty()) return false;
  const auto it = found_.find({&file, k});
  if (it == found_.end()) return false;
  file.restoreState(*it->second);
  vrt::clearError();
  return true;
}

void LookupMemo::remember(vrt::DataFile& file, int key) {
  if (std::string k = keyOf(file, key); !k.empty()) found_[{&file, std::move(k)}] = file.saveState();
}

void LookupMemo::forgetAll() {
  if (LookupMemo* memo = inForce()) memo->found_.clear();
}

}  // namespace vesp
