#pragma once
// Helpers shared by the sync tests: tracks built from key lists, a counting
// allocator that can fail a chosen allocation, in-memory track files, a
// temporary working directory, and captured stderr.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sync/device.h"
#include "sync/memory.h"
#include "sync/track.h"

namespace sync_test {

// A track over keys owned by the caller's vector (never given to the registry).
inline Track view_track(std::vector<TrackKey>& keys) {
  static char name[] = "test";
  return Track{name, keys.empty() ? nullptr : keys.data(), static_cast<std::int32_t>(keys.size())};
}

inline TrackKey key(std::int32_t row, float value, Interpolation mode) { return TrackKey{row, value, mode}; }
inline TrackKey key(std::int32_t row, float value, int code) {
  return TrackKey{row, value, static_cast<Interpolation>(code)};
}

// Counts the sync subsystem's allocations and releases and can fail the n-th
// allocation (1-based, counting allocate and reallocate alike). Installed for
// the lifetime of the object.
class AllocationCounter {
 public:
  explicit AllocationCounter(long fail_at = 0) {
    state() = State{};
    state().fail_at = fail_at;
    sync_allocator = SyncAllocator{allocate, reallocate, release};
  }
  ~AllocationCounter() { sync_allocator = sync_default_allocator; }
  long allocations() const { return state().allocations; }
  long live_blocks() const { return state().live; }
  std::size_t largest_request() const { return state().largest; }

 private:
  struct State {
    long fail_at = 0;
    long allocations = 0;
    long live = 0;
    std::size_t largest = 0;
  };
  static State& state() {
    static State s;
    return s;
  }
  static bool fail_now(std::size_t size) {
    State& s = state();
    ++s.allocations;
    if (size > s.largest) s.largest = size;
    return s.fail_at != 0 && s.allocations == s.fail_at;
  }
  static void* allocate(std::size_t size) {
    if (fail_now(size)) return nullptr;
    ++state().live;
    return sync_default_allocator.allocate(size);
  }
  static void* reallocate(void* block, std::size_t size) {
    if (fail_now(size)) return nullptr;
    if (block == nullptr) ++state().live;
    return sync_default_allocator.reallocate(block, size);
  }
  static void release(void* block) {
    if (block != nullptr) --state().live;
    sync_default_allocator.release(block);
  }
};

// The bytes of a track file, built field by field (little-endian).
class TrackFileBytes {
 public:
  TrackFileBytes& i32(std::int32_t v) { return raw(&v, 4); }
  TrackFileBytes& f32(float v) { return raw(&v, 4); }
  TrackFileBytes& i8(std::int8_t v) { return raw(&v, 1); }
  TrackFileBytes& key(std::int32_t row, float value, std::int8_t code) { return i32(row).f32(value).i8(code); }
  const std::vector<unsigned char>& bytes() const { return bytes_; }

 private:
  TrackFileBytes& raw(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
    return *this;
  }
  std::vector<unsigned char> bytes_;
};

// Replaces a registry's file operations with an in-memory file system of one
// optional file, and records every open and close.
class MemoryFiles {
 public:
  explicit MemoryFiles(TrackRegistry* registry) {
    current() = this;
    registry->open = open;
    registry->read = read;
    registry->close = close;
  }
  ~MemoryFiles() { current() = nullptr; }

  void serve(const std::string& path, std::vector<unsigned char> bytes) {
    path_ = path;
    bytes_ = std::move(bytes);
  }
  std::vector<std::string> opened;  // "path mode" per open call
  int open_files = 0;               // opens that succeeded minus closes
  int closes = 0;
  std::size_t position = 0;  // read cursor

 private:
  static MemoryFiles*& current() {
    static MemoryFiles* files = nullptr;
    return files;
  }
  static std::FILE* token() {
    static char storage;
    return reinterpret_cast<std::FILE*>(&storage);
  }
  static std::FILE* open(const char* path, const char* mode) {
    MemoryFiles* self = current();
    self->opened.push_back(std::string(path) + " " + mode);
    if (path != self->path_) return nullptr;
    self->position = 0;
    ++self->open_files;
    return token();
  }
  static std::size_t read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    MemoryFiles* self = current();
    EXPECT_EQ(file, token());
    std::size_t items = 0;
    while (items < count && self->position + size <= self->bytes_.size()) {
      std::memcpy(static_cast<char*>(buffer) + items * size, self->bytes_.data() + self->position, size);
      self->position += size;
      ++items;
    }
    return items;
  }
  static int close(std::FILE* file) {
    MemoryFiles* self = current();
    EXPECT_EQ(file, token());
    --self->open_files;
    ++self->closes;
    return 0;
  }
  std::string path_;
  std::vector<unsigned char> bytes_;
};

// Runs a test inside a fresh temporary working directory.
class InTempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    char pattern[] = "/tmp/velmorand-sync-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  static void write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    ASSERT_EQ(std::fclose(f), 0);
  }
  std::filesystem::path dir_;

 private:
  std::filesystem::path previous_;
};

// Keeps message boxes away from a test run on a desktop: the failure path then
// only writes to stderr.
inline void forget_display() {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
}

}  // namespace sync_test
