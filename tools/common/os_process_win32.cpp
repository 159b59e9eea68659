#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <random>

#include "tools/common/os_process.h"

namespace os {

namespace {

std::string system_message(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message;
}

bool has_extension(const std::string& name) {
  size_t dot = name.find_last_of('.');
  return dot != std::string::npos && name.find_first_of("/\\", dot) == std::string::npos;
}

// One argument as the C runtime of the child splits its command line:
// quoted when it holds blanks or quotes, backslashes doubled before a quote.
void append_argument(std::string* line, const std::string& arg) {
  if (!line->empty()) *line += ' ';
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
    *line += arg;
    return;
  }
  *line += '"';
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    *line += std::string(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    *line += c;
  }
  *line += std::string(2 * backslashes, '\\');
  *line += '"';
}

HANDLE handle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

std::string find_on_path(const std::string& name) {
  const std::string file = has_extension(name) ? name : name + ".exe";
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  size_t start = 0;
  while (start < dirs.size()) {
    size_t end = dirs.find(';', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (!dir.empty()) {
      std::string candidate = dir + "\\" + file;
      DWORD attributes = GetFileAttributesA(candidate.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return candidate;
    }
    start = end + 1;
  }
  return {};
}

bool spawn(const std::vector<std::string>& argv, bool pipe_input, Child* child, std::string* error) {
  std::string program = find_on_path(argv[0]);
  if (program.empty()) {
    *error = "cannot start " + argv[0] + ": not found on PATH";
    return false;
  }
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (pipe_input) {
    if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) {
      *error = "cannot make a pipe: " + system_message(GetLastError());
      return false;
    }
    SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (pipe_input) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read_end;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    SetHandleInformation(startup.hStdOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    SetHandleInformation(startup.hStdError, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  std::string line;
  for (const auto& a : argv) append_argument(&line, a);
  PROCESS_INFORMATION started{};
  BOOL ok = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP, nullptr,
                           nullptr, &startup, &started);
  DWORD reason = GetLastError();
  if (read_end) CloseHandle(read_end);
  if (!ok) {
    if (write_end) CloseHandle(write_end);
    *error = "cannot start " + argv[0] + ": " + system_message(reason);
    return false;
  }
  CloseHandle(started.hThread);
  *child = {reinterpret_cast<intptr_t>(started.hProcess), pipe_input ? reinterpret_cast<intptr_t>(write_end) : -1};
  return true;
}

bool write_input(Child& child, const void* data, size_t bytes) {
  const char* p = static_cast<const char*>(data);
  while (bytes > 0 && child.input != -1) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(bytes < (1u << 30) ? bytes : (1u << 30));
    if (!WriteFile(handle(child.input), p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    bytes -= written;
  }
  return bytes == 0;
}

int finish(Child& child) {
  if (child.input != -1) {
    CloseHandle(handle(child.input));
    child.input = -1;
  }
  DWORD code = 1;
  WaitForSingleObject(handle(child.process), INFINITE);
  GetExitCodeProcess(handle(child.process), &code);
  CloseHandle(handle(child.process));
  child.process = -1;
  return static_cast<int>(code);
}

namespace {

void (*interruption_handler)() = nullptr;
std::atomic<bool> interruptions_released{false};

// Runs on a thread the system starts. Returning FALSE hands the event to the
// default handler, which ends the process.
BOOL WINAPI on_console_event(DWORD event) {
  if (interruptions_released) return FALSE;
  interruption_handler();
  // Closing the console ends the process as soon as this returns: wait here
  // while the capture closes its output (the system gives a few seconds).
  if (event == CTRL_CLOSE_EVENT) Sleep(INFINITE);
  return TRUE;
}

}  // namespace

void catch_interruptions(void (*handler)()) {
  interruption_handler = handler;
  SetConsoleCtrlHandler(on_console_event, TRUE);
}

void release_interruptions() { interruptions_released = true; }

void exit_at_once(const char* message, int status) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message, static_cast<DWORD>(std::strlen(message)), &written, nullptr);
  ExitProcess(static_cast<UINT>(status));
}

void enable_terminal_escapes() {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(err, &mode)) SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

std::string last_error_text() { return system_message(GetLastError()); }

std::string wine_version() {
  using Version = const char*(__cdecl*)();
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  void* found = ntdll ? reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")) : nullptr;
  auto version = reinterpret_cast<Version>(found);
  return version ? version() : "";
}

bool make_folder(const std::string& path, std::string* reason) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  *reason = system_message(GetLastError());
  return false;
}

std::string make_unique_file(const std::string& stem, const std::string& suffix, std::string* reason) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device entropy;
  std::mt19937 pick(entropy() ^ GetCurrentProcessId());
  std::uniform_int_distribution<int> letter(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = stem;
    for (int i = 0; i < 6; ++i) path += kLetters[letter(pick)];
    path += suffix;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return path;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  *reason = system_message(GetLastError());
  return {};
}

}  // namespace os
