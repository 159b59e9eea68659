#pragma once
// Counts every heap allocation of the process: operator new in all its forms
// and malloc, calloc, realloc and the aligned allocations of the C library
// (replaced for the whole program, forwarding to glibc's own allocator).

// Allocations made since the program started.
long allocation_count();
