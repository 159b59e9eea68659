#include "tools/capture/interruption.h"

#include <signal.h>

namespace {

volatile sig_atomic_t requested = 0;

void on_signal(int signal_number) {
  requested = 1;
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigaction(signal_number, &fallback, nullptr);
}

}  // namespace

void install_interruption_handlers() {
  struct sigaction action {};
  action.sa_handler = on_signal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

bool interruption_requested() { return requested != 0; }
