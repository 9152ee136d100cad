#include "runtime/print/page_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

namespace vrt {

namespace {

std::vector<const PageStore*>& stores() {
  static std::vector<const PageStore*> all;
  return all;
}

}  // namespace

PageStore::PageStore() : dir_(std::make_unique<QTemporaryDir>(QDir::tempPath() + "/vesp-report-XXXXXX")) {
  usable_ = dir_->isValid();
  stores().push_back(this);
}

PageStore::~PageStore() {
  auto& all = stores();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  // QTemporaryDir removes the folder with every file still in it.
}

bool PageStore::add(const RecordedPage& page) {
  if (!usable_) return false;
  const QString path = dir_->filePath(QString("page%1.vpg").arg(++serial_, 6, 10, QChar('0')));
  if (!savePage(page, path)) {
    QFile::remove(path);
    usable_ = false;
    return false;
  }
  files_.push_back(path);
  return true;
}

bool PageStore::page(int number, RecordedPage& out) const {
  if (number < 1 || number > count()) return false;
  return loadPage(files_[static_cast<std::size_t>(number - 1)], out);
}

void PageStore::drop(int number) {
  if (number < 1 || number > count()) return;
  const auto at = files_.begin() + (number - 1);
  QFile::remove(*at);
  files_.erase(at);
}

QString PageStore::folder() const { return dir_->path(); }

QString PageStore::file(int number) const {
  if (number < 1 || number > count()) return {};
  return files_[static_cast<std::size_t>(number - 1)];
}

std::vector<QString> PageStore::liveFolders() {
  std::vector<QString> out;
  for (const PageStore* s : stores()) out.push_back(s->folder());
  return out;
}

}  // namespace vrt
