// Bytes the process has taken from the heap and not given back: the
// sanitizer's allocator when it replaces malloc, else the C library's.
#pragma once

#include <cstddef>

namespace validate {

std::size_t heap_in_use();

// With the C library's allocator, starts the program again with its
// per-thread cache of freed blocks turned off, which it counts as in use and
// fills a little differently on every pass; then heap_in_use() is exact. Returns
// (doing nothing) when that is done already, or cannot be.
void exact_heap_accounting(char** argv);

}  // namespace validate
