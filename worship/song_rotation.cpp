#include "worship/song_rotation.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "records/upkeep.h"
#include "runtime/data/errors.h"
#include "runtime/store/transaction.h"

namespace vesp {

namespace {

namespace SEL = dict::idx::SEL;
namespace SER = dict::idx::SER;
namespace BBL = dict::idx::BBL;

// Puts a file back where it stood, whatever the work in between did.
class Kept {
 public:
  explicit Kept(vrt::DataFile& f) : file_(f), state_(f.saveState()) {}
  ~Kept() { file_.restoreState(*state_); }
  Kept(const Kept&) = delete;
  Kept& operator=(const Kept&) = delete;

 private:
  vrt::DataFile& file_;
  std::unique_ptr<vrt::DataFile::State> state_;
};

void widen(SongUseDates& d, vrt::DayNumber date) {
  if (date == 0) return;  // an undated service says nothing about when a song was sung
  if (d.first == 0 || date < d.first) d.first = date;
  if (date > d.last) d.last = date;
}

// Stores `dates` in the entry the bibliography's buffer holds, when they differ.
bool store(vrt::DataFile& bibliography, const SongUseDates& dates) {
  vrt::RecordRef b = bibliography.buffer();
  if (b.get(BBL_FIRSTUSED_DATE) == dates.first && b.get(BBL_LASTUSED_DATE) == dates.last) return true;
  b.set(BBL_FIRSTUSED_DATE, dates.first);
  b.set(BBL_LASTUSED_DATE, dates.last);
  // The use of a song is not a time of day.
  b.set(BBL_FIRSTUSED_TIME, 0);
  b.set(BBL_LASTUSED_TIME, 0);
  return bibliography.put();
}

vrt::DataFile& fileOf(const dict::TableDecl& table) { return *Access(table).FILE(); }

bool recompute(std::int32_t entry) {
  if (entry == 0) return true;  // elements without an entry
  return RecomputeSongUse(fileOf(tables::Service), fileOf(tables::ServiceElement), fileOf(tables::Bibliography), entry);
}

// An element written: its entry, and the one it named before.
bool elementWritten(const vrt::RecordBuffer* before, const vrt::RecordBuffer* after) {
  const std::int32_t was = before ? before->get(SEL_BIBLIOGRAPHYNUMBER) : 0;
  const std::int32_t is = after ? after->get(SEL_BIBLIOGRAPHYNUMBER) : 0;
  return recompute(is) && (was == is || recompute(was));
}

// A service written: a new date moves the dates of every entry its elements name. A new
// service may have elements already, added from its form before it was saved. (When a
// service goes, its elements went before it, each with its own upkeep.)
bool serviceWritten(const vrt::RecordBuffer* before, const vrt::RecordBuffer* after) {
  if (!after || (before ? before->get(SER_WEEKOFDATE_DATE) : 0) == after->get(SER_WEEKOFDATE_DATE)) return true;
  vrt::DataFile& elements = fileOf(tables::ServiceElement);
  std::set<std::int32_t> entries;
  {
    Kept kept(elements);
    vrt::RecordRef e = elements.buffer();
    const std::int32_t service = after->get(SER_SERVICENUMBER);
    elements.buffer().clearAll(elements.schema().fields);
    e.set(SEL_SERVICENUMBER, service);
    e.set(SEL_ELEMENTORDER, std::numeric_limits<std::int32_t>::min());
    elements.setToValue(SEL::keys::ServiceElementKey);
    for (;;) {
      if (!elements.next()) {
        if (vrt::errorCode() != vrt::kRecordNotAvailable) return false;
        break;
      }
      if (e.get(SEL_SERVICENUMBER) != service) break;
      entries.insert(e.get(SEL_BIBLIOGRAPHYNUMBER));
    }
  }
  return std::all_of(entries.begin(), entries.end(), recompute);
}

}  // namespace

bool SongUseOf(vrt::DataFile& services, vrt::DataFile& elements, std::int32_t entry, SongUseDates& out) {
  out = {};
  std::vector<std::int64_t> numbers;
  if (!elements.distinctNumbers(SEL::BIBLIOGRAPHYNUMBER, entry, SEL::SERVICENUMBER, numbers)) return false;
  if (numbers.empty()) return true;
  Kept kept(services);
  vrt::RecordRef s = services.buffer();
  for (std::int64_t n : numbers) {
    s.set(SER_SERVICENUMBER, static_cast<std::int32_t>(n));
    if (services.get(SER::keys::ServiceNumberKey)) widen(out, s.get(SER_WEEKOFDATE_DATE));
    else if (vrt::errorCode() != vrt::kRecordNotFound) return false;  // an element of no service counts for none
  }
  vrt::clearError();
  return true;
}

bool RecomputeSongUse(vrt::DataFile& services, vrt::DataFile& elements, vrt::DataFile& bibliography,
                      std::int32_t entry) {
  SongUseDates dates;
  if (!SongUseOf(services, elements, entry, dates)) return false;
  Kept kept(bibliography);
  vrt::RecordRef b = bibliography.buffer();
  b.set(BBL_BIBLIOGRAPHYNUMBER, entry);
  if (!bibliography.get(BBL::keys::BibliographyNumberKey)) {
    if (vrt::errorCode() != vrt::kRecordNotFound) return false;
    vrt::clearError();
    return true;
  }
  return store(bibliography, dates);
}

int TimesUsed(vrt::DataFile& elements, std::int32_t entry) {
  std::vector<std::int64_t> numbers;
  if (!elements.distinctNumbers(SEL::BIBLIOGRAPHYNUMBER, entry, SEL::SERVICENUMBER, numbers)) return -1;
  return static_cast<int>(numbers.size());
}

int RecomputeAllSongUse(vrt::DataFile& services, vrt::DataFile& elements, vrt::DataFile& bibliography, bool write) {
  std::map<std::int32_t, vrt::DayNumber> dateOf;
  {
    Kept kept(services);
    vrt::RecordRef s = services.buffer();
    services.setToStart(vrt::DataFile::kFileOrder);
    while (services.next()) dateOf[s.get(SER_SERVICENUMBER)] = s.get(SER_WEEKOFDATE_DATE);
    if (vrt::errorCode() != vrt::kRecordNotAvailable) return -1;
  }
  std::map<std::int32_t, SongUseDates> use;
  {
    Kept kept(elements);
    vrt::RecordRef e = elements.buffer();
    elements.setToStart(vrt::DataFile::kFileOrder);
    while (elements.next()) {
      const std::int32_t entry = e.get(SEL_BIBLIOGRAPHYNUMBER);
      if (entry == 0) continue;
      SongUseDates& d = use[entry];
      if (const auto it = dateOf.find(e.get(SEL_SERVICENUMBER)); it != dateOf.end()) widen(d, it->second);
    }
    if (vrt::errorCode() != vrt::kRecordNotAvailable) return -1;
  }
  Kept kept(bibliography);
  std::optional<vrt::Transaction> txn;
  if (write) {
    txn.emplace(std::vector<vrt::DataFile*>{&bibliography}, 2);
    if (!txn->begin()) return -1;
  }
  // The entries first, then the changes: a write does not disturb the walk.
  std::vector<std::pair<std::int64_t, SongUseDates>> differing;
  vrt::RecordRef b = bibliography.buffer();
  bibliography.setToStart(vrt::DataFile::kFileOrder);
  while (bibliography.next()) {
    const auto it = use.find(b.get(BBL_BIBLIOGRAPHYNUMBER));
    const SongUseDates dates = it == use.end() ? SongUseDates{} : it->second;
    if (b.get(BBL_FIRSTUSED_DATE) != dates.first || b.get(BBL_LASTUSED_DATE) != dates.last)
      differing.emplace_back(bibliography.currentRowid(), dates);
  }
  if (vrt::errorCode() != vrt::kRecordNotAvailable) return -1;
  if (write) {
    for (const auto& [rowid, dates] : differing)
      if (!bibliography.getByRowid(rowid) || !store(bibliography, dates)) return -1;
    if (!txn->commit()) return -1;
  }
  vrt::clearError();
  return static_cast<int>(differing.size());
}

void RegisterSongRotation() {
  RegisterUpkeep(tables::ServiceElement.label,
                 {"song rotation", {tables::Service.label, tables::ServiceElement.label, tables::Bibliography.label},
                  elementWritten});
  RegisterUpkeep(tables::Service.label,
                 {"song rotation", {tables::Service.label, tables::ServiceElement.label, tables::Bibliography.label},
                  serviceWritten});
}

}  // namespace vesp
