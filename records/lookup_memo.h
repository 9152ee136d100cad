#pragma once
// Look-ups remembered while one page of a list is filled. A list's rows look up the same few
// performers, series and topics over and over, and on a server every look-up is a trip to
// it: a page of services made 120 trips for a dozen records. While a LookupMemo lives on a
// thread, FileManager::Fetch hands back a record it found there already by the same key and
// key values, as it stood then (buffer, current record and cursor), without reading again.
// Nothing remembered outlives the memo, and a write through any file manager of the thread
// forgets everything, so a record is never older than the fill that read it.
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "runtime/store/data_file.h"

namespace vesp {

class LookupMemo {
 public:
  // Starts remembering on this thread, unless a memo outside it already does.
  LookupMemo();
  ~LookupMemo();
  LookupMemo(const LookupMemo&) = delete;
  LookupMemo& operator=(const LookupMemo&) = delete;

  // The memo in force on this thread, or null. Read by FileManager::Fetch.
  static LookupMemo* active();
  // Puts back into `file` what its fetch by `key` found for the key values now in its
  // buffer; false when no such fetch is remembered.
  bool recall(vrt::DataFile& file, int key);
  // Remembers what `file` holds now as the result of its fetch by `key`.
  void remember(vrt::DataFile& file, int key);
  // Forgets every record remembered on this thread; called on every write.
  static void forgetAll();

 private:
  using Found = std::map<std::pair<const vrt::DataFile*, std::string>, std::unique_ptr<vrt::DataFile::State>>;
  static std::string keyOf(const vrt::DataFile& file, int key);
  bool outermost_;
  Found found_;
};

}  // namespace vesp
