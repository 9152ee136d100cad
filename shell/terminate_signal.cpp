#include "shell/terminate_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "shell/main_frame.h"

namespace vesp {

namespace {

// A signal handler may only write to a descriptor; the event loop reads the other end.
int signalSockets[2] = {-1, -1};

void onSignal(int) {
  const int saved = errno;
  const char c = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalSockets[1], &c, 1);
  errno = saved;
}

}  // namespace

void CloseOnTerminateSignal() {
  if (signalSockets[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) return;
  // Signals that come faster than they are read must never block the handler.
  ::fcntl(signalSockets[1], F_SETFL, ::fcntl(signalSockets[1], F_GETFL) | O_NONBLOCK);
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
