#pragma once
// Running the built tools from end-to-end tests: their exit status and what
// they printed.

#include <sys/types.h>

#include <string>
#include <vector>

struct ToolResult {
  int status = -1;     // exit status, or 128 + signal
  std::string output;  // stdout and stderr together
};

// Runs `argv` (argv[0] a full path) to the end. `path_env` replaces PATH when given.
ToolResult run_tool(const std::vector<std::string>& argv, const char* path_env = nullptr);

// Starts `argv` with its output going to `output_file`; returns the pid.
pid_t start_tool(const std::vector<std::string>& argv, const std::string& output_file);
int wait_tool(pid_t pid);
// Waits until the process has a handler for `signal` (its SigCgt line in
// /proc): a signal sent earlier would meet the default action, not the tool.
// False when it ended or did not get there within a minute.
bool wait_until_catching(pid_t pid, int signal);

std::string read_text(const std::string& path);
std::vector<unsigned char> read_bytes(const std::string& path);

// A fresh empty folder under the test's temporary directory.
std::string make_temp_folder(const std::string& name);
