#include "app/termination.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace corvale::app {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe, for the handler: the one thing it may touch.
volatile sig_atomic_t signalPipe = -1;

void OnSignal(int signal) {
  const int saved = errno;
  const char byte = char(signal);
  if (signalPipe >= 0) [[maybe_unused]]
    auto written = write(signalPipe, &byte, 1);
  errno = saved;
}

sigset_t TerminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void HoldTerminationSignals() {
  const sigset_t set = TerminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

CloseOnTermination::CloseOnTermination(QWidget* window) : QObject(window) {
  if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  signalPipe = pipe_[1];
  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, window, [this, window] {
    char bytes[16];
    while (read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    window->close();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
  const sigset_t set = TerminationSignals();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

CloseOnTermination::~CloseOnTermination() {
  for (int signal : kSignals) ::signal(signal, SIG_DFL);
  signalPipe = -1;
  delete notifier_;
  for (int fd : pipe_) {
    if (fd >= 0) close(fd);
  }
}

}  // namespace corvale::app
