// What the program has taken from the heap, counted by the replaced global
// allocation functions (heap_counter.cpp). Modules loaded into the program
// allocate through the same functions, so their allocations count too.
#pragma once

#include <cstddef>

namespace bench {

struct HeapCount {
    std::size_t allocations = 0;  // calls to operator new since the start
    std::size_t live_bytes = 0;   // held now, as the C library sized the blocks
};

HeapCount heap_count();

}  // namespace bench
