#include "tools/capture/interruption.h"

#include <csignal>

#include "tools/capture/os_process.h"

namespace {

volatile std::sig_atomic_t requested = 0;

void on_interruption() {
  requested = 1;
  os::release_interruptions();
}

}  // namespace

void install_interruption_handlers() { os::catch_interruptions(on_interruption); }

bool interruption_requested() { return requested != 0; }
