#include <windows.h>

#include <algorithm>
#include <cstddef>

#include "tools/common/os_process.h"
#include "tools/preview/directory_watch.h"

namespace {

std::wstring wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(std::max(size, 1)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), size);
  out.pop_back();  // the terminator
  return out;
}

std::string utf8(const wchar_t* text, std::size_t length) {
  const int count = static_cast<int>(length);
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, count, out.data(), size, nullptr, nullptr);
  return out;
}

void add_once(std::vector<std::string>& names, std::string name) {
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
}

}  // namespace

// Windows reports a write while it happens, not when the file is closed: a
// written file waits in `written` until no one holds it open for writing any
// more (it then opens without sharing writes), so a list is never read half
// saved.
struct DirectoryWatch::System {
  std::wstring dir;
  HANDLE handle = INVALID_HANDLE_VALUE;
  HANDLE event = nullptr;
  OVERLAPPED overlapped{};
  bool reading = false;
  bool lost = false;  // the folder can no longer be watched (it was deleted, say)
  alignas(DWORD) unsigned char buffer[16384];
  std::vector<std::string> written;

  ~System() {
    if (reading) {
      // The system writes into the buffer until the read has ended.
      CancelIoEx(handle, &overlapped);
      DWORD got = 0;
      GetOverlappedResult(handle, &overlapped, &got, TRUE);
    }
    if (event) CloseHandle(event);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }

  bool start_reading() {
    overlapped = {};
    overlapped.hEvent = event;
    reading = ReadDirectoryChangesW(
                  handle, buffer, sizeof buffer, FALSE,
                  FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE, nullptr,
                  &overlapped, nullptr) != 0;
    return reading;
  }

  // One finished read into `saved`; false when none has finished.
  bool take_finished(Saved& saved) {
    if (lost) return false;
    if (!reading && !start_reading()) {
      lost = true;  // silent from here on, as inotify is when its folder goes
      return false;
    }
    DWORD got = 0;
    if (!GetOverlappedResult(handle, &overlapped, &got, FALSE)) {
      if (GetLastError() == ERROR_IO_INCOMPLETE) return false;
      got = 0;  // ERROR_NOTIFY_ENUM_DIR among others: the changes were too many
    }
    reading = false;
    if (got == 0) saved.overflowed = true;
    else read_records(saved);
    return true;
  }

  void read_records(Saved& saved) {
    for (std::size_t at = 0;;) {
      const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
      std::string name = utf8(record->FileName, record->FileNameLength / sizeof(WCHAR));
      const bool gone = record->Action == FILE_ACTION_REMOVED || record->Action == FILE_ACTION_RENAMED_OLD_NAME;
      add_once(gone ? saved.removed : written, std::move(name));
      if (record->NextEntryOffset == 0) break;
      at += record->NextEntryOffset;
    }
  }

  bool still_written(const std::string& name) const {
    const std::wstring path = dir + L"\\" + wide(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
  }
};

DirectoryWatch::DirectoryWatch(std::unique_ptr<System> system) : system_(std::move(system)) {}

std::unique_ptr<DirectoryWatch> DirectoryWatch::open(const std::string& dir, std::string* error) {
  auto system = std::make_unique<System>();
  system->dir = wide(dir);
  system->handle = CreateFileW(system->dir.c_str(), FILE_LIST_DIRECTORY,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  if (system->handle != INVALID_HANDLE_VALUE) system->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  // A plain file opens too, and is refused by the first read.
  if (system->handle == INVALID_HANDLE_VALUE || !system->event || !system->start_reading()) {
    *error = "cannot watch " + dir + ": " + os::last_error_text();
    return nullptr;
  }
  return std::unique_ptr<DirectoryWatch>(new DirectoryWatch(std::move(system)));
}

DirectoryWatch::~DirectoryWatch() = default;

DirectoryWatch::Saved DirectoryWatch::poll() {
  Saved saved;
  while (system_->take_finished(saved)) {
  }
  auto& written = system_->written;
  for (auto it = written.begin(); it != written.end();) {
    if (system_->still_written(*it)) {
      ++it;
      continue;
    }
    add_once(saved.names, std::move(*it));
    it = written.erase(it);
  }
  return saved;
}
