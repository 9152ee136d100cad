#pragma once
// The tables a computed report reads, opened on the report's thread for as long as it reads.
#include <initializer_list>
#include <string>
#include <vector>

#include "dictionary/declare.h"
#include "records/levels.h"
#include "records/thread_dictionary.h"

namespace vesp {

class OpenTables {
 public:
  explicit OpenTables(std::initializer_list<const dict::TableDecl*> tables) {
    for (const dict::TableDecl* t : tables) {
      if (Access(*t).Open() != Level::Benign) {
        failed_ = t->label;
        break;
      }
      open_.push_back(t);
      // Opened lazily otherwise: the reads go to the file itself, not through the manager.
      if (Access(*t).Use() != Level::Benign) {
        failed_ = t->label;
        break;
      }
    }
  }
  ~OpenTables() {
    for (const dict::TableDecl* t : open_) static_cast<void>(Access(*t).Close());
  }
  // The label of the table that would not open; empty when all did.
  const std::string& failed() const { return failed_; }

 private:
  std::vector<const dict::TableDecl*> open_;
  std::string failed_;
};

}  // namespace vesp
