#include "tools/common/interruption.h"

#include <csignal>

#include "tools/common/os_process.h"

namespace {

volatile std::sig_atomic_t requested = 0;
volatile std::sig_atomic_t starting = 1;

void on_interruption() {
  if (starting)
    os::exit_at_once("velmorand-capture: interrupted during start-up; nothing written\n", kInterruptedExit);
  requested = 1;
  os::release_interruptions();
}

}  // namespace

void install_interruption_handlers() { os::catch_interruptions(on_interruption); }

void start_up_done() { starting = 0; }

bool interruption_requested() { return requested != 0; }
