#pragma once
// Ctrl-C and SIGTERM during a capture. During start-up nothing has been
// written, so a signal ends the tool at once. From the first frame on, the
// first signal asks the capture to stop after the frame in hand and close
// its output properly; a second one ends the process at once. SIGPIPE is
// ignored so that a failed ffmpeg shows up as a failed write with a message,
// not a silent death.

// The shell's status for a process that Ctrl-C ended.
inline constexpr int kInterruptedExit = 130;

void install_interruption_handlers();
// Start-up is over: signals from now on ask for an orderly stop.
void start_up_done();
bool interruption_requested();
