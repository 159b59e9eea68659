#include "tests/tools/tool_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

extern char** environ;

namespace {

std::vector<char*> c_args(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  return args;
}

pid_t spawn(const std::vector<std::string>& argv, const std::string& output_file, char** env) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  auto args = c_args(argv);
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

}  // namespace

int wait_tool(pid_t pid) {
  int raw = 0;
  if (pid < 0 || waitpid(pid, &raw, 0) < 0) return -1;
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

bool wait_until_catching(pid_t pid, int signal) {
  const std::string status_path = "/proc/" + std::to_string(pid) + "/status";
  for (const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
       std::chrono::steady_clock::now() < until;) {
    std::ifstream status(status_path);
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("State:", 0) == 0 && line.find('Z') != std::string::npos) return false;
      if (line.rfind("SigCgt:", 0) == 0 && (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1))
        return true;
    }
    if (!status.eof() && !status.good()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

pid_t start_tool(const std::vector<std::string>& argv, const std::string& output_file) {
  return spawn(argv, output_file, environ);
}

ToolResult run_tool(const std::vector<std::string>& argv, const char* path_env) {
  std::vector<std::string> env_text;
  for (char** e = environ; *e; ++e)
    if (!path_env || std::string(*e).rfind("PATH=", 0) != 0) env_text.push_back(*e);
  if (path_env) env_text.push_back(std::string("PATH=") + path_env);
  auto env = c_args(env_text);
  std::string output_file = make_temp_folder("run") + "/output.txt";
  ToolResult result;
  result.status = wait_tool(spawn(argv, output_file, env.data()));
  result.output = read_text(output_file);
  return result;
}

std::string read_text(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<unsigned char> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string make_temp_folder(const std::string& name) {
  std::string pattern = ::testing::TempDir() + "/velmorand-" + name + "-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  return mkdtemp(buffer.data()) ? buffer.data() : ::testing::TempDir();
}
