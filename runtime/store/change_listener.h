#pragma once
// Other stations' saves, heard from the server: one connection of the process listens on
// the channel every table announces its committed changes on, and each hearer is told the
// table's name as soon as the announcement arrives (through the Qt event loop, on the GUI
// thread). On files there is nothing to hear: nobody is told anything.
#include <functional>
#include <string>

namespace vrt::store {

// Besides a table's name a hearer is told "" when any table may have changed (the server
// answers again after going away: what changed meanwhile cannot be told apart), and
// kServerAway when the server stopped answering. No table is named so.
inline constexpr const char* kServerAway = "\x01server away";

// Starts hearing (the first hearer opens the listening connection to the current data
// location, kept open from then on) and returns a handle; 0 when the data lives in files.
int hearTableChanges(std::function<void(const std::string& table)> heard);
void stopHearing(int handle);

// Hearing for as long as the object lives (or until stop()).
class TableChangeHearing {
 public:
  TableChangeHearing() = default;
  ~TableChangeHearing() { stop(); }
  TableChangeHearing(const TableChangeHearing&) = delete;
  TableChangeHearing& operator=(const TableChangeHearing&) = delete;
  void start(std::function<void(const std::string& table)> heard) {
    stop();
    handle_ = hearTableChanges(std::move(heard));
  }
  void stop() {
    stopHearing(handle_);
    handle_ = 0;
  }

 private:
  int handle_ = 0;
};

}  // namespace vrt::store
