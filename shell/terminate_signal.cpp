#include "shell/terminate_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

#include "shell/main_frame.h"

namespace vesp {

namespace {

// A signal handler may only write to a descriptor; the event loop reads the other end.
int signalSockets[2] = {-1, -1};

void onSignal(int) {
  const char c = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalSockets[1], &c, 1);
}

}  // namespace

void CloseOnTerminateSignal() {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) return;
  auto* notifier = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char c;
    [[maybe_unused]] const ssize_t n = ::read(signalSockets[0], &c, 1);
    DesktopSessionEnding(false);
  });
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
}

}  // namespace vesp
