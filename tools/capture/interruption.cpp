#include "tools/capture/interruption.h"

#include <signal.h>
#include <unistd.h>

#include "tools/capture/capture_run.h"

namespace {

volatile sig_atomic_t requested = 0;
volatile sig_atomic_t starting = 1;

void on_signal(int signal_number) {
  if (starting) {
    static const char message[] = "velmorand-capture: interrupted during start-up; nothing written\n";
    [[maybe_unused]] ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    _exit(static_cast<int>(CaptureExit::Interrupted));
  }
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

void start_up_done() { starting = 0; }

bool interruption_requested() { return requested != 0; }
