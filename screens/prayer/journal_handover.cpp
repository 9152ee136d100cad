#include "screens/prayer/journal_handover.h"

#include <map>
#include <mutex>
#include <utility>

#include "runtime/gui/threads.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

struct Handover {
  std::mutex lock;
  std::string filter, description, category;
  std::map<int, QueryHandover> threads;  // by the number of the report's thread
};

Handover& handover() {
  static Handover h;
  return h;
}

void store(std::string Handover::*value, std::string text, std::size_t width) {
  Handover& h = handover();
  std::lock_guard guard(h.lock);
  h.*value = std::string(vrt::utf8Truncate(text, width));
}

std::string read(std::string Handover::*value) {
  Handover& h = handover();
  std::lock_guard guard(h.lock);
  return h.*value;
}

}  // namespace

void SetHandedFilter(std::string filter) { store(&Handover::filter, std::move(filter), kHandedFilterWidth); }
void SetHandedDescription(std::string d) { store(&Handover::description, std::move(d), kHandedDescriptionWidth); }
void SetRuntimeCategory(std::string c) { store(&Handover::category, std::move(c), kRuntimeCategoryWidth); }

std::string HandedFilter() { return read(&Handover::filter); }
std::string HandedDescription() { return read(&Handover::description); }
std::string RuntimeCategory() { return read(&Handover::category); }

std::string TakeHandedFilter() {
  Handover& h = handover();
  std::lock_guard guard(h.lock);
  return std::exchange(h.filter, {});
}

QueryHandover CurrentQueryHandover() { return {HandedFilter(), HandedDescription(), RuntimeCategory()}; }

void RunWithQueryHandover(const QueryHandover& given, const std::function<void()>& procedure) {
  struct Own {
    int thread = vrt::ThreadNumber();
    explicit Own(const QueryHandover& g) {
      std::lock_guard guard(handover().lock);
      handover().threads[thread] = g;
    }
    ~Own() {
      std::lock_guard guard(handover().lock);
      handover().threads.erase(thread);
    }
  } own(given);
  procedure();
}

QueryHandover TakeQueryHandover() {
  Handover& h = handover();
  std::lock_guard guard(h.lock);
  QueryHandover taken{h.filter, h.description, h.category};
  if (const auto own = h.threads.find(vrt::ThreadNumber()); own != h.threads.end()) taken = own->second;
  h.filter.clear();
  return taken;
}

}  // namespace vesp
