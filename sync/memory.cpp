#include "sync/memory.h"

#include <cstdlib>

namespace {
void* default_allocate(std::size_t size) { return std::malloc(size); }
void* default_reallocate(void* block, std::size_t size) { return std::realloc(block, size); }
void default_release(void* block) { std::free(block); }
constexpr SyncAllocator kDefault = {default_allocate, default_reallocate, default_release};
}  // namespace

constinit const SyncAllocator sync_default_allocator = kDefault;
constinit SyncAllocator sync_allocator = kDefault;

void* sync_malloc(std::size_t size) { return sync_allocator.allocate(size); }
void* sync_realloc(void* block, std::size_t size) { return sync_allocator.reallocate(block, size); }
void sync_free(void* block) { sync_allocator.release(block); }
