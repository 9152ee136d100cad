#include "screens/worship/statistics_trend.h"

#include <algorithm>
#include <map>

#include "dictionary/tables.h"
#include "runtime/data/errors.h"
#include "runtime/store/view.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

using vrt::RecordRef;

// Services whose numbers lie this close together are read in one run.
constexpr std::int32_t kLongestGap = 64;

// One read transaction over a whole read: each record after the first is then one step.
class HeldReading {
 public:
  explicit HeldReading(vrt::View& view) : view_(view) { view_.beginBatch(); }
  ~HeldReading() { view_.endBatch(); }
  HeldReading(const HeldReading&) = delete;
  HeldReading& operator=(const HeldReading&) = delete;

 private:
  vrt::View& view_;
};

std::string failure(const char* what) { return std::string(what) + ": " + vrt::errorMessage(); }

void addOnce(std::vector<std::string>& to, const std::string& text) {
  if (!text.empty() && std::find(to.begin(), to.end(), text) == to.end()) to.push_back(text);
}

}  // namespace

const std::vector<StatisticMeasure>& StatisticMeasures() {
  using R = const RecordRef&;
  static const std::vector<StatisticMeasure> measures = {
      {"Attendance", false,
       [](R r) -> std::int64_t {
         return std::int64_t{r.get(STA_ADULT)} + r.get(STA_ADULTGUESTS) + r.get(STA_YOUTH) + r.get(STA_YOUTHGUESTS) +
                r.get(STA_CHILDREN) + r.get(STA_CHILDRENGUESTS);
       }},
      {"Guests", false,
       [](R r) -> std::int64_t {
         return std::int64_t{r.get(STA_ADULTGUESTS)} + r.get(STA_YOUTHGUESTS) + r.get(STA_CHILDRENGUESTS);
       }},
      {"Offering", true, [](R r) { return r.get(STA_OFFERING).cents(); }},
      {"Special Offering", true, [](R r) { return r.get(STA_SPECIALOFFERING).cents(); }},
      {"Budget Need", true, [](R r) { return r.get(STA_BUDGETNEED).cents(); }},
      {"Adults", false, [](R r) -> std::int64_t { return r.get(STA_ADULT); }},
      {"Adult Guests", false, [](R r) -> std::int64_t { return r.get(STA_ADULTGUESTS); }},
      {"Youth", false, [](R r) -> std::int64_t { return r.get(STA_YOUTH); }},
      {"Youth Guests", false, [](R r) -> std::int64_t { return r.get(STA_YOUTHGUESTS); }},
      {"Children", false, [](R r) -> std::int64_t { return r.get(STA_CHILDREN); }},
      {"Children Guests", false, [](R r) -> std::int64_t { return r.get(STA_CHILDRENGUESTS); }},
      {"Saved", false, [](R r) -> std::int64_t { return r.get(STA_SAVED); }},
      {"Baptized", false, [](R r) -> std::int64_t { return r.get(STA_BAPTIZED); }},
      {"Prayed For", false, [](R r) -> std::int64_t { return r.get(STA_PRAYEDFOR); }},
      {"Other Responses", false, [](R r) -> std::int64_t { return r.get(STA_OTHERRESPONSES); }},
      {"Joined", false, [](R r) -> std::int64_t { return r.get(STA_JOINED); }},
  };
  return measures;
}

StatisticsTrend StatisticsTrendOf(vrt::DataFile& services, vrt::DataFile& statistics, vrt::DayNumber from,
                                  vrt::DayNumber to, const StatisticMeasure& measure, const std::string& type,
                                  int window) {
  StatisticsTrend trend;
  if (from > to) {
    trend.error = "the range ends before it starts";
    return trend;
  }
  std::vector<std::pair<std::int32_t, vrt::DayNumber>> inRange;
  {
    vrt::View view(services);
    const std::string filter = "SER:WeekOfDate_Date >= " + std::to_string(from) +
                               " AND SER:WeekOfDate_Date <= " + std::to_string(to);
    if (!view.setOrder("+SER:WeekOfDate_Date,+SER:ServiceNumber") || !view.setFilter(filter) || !view.open()) {
      trend.error = failure("reading the services");
      return trend;
    }
    RecordRef s = services.buffer();
    const HeldReading held(view);
    while (view.next()) inRange.emplace_back(s.get(SER_SERVICENUMBER), s.get(SER_WEEKOFDATE_DATE));
    const bool ended = vrt::errorCode() == vrt::kRecordNotAvailable;
    view.close();
    if (!ended) {
      trend.error = failure("reading the services");
      return trend;
    }
  }
  trend.services = static_cast<int>(inRange.size());

  // The statistics of the range's services, read by runs of near service numbers: one read
  // per run rather than one per service, and no long stretch of other services' records.
  std::map<std::int32_t, vrt::DayNumber> dateOf(inRange.begin(), inRange.end());
  std::map<vrt::DayNumber, TrendPoint> byDate;
  RecordRef st = statistics.buffer();
  for (auto run = dateOf.begin(); run != dateOf.end();) {
    auto last = run;
    for (auto next = std::next(last); next != dateOf.end() && next->first - last->first <= kLongestGap; ++next)
      last = next;
    vrt::View view(statistics);
    const std::string filter = "STA:ServiceNumber >= " + std::to_string(run->first) +
                               " AND STA:ServiceNumber <= " + std::to_string(last->first);
    if (!view.setOrder("+STA:ServiceNumber") || !view.setFilter(filter) || !view.open()) {
      trend.error = failure("reading the statistics");
      return trend;
    }
    const HeldReading held(view);
    while (view.next()) {
      const auto service = dateOf.find(st.get(STA_SERVICENUMBER));
      if (service == dateOf.end()) continue;
      if (!type.empty() && !vrt::equalTextNoCase(vrt::clip(st.get(STA_TYPE)), vrt::clip(type))) continue;
      TrendPoint& p = byDate[service->second];
      p.date = service->second;
      p.total += measure.of(st);
      addOnce(p.holidays, std::string(vrt::clip(st.get(STA_HOLIDAY))));
      addOnce(p.events, std::string(vrt::clip(st.get(STA_SPECIALEVENT))));
    }
    const bool ended = vrt::errorCode() == vrt::kRecordNotAvailable;
    view.close();
    if (!ended) {
      trend.error = failure("reading the statistics");
      return trend;
    }
    run = std::next(last);
  }
  for (auto& [date, point] : byDate) trend.points.push_back(std::move(point));

  window = std::max(1, window);
  double sum = 0;
  for (std::size_t i = 0; i < trend.points.size(); ++i) {
    sum += static_cast<double>(trend.points[i].total);
    if (i >= static_cast<std::size_t>(window)) sum -= static_cast<double>(trend.points[i - window].total);
    trend.points[i].average = sum / static_cast<double>(std::min<std::size_t>(i + 1, window));
  }
  trend.ok = true;
  return trend;
}

}  // namespace vesp
