#pragma once
// Every heap allocation of the sync subsystem goes through these three
// operations, so that a test or the fuzzer can make a chosen allocation fail
// and prove that running out of memory is handled without a crash.
// The defaults are malloc, realloc and free. Memory obtained here (track names,
// key arrays, the registry and its arrays) must be released with sync_free.
#include <cstddef>

struct SyncAllocator {
  void* (*allocate)(std::size_t size);
  void* (*reallocate)(void* block, std::size_t size);
  void (*release)(void* block);
};

// The operations in use. Tests may replace them; restore sync_default_allocator after.
extern SyncAllocator sync_allocator;
extern const SyncAllocator sync_default_allocator;

void* sync_malloc(std::size_t size);
void* sync_realloc(void* block, std::size_t size);
void sync_free(void* block);
