#pragma once
// What the capture tool asks of the operating system, in one seam:
// os_process_posix.cpp on Linux, os_process_win32.cpp on Windows. Everything
// else in the tool is the same on both.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace os {

// The characters that end a folder's name in a path.
#ifdef _WIN32
inline constexpr char kPathSeparators[] = "/\\";
#else
inline constexpr char kPathSeparators[] = "/";
#endif

// A started child process and the writing end of its standard input (when
// it has one). Plain handles so the header needs no system header.
struct Child {
  intptr_t process = -1;
  intptr_t input = -1;
};

// The full path of an executable found on PATH, or empty. On Windows a name
// without an extension is looked for as NAME.exe.
std::string find_on_path(const std::string& name);

// Starts argv[0] from PATH in a process group of its own, so that a Ctrl-C at
// the terminal reaches only the capture tool (which then ends the child's
// input in order) and not the child halfway through a file. With
// `pipe_input` the child reads its standard input from a pipe.
bool spawn(const std::vector<std::string>& argv, bool pipe_input, Child* child, std::string* error);

// Writes everything to the child's input; false when it no longer reads.
bool write_input(Child& child, const void* data, size_t bytes);

// Ends the child's input (it sees end of file), then waits for it: its exit
// status, or 128 + the signal that ended it.
int finish(Child& child);

// Ctrl-C (and SIGTERM, or closing the console on Windows) calls `handler`,
// from a signal handler or a thread of the system's: it may only set a flag.
// Writes into a closed pipe fail instead of ending the process.
void catch_interruptions(void (*handler)());
// The next interruption ends the process at once, as by default.
void release_interruptions();
// Writes `message` to stderr and ends the process with `status`, without
// running anything else: safe inside an interruption handler.
[[noreturn]] void exit_at_once(const char* message, int status);

// Lets a terminal on stderr understand the escape sequences the progress
// line redraws itself with (a Windows console has to be asked).
void enable_terminal_escapes();

// The version of Wine when the program runs under it, else empty.
std::string wine_version();

// The system's words for the latest failure of one of its calls (errno,
// GetLastError on Windows).
std::string last_error_text();

// Makes a folder (its parent must exist); false with the system's reason.
bool make_folder(const std::string& path, std::string* reason);

// A new, empty file whose name is `stem`, six random characters and
// `suffix`; its path, or empty with the system's reason.
std::string make_unique_file(const std::string& stem, const std::string& suffix, std::string* reason);

}  // namespace os
