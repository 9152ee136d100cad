#include "querywizard/globals.h"

#include <mutex>

#include "runtime/os/thread_state.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

std::string XBQW_FilePath;
std::string XBQW_FileName;
std::uint8_t XBQW_MainOptions = 0;
std::uint8_t XBQW_SqlOptions = 0;
std::string XBQW_SqlUpper;
std::string XBQW_SqlDatePic;

namespace {

struct ResponseSlot {
  std::int32_t value = 0;
};

struct Paths {
  std::mutex lock;
  std::string recordedPath, recordedName;
  bool built = false;
  QueryFileNames names;
};

Paths& paths() {
  static Paths p;
  return p;
}

constexpr const char* kDefaultFile = "QUERIES.TPS";

// The store names files with "/" between folders; a caller may write either separator.
std::string withSlashes(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

void rebuild(Paths& p) {
  std::string path(vrt::clip(vrt::utf8Truncate(p.recordedPath, kFilePathWidth)));
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  XBQW_FilePath = path;
  XBQW_FileName = std::string(vrt::clip(vrt::utf8Truncate(p.recordedName, kFileNameWidth)));
  const std::string name = vrt::clip(XBQW_FileName).empty() ? kDefaultFile : std::string(vrt::clip(XBQW_FileName));
  p.names.file = withSlashes(path) + name;
  p.names.queries = p.names.file + "\\!XBQW_Queries";
  p.names.elements = p.names.file + "\\!XBQW_Elements";
  p.names.fields = p.names.file + "\\!XBQW_Fields";
  p.built = true;
}

}  // namespace

std::int32_t& XBQW_Response() { return vrt::perThread<ResponseSlot>().value; }

void XB_SETQWFILEPATHS(std::optional<std::uint8_t> mode, const std::string* path, const std::string* name) {
  Paths& p = paths();
  std::lock_guard g(p.lock);
  if (path) p.recordedPath = *path;
  if (name) p.recordedName = *name;
  const bool passed = path || name;
  if (passed && mode && *mode != 0) return;
  if (!passed && mode && *mode == 2) {
    p.recordedPath.clear();
    p.recordedName.clear();
    rebuild(p);
    return;
  }
  if (!passed && mode && *mode == 1) {
    if (!p.built || !p.recordedPath.empty() || !p.recordedName.empty()) rebuild(p);
    return;
  }
  if (!mode || *mode == 0) rebuild(p);
}

QueryFileNames queryFileNames() {
  XB_SETQWFILEPATHS(1);
  Paths& p = paths();
  std::lock_guard g(p.lock);
  return p.names;
}

void resetFilePaths() {
  Paths& p = paths();
  std::lock_guard g(p.lock);
  p.recordedPath.clear();
  p.recordedName.clear();
  p.built = false;
  p.names = {};
  XBQW_FilePath.clear();
  XBQW_FileName.clear();
}

}  // namespace qrywiz
