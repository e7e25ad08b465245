#include "heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {
// Plain counters: the benchmarks run on one thread.
bench::HeapCount counted;

void* Take(std::size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (p) {
        ++counted.allocations;
        counted.live_bytes += malloc_usable_size(p);
    }
    return p;
}

void Give(void* p)
{
    if (!p) return;
    counted.live_bytes -= malloc_usable_size(p);
    std::free(p);
}
}  // namespace

namespace bench {
HeapCount heap_count() { return counted; }
}  // namespace bench

void* operator new(std::size_t n)
{
    if (void* p = Take(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Take(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Take(n); }
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, std::size_t) noexcept { Give(p); }
void operator delete[](void* p, std::size_t) noexcept { Give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Give(p); }
