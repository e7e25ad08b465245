// operator new and delete over msvcrt.dll's heap.
#include <cstdlib>
#include <new>

const std::nothrow_t std::nothrow{};

// Built without exceptions: an allocation that must not fail and does ends
// the process, where a vendor runtime would throw std::bad_alloc.
void* operator new(size_t size)
{
    void* block = malloc(size ? size : 1);
    if (!block) abort();
    return block;
}

void* operator new[](size_t size) { return operator new(size); }

void* operator new(size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }

void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }
