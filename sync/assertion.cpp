#include "sync/assertion.h"

#include <cstdio>
#include <cstdlib>

void sync_assert_failed(const char* condition, const char* source, int line) {
  std::fprintf(stderr, "Assertion failed: %s, source %s, line %d\n", condition, source, line);
  std::fflush(stderr);
#ifndef NDEBUG
  std::abort();
#endif
}
