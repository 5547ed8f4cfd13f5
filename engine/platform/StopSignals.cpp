#include "tolvex/platform/StopSignals.h"

#include <csignal>

namespace tx {

namespace {

volatile std::sig_atomic_t noted_signal = 0;

const int STOP_SIGNALS[] = {SIGINT, SIGTERM};
// What each stop signal did before it was caught, while it is.
struct sigaction before[2];
bool caught = false;

void noteSignal(int signal_number) { noted_signal = signal_number; }

}  // namespace

void catchStopSignals() {
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  // The handler is put back to the default once it has run: a second signal ends the process.
  action.sa_flags = SA_RESETHAND;
  for (int i = 0; i < 2; ++i) {
    if (!caught) sigaction(STOP_SIGNALS[i], nullptr, &before[i]);
    if (before[i].sa_handler != SIG_IGN) sigaction(STOP_SIGNALS[i], &action, nullptr);
  }
  caught = true;
}

void releaseStopSignals() {
  if (!caught) return;
  for (int i = 0; i < 2; ++i) sigaction(STOP_SIGNALS[i], &before[i], nullptr);
  caught = false;
}

int stopSignal() { return noted_signal; }

}  // namespace tx
