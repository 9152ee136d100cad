#pragma once
// Another station on the test server: this test program started again as a process of its
// own, working in the calling case's server schema and running only `workCase`, which looks
// at stationJob() to know what to do.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/test_server.h"

namespace vtest {

inline constexpr const char* kStationJob = "VESP_STATION_JOB";

// The job this process was started for; null when it is the test program itself.
inline const char* stationJob() { return std::getenv(kStationJob); }

inline pid_t startStation(const std::string& schema, const std::string& job, const std::string& workCase) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv(kStationJob, job.c_str(), 1);
    ::setenv(ServerSchema::kSharedSchema, schema.c_str(), 1);
    const std::string filter = "--gtest_filter=" + workCase;
    ::execl("/proc/self/exe", "station", filter.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

// The station's exit code once it has ended; -1 when a signal ended it.
inline int waitForStation(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vtest
