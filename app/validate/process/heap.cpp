#include "process/heap.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VALIDATE_SANITIZER_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VALIDATE_SANITIZER_HEAP 1
#endif

#if defined(VALIDATE_SANITIZER_HEAP)
#include <sanitizer/allocator_interface.h>
#include <sanitizer/lsan_interface.h>

#include <cstring>
#else
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#endif

namespace validate {

#if defined(VALIDATE_SANITIZER_HEAP)
namespace {
unsigned char fill_byte = 0;
// Larger blocks the sanitizer's allocator maps fresh, and calloc clears
// only those it does not, after this hook has run.
constexpr std::size_t fill_limit = 4096;

void Fill(const volatile void* block, std::size_t size)
{
    if (size <= fill_limit) std::memset(const_cast<void*>(block), fill_byte, size);
}

// The sanitizer takes a pair of hooks or none.
void Freed(const volatile void*) {}
}  // namespace
#endif

std::size_t heap_in_use()
{
#if defined(VALIDATE_SANITIZER_HEAP)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

std::size_t heap_slack_per_cycle()
{
#if defined(VALIDATE_SANITIZER_HEAP)
    return 256;
#else
    return 64;
#endif
}

bool leaks_found()
{
#if defined(VALIDATE_SANITIZER_HEAP)
    return __lsan_do_recoverable_leak_check() != 0;
#else
    return false;
#endif
}

void exact_heap_accounting([[maybe_unused]] char** argv)
{
#if !defined(VALIDATE_SANITIZER_HEAP)
    const char* const setting = "glibc.malloc.tcache_count=0";
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::string(tunables).find(setting) != std::string::npos) return;
    const std::string value = tunables && *tunables ? std::string(tunables) + ":" + setting : setting;
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
    execv("/proc/self/exe", argv);
#endif
}

void fill_new_blocks(unsigned char byte)
{
#if defined(VALIDATE_SANITIZER_HEAP)
    fill_byte = byte;
    __sanitizer_install_malloc_and_free_hooks(Fill, Freed);
#else
    // The C library fills with the complement of the byte it is given; blocks
    // from its per-thread cache are left out, which exact_heap_accounting()
    // turns off.
    mallopt(M_PERTURB, byte ^ 0xFF);
#endif
}

}  // namespace validate
