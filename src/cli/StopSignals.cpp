#include "cli/StopSignals.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace {

sigset_t StopSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

void StopSignals::Block() {
  const sigset_t set = StopSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void StopSignals::Listen(Handler handler) {
  std::thread([handler = std::move(handler)] {
    const sigset_t set = StopSet();
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    handler(signal);
  }).detach();
}
