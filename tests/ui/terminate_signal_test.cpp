// The desktop asking the program to end (SIGTERM at log-out or `kill`): the program closes
// as by File > Exit, also when the request comes while it is still starting, and the real
// program, started as a process, ends with status 0 and leaves its data folder sound.
#include <QCoreApplication>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "program_fixture.h"
#include "records/data_lock.h"
#include "runtime/gui/frame_host.h"
#include "shell/terminate_signal.h"
#include "shell/welcome.h"
#include "support/run_vesp_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace fs = std::filesystem;

namespace {

bool welcomeWritten() {
  std::ifstream ini("vsp.INI");
  for (std::string line; std::getline(ini, line);)
    if (line.rfind(std::string(kWelcomeShowEntry) + "=1", 0) == 0) return true;
  return false;
}

// The program's status once it has ended; -1 when it was still running after a long wait
// (it is then killed) or did not end normally.
int waitForEnd(pid_t program) {
  for (int tries = 0; tries < 12000; ++tries) {
    int status = 0;
    if (::waitpid(program, &status, WNOHANG) == program)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(program, SIGKILL);
  ::waitpid(program, nullptr, 0);
  return -1;
}

}  // namespace

// Asked to end before the frame is up (the signal read before start-up ran), the program
// still ends as soon as its frame opens, instead of running on.
TEST_F(ProgramTest, ASignalToEndDuringStartUpClosesTheFrameOnceItOpens) {
  CloseOnTerminateSignal();
  ASSERT_EQ(::raise(SIGTERM), 0);
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();  // read, with no frame yet
  ASSERT_EQ(vrt::FrameHost::frame(), nullptr);
  StartProgram();
  robot.settle();
  EXPECT_TRUE(vrt::LiveThreads().empty()) << "the program ended";
  EXPECT_EQ(vrt::FrameHost::frame(), nullptr);
}

// The real program, started offscreen in an empty folder as a user would start it.
TEST(ProgramProcess, SIGTERMClosesTheProgramWithStatusZeroAndItsDataSound) {
  vtest::TempDir dir;
  const pid_t program = ::fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execl(VESP_PROGRAM, VESP_PROGRAM, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Start-up writes the welcome's setting once the lists are filled, past the point where
  // the signal is taken; the frame may or may not be open yet.
  bool started = false;
  for (int tries = 0; tries < 12000 && !started; ++tries) {
    started = welcomeWritten();
    if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!started) {
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    FAIL() << "the program did not get through its start-up";
  }
  ASSERT_EQ(::kill(program, SIGTERM), 0);
  EXPECT_EQ(waitForEnd(program), 0) << "closed, not killed by the signal (143)";

  // Nothing half-written: no journal left, every file sound, and a restore could take the
  // folder at once.
  for (const auto& e : fs::directory_iterator("."))
    EXPECT_EQ(e.path().string().find("-journal"), std::string::npos) << e.path();
  const CommandOutcome check = runVespData({"check"});
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  EXPECT_GT(std::atoi(runVespData({"count", "ElementType"}).out.c_str()), 0) << "the starting lists were kept";
  backup::DataFolderLock lock(".");
  std::string error;
  EXPECT_TRUE(lock.takeAlone(error)) << error;
}
