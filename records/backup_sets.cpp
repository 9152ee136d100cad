#include "records/backup_sets.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace vesp::backup {

namespace fs = std::filesystem;

namespace {

constexpr const char* kStampFormat = "yyyy-MM-dd_HHmmss";
constexpr int kNewestKept = 10;
constexpr int kMonthsKept = 12;

// "2026-12-09_151700" and the kind after it; false for any other folder name.
bool parseFolderName(const std::string& name, QDateTime& made, std::string& kind) {
  const std::size_t stampLength = 17;
  if (name.size() < stampLength) return false;
  made = QDateTime::fromString(QString::fromStdString(name.substr(0, stampLength)), kStampFormat);
  if (!made.isValid()) return false;
  std::string rest = name.substr(stampLength);
  if (!rest.empty() && rest[0] != '-') return false;
  kind = rest.empty() ? "" : rest.substr(1);
  // A number added to tell apart two sets of the same second.
  const auto dash = kind.rfind('-');
  if (dash != std::string::npos && kind.find_first_not_of("0123456789", dash + 1) == std::string::npos &&
      dash + 1 < kind.size())
    kind.erase(dash);
  else if (!kind.empty() && kind.find_first_not_of("0123456789") == std::string::npos)
    kind.clear();
  return true;
}

// The words a file's line may carry after its digest, which readers of older sets ignore:
// "source=COUNTER:BYTES:MODIFIED" and "carried".
std::string fileTail(const SetFile& f) {
  std::string tail;
  if (f.digest.empty()) return tail;  // nothing may stand where the digest is read
  if (f.source.known())
    tail += " source=" + std::to_string(f.source.counter) + ":" + std::to_string(f.source.bytes) + ":" +
            std::to_string(f.source.modified);
  if (f.carried) tail += " carried";
  return tail;
}

bool readFileTail(std::istringstream& words, SetFile& f) {
  for (std::string word; words >> word;) {
    if (word == "carried") {
      f.carried = true;
    } else if (word.rfind("source=", 0) == 0) {
      SourceState s;
      char colon1 = 0, colon2 = 0;
      std::istringstream state(word.substr(7));
      if (!(state >> s.counter >> colon1 >> s.bytes >> colon2 >> s.modified) || colon1 != ':' || colon2 != ':' ||
          !s.known())
        return false;
      f.source = s;
    }
    // Words of later versions are left to them.
  }
  return true;
}

}  // namespace

std::int64_t BackupSet::bytes() const {
  std::int64_t n = 0;
  for (const auto& f : files) n += f.bytes;
  return n;
}

std::int64_t BackupSet::records(const std::string& table) const {
  for (const auto& f : files)
    if (auto it = f.counts.find(table); it != f.counts.end()) return it->second;
  return -1;
}

std::string setFolderName(const QDateTime& made, const std::string& kind) {
  return made.toString(kStampFormat).toStdString() + (kind.empty() ? "" : "-" + kind);
}

bool writeManifest(const BackupSet& set, std::string& error) {
  const fs::path file = fs::path(set.path) / kManifestName;
  const fs::path temp = fs::path(set.path) / (std::string(kManifestName) + ".new");
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << "made " << set.made.toString(Qt::ISODate).toStdString() << "\n";
    out << "kind " << (set.kind.empty() ? "-" : set.kind) << "\n";
    for (const auto& f : set.files) {
      out << "file " << f.name << " " << f.bytes << " " << (f.database ? "database" : "plain") << " "
          << (f.counted ? "counted" : "unchecked") << " " << f.digest << fileTail(f) << "\n";
      for (const auto& [table, n] : f.counts) out << "count " << f.name << " " << table << " " << n << "\n";
    }
    out.flush();
    if (!out) {
      error = "cannot write " + temp.string();
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (ec) {
    error = "cannot write " + file.string() + ": " + ec.message();
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

std::optional<BackupSet> readSet(const std::string& folder, std::string& error) {
  BackupSet set;
  set.path = folder;
  std::ifstream in(fs::path(folder) / kManifestName, std::ios::binary);
  if (!in) {
    error = folder + " is not a complete backup set (it has no " + kManifestName + ")";
    return std::nullopt;
  }
  auto bad = [&](const std::string& line) {
    error = folder + ": its " + kManifestName + " is damaged near \"" + line + "\"";
    return std::nullopt;
  };
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "made") {
      std::string when;
      words >> when;
      set.made = QDateTime::fromString(QString::fromStdString(when), Qt::ISODate);
      if (!set.made.isValid()) return bad(line);
    } else if (word == "kind") {
      words >> set.kind;
      if (set.kind == "-") set.kind.clear();
    } else if (word == "file") {
      SetFile f;
      std::string kind, counted;
      if (!(words >> f.name >> f.bytes >> kind >> counted >> f.digest)) return bad(line);
      f.database = kind == "database";
      f.counted = counted == "counted";
      if (!readFileTail(words, f)) return bad(line);
      set.files.push_back(std::move(f));
    } else if (word == "count") {
      std::string name, table;
      std::int64_t n = 0;
      if (!(words >> name >> table >> n)) return bad(line);
      auto it = std::find_if(set.files.begin(), set.files.end(), [&](const SetFile& f) { return f.name == name; });
      if (it == set.files.end()) return bad(line);
      it->counts[table] = n;
    } else if (!word.empty()) {
      return bad(line);
    }
  }
  if (!set.made.isValid()) return bad("made");
  return set;
}

std::vector<BackupSet> listSets(const std::string& backupFolder) {
  std::vector<BackupSet> sets;
  std::error_code ec;
  for (fs::directory_iterator it(backupFolder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_directory(ec)) continue;
    QDateTime made;
    std::string kind, error;
    if (!parseFolderName(it->path().filename().string(), made, kind)) continue;
    if (auto set = readSet(it->path().string(), error)) sets.push_back(std::move(*set));
  }
  std::sort(sets.begin(), sets.end(), [](const BackupSet& a, const BackupSet& b) {
    return a.made != b.made ? a.made > b.made : a.path > b.path;
  });
  return sets;
}

std::vector<std::string> setsToRemove(const std::vector<BackupSet>& newestFirst, const QDateTime& now) {
  const QDate today = now.date();
  const int thisMonth = today.year() * 12 + today.month() - 1;
  std::set<int> monthsSeen;
  std::vector<std::string> remove;
  for (std::size_t i = 0; i < newestFirst.size(); ++i) {
    const QDate d = newestFirst[i].made.date();
    const int month = d.year() * 12 + d.month() - 1;
    const bool newestOfMonth = monthsSeen.insert(month).second;
    const bool keep = static_cast<int>(i) < kNewestKept ||
                      (newestOfMonth && month <= thisMonth && month > thisMonth - kMonthsKept);
    if (!keep) remove.push_back(newestFirst[i].path);
  }
  std::reverse(remove.begin(), remove.end());
  return remove;
}

std::vector<std::string> pruneSets(const std::string& backupFolder, const QDateTime& now) {
  std::vector<std::string> removed;
  for (const auto& folder : setsToRemove(listSets(backupFolder), now)) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (!ec) removed.push_back(folder);
  }
  return removed;
}

}  // namespace vesp::backup
