// Bytes the process has taken from the heap and not given back: the
// sanitizer's allocator when it replaces malloc, else the C library's.
#pragma once

#include <cstddef>

namespace validate {

std::size_t heap_in_use();

// The largest growth of heap_in_use() per load and unload cycle taken for the
// allocator's own: with the sanitizers the loader's bookkeeping shows a little.
std::size_t heap_slack_per_cycle();

// With the leak sanitizer: whether blocks no pointer reaches are left now
// (it prints them). Without it: false.
bool leaks_found();

// With the C library's allocator, starts the program again with its
// per-thread cache of freed blocks turned off, which it counts as in use and
// fills a little differently on every pass; then heap_in_use() is exact. Returns
// (doing nothing) when that is done already, or cannot be.
void exact_heap_accounting(char** argv);

// From now on in this process, the blocks the heap hands out start filled
// with `byte`, so a value read before it is written shows what was put there.
// Blocks either allocator maps fresh for a large size stay zeroed, since
// calloc counts on that.
void fill_new_blocks(unsigned char byte);

}  // namespace validate
