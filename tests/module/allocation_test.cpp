// ovcInit and ovcExit against the memory they take and give back. The test
// program replaces the allocation functions the module calls, so it is built
// without sanitizers, which replace them as well.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "support/module_fixture.h"
#include "core/host_access.h"
#include "loading/module_entry_points.h"

namespace {
bool fail_allocation = false;
void* allocated = nullptr;
std::size_t allocated_size = 0;
void* released = nullptr;
std::size_t released_size = 0;

void Released(void* p, std::size_t n)
{
    if (p && p == allocated) {
        released = p;
        released_size = n;
    }
    std::free(p);
}
}  // namespace

void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    if (fail_allocation) return nullptr;
    allocated = std::malloc(n);
    allocated_size = n;
    return allocated;
}
void operator delete(void* p) noexcept { Released(p, 0); }
void operator delete(void* p, std::size_t n) noexcept { Released(p, n); }

namespace {
TEST_F(ModuleTest, FailedAllocationGivesNullAndConstructsNothing)
{
    fail_allocation = true;
    sim::VesselRecord rec("probe", "Mervex", module);
    VESSEL* v = sim::ModuleEntryPoints::ovc_init(*module)(&rec, 1);
    fail_allocation = false;
    EXPECT_EQ(v, nullptr);
    EXPECT_EQ(rec.callbacks, nullptr) << "no base was constructed";
}

TEST_F(ModuleTest, OvcExitReleasesExactlyTheBlockOvcInitTook)
{
    sim::VesselRecord rec("probe", "Mervex", module);
    VESSEL* v = sim::ModuleEntryPoints::ovc_init(*module)(&rec, 1);
    ASSERT_NE(v, nullptr);
    void* block = allocated;
    const std::size_t size = allocated_size;
    EXPECT_NE(static_cast<void*>(v), block) << "the VESSEL base sits inside the object, not at its start";
    sim::ModuleEntryPoints::ovc_exit(*module)(v);
    EXPECT_EQ(released, block);
    if (released_size) {
        EXPECT_EQ(released_size, size);
    }
}
}  // namespace
