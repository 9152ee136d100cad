#include "runtime/store/change_listener.h"

#include <QSocketNotifier>
#include <QTimer>

#include <map>
#include <memory>
#include <utility>

#include "runtime/store/data_location.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/server_table.h"

namespace vrt::store {

namespace {

// How long to wait before listening again after the server went away.
constexpr int kRetryMilliseconds = 1000;

class Listener {
 public:
  int add(std::function<void(const std::string&)> heard) {
    const int handle = ++last_;
    hearers_.emplace(handle, std::move(heard));
    if (!connection_.isOpen() || !(where_ == currentDataLocation())) listen();
    return handle;
  }
  // The listening connection outlives its last hearer: a list opened next hears at once
  // instead of waiting for a new connection. What it hears meanwhile is told to no one.
  void remove(int handle) { hearers_.erase(handle); }

 private:
  void listen() {
    stop();
    where_ = currentDataLocation();
    ConnectionCheck check;
    if (!connection_.open(where_, pg::sessionPassword(), check) ||
        !connection_.exec(std::string("LISTEN ") + server::kChangeChannel).ok()) {
      connection_.close();
      retryLater();
      return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(connection_.socket(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { take(); });
    if (missed_) {
      // What changed while nobody listened is told to everyone, since no one can say which
      // tables it was; told now, when the server answers again, not while it is away.
      missed_ = false;
      tell("");
    }
  }
  void stop() {
    notifier_.reset();
    connection_.close();
  }
  void retryLater() {
    QTimer::singleShot(kRetryMilliseconds, [this] {
      if (!hearers_.empty() && !connection_.isOpen()) listen();
    });
  }
  void take() {
    const auto tables = connection_.takeNotifications();
    if (connection_.broken()) {
      // The server went away: listen again once it is back.
      stop();
      retryLater();
      if (!std::exchange(missed_, true)) tell(kServerAway);
      return;
    }
    for (const auto& t : tables) tell(t);
  }
  void tell(const std::string& table) {
    const auto hearers = hearers_;  // a hearer may stop hearing while told
    for (const auto& [handle, heard] : hearers) heard(table);
  }

  pg::Connection connection_;
  DataLocation where_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::map<int, std::function<void(const std::string&)>> hearers_;
  int last_ = 0;
  bool missed_ = false;  // the server went away since the hearers were last told
};

Listener& listener() {
  static Listener* l = new Listener;  // lives as long as the process; never torn down mid-event
  return *l;
}

}  // namespace

int hearTableChanges(std::function<void(const std::string& table)> heard) {
  if (!currentDataLocation().onServer()) return 0;
  return listener().add(std::move(heard));
}

void stopHearing(int handle) {
  if (handle) listener().remove(handle);
}

}  // namespace vrt::store
