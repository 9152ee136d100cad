#pragma once
// The pages of one report, one file per page in a folder of their own under the system's
// temporary folder. A page's file goes when the page is dropped; the folder and whatever
// is left in it go with the store, so a report that ends any way (closed, cancelled, its
// thread killed, the program ending) leaves nothing behind.
#include <QString>
#include <memory>
#include <vector>

#include "runtime/print/recorded_page.h"

class QTemporaryDir;

namespace vrt {

class PageStore {
 public:
  PageStore();
  ~PageStore();
  PageStore(const PageStore&) = delete;
  PageStore& operator=(const PageStore&) = delete;

  // False when the folder could not be made or a page could not be written (a full disk):
  // nothing more is added then.
  bool usable() const { return usable_; }
  bool add(const RecordedPage& page);
  int count() const { return static_cast<int>(files_.size()); }
  // Page `number` (1-based); false when there is none or its file cannot be read.
  bool page(int number, RecordedPage& out) const;
  // Removes page `number` and its file; later pages move up one.
  void drop(int number);

  QString folder() const;
  QString file(int number) const;  // empty when there is no such page

  // Every store's folder still alive, for tests that check nothing was left behind.
  static std::vector<QString> liveFolders();

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::vector<QString> files_;
  int serial_ = 0;
  bool usable_ = false;
};

}  // namespace vrt
