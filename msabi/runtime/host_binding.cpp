// The host interface is exported by whichever executable loads the add-on,
// under any file name. The DLL therefore takes the host's functions as
// delay-loaded imports (lld-link /delayload), which the system loader leaves
// alone, and binds them itself at process attach to the exports of the
// process's main module: GetModuleHandle(NULL), then GetProcAddress by
// name. No file is ever loaded by name, so a DLL or executable that happens
// to share the name the import library was made for plays no part.
#include "host_binding.h"

#include <cstdint>
#include <cstdlib>

namespace {
// The delay-import descriptor as the linker lays it out; every field past
// the attributes is an address relative to the image's base.
struct DelayDescriptor {
    std::uint32_t attributes;
    std::uint32_t dll_name;
    std::uint32_t module_handle;
    std::uint32_t address_table;
    std::uint32_t name_table;
    std::uint32_t bound_table;
    std::uint32_t unload_table;
    std::uint32_t time_stamp;
};

const unsigned delay_import_directory = 13;
const UINT_PTR by_ordinal = UINT_PTR(1) << (sizeof(UINT_PTR) * 8 - 1);

const unsigned char* ImageBase(HINSTANCE self) { return reinterpret_cast<const unsigned char*>(self); }

std::uint32_t Read32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// The DLL's own delay-import descriptors, ended by an all-zero one; none
// when it has no such directory.
const DelayDescriptor* DelayDescriptors(HINSTANCE self)
{
    const unsigned char* base = ImageBase(self);
    const unsigned char* nt = base + Read32(base + 0x3C);
    const unsigned char* optional_header = nt + 24;
    const bool wide = (optional_header[0] | optional_header[1] << 8) == 0x20B;
    const unsigned char* directories = optional_header + (wide ? 112 : 96);
    if (Read32(directories - 4) <= delay_import_directory) return nullptr;
    const std::uint32_t rva = Read32(directories + 8 * delay_import_directory);
    return rva ? reinterpret_cast<const DelayDescriptor*>(base + rva) : nullptr;
}

// The host's function for one import slot, or null when the main module
// does not export it.
FARPROC Resolve(HINSTANCE self, HMODULE host, const DelayDescriptor& d, FARPROC* slot)
{
    const unsigned char* base = ImageBase(self);
    const FARPROC* slots = reinterpret_cast<const FARPROC*>(base + d.address_table);
    const UINT_PTR* names = reinterpret_cast<const UINT_PTR*>(base + d.name_table);
    const UINT_PTR entry = names[slot - slots];
    if (entry == 0 || (entry & by_ordinal)) return nullptr;
    // The name follows a two-byte hint.
    return GetProcAddress(host, reinterpret_cast<const char*>(base + entry + 2));
}

bool ResolveAll(HINSTANCE self, HMODULE host, bool write)
{
    for (const DelayDescriptor* d = DelayDescriptors(self); d && d->dll_name; ++d) {
        FARPROC* slots = reinterpret_cast<FARPROC*>(const_cast<unsigned char*>(ImageBase(self)) + d->address_table);
        const UINT_PTR* names = reinterpret_cast<const UINT_PTR*>(ImageBase(self) + d->name_table);
        for (std::size_t i = 0; names[i]; ++i) {
            const FARPROC proc = Resolve(self, host, *d, slots + i);
            if (!proc) return false;
            if (write) slots[i] = proc;
        }
    }
    return true;
}
}  // namespace

bool BindHostInterface(HINSTANCE self)
{
    const HMODULE host = GetModuleHandleA(nullptr);
    // Every name is looked up before any slot is written: a refused DLL is left as linked.
    if (!host || !ResolveAll(self, host, false)) return false;
    return ResolveAll(self, host, true);
}

// The linker's thunk for a delay-loaded function calls this on the first
// call through a slot not yet bound. Every slot is bound at attach, and an
// attach that cannot bind them all refuses the DLL, so no thunk runs; were
// one to, it is bound the same way, and a name the host lacks ends the
// process rather than jump nowhere.
extern "C" unsigned char __ImageBase;  // the linker's name for the DLL's own first byte

extern "C" FARPROC WINAPI __delayLoadHelper2(const DelayDescriptor* d, FARPROC* slot)
{
    HINSTANCE self = reinterpret_cast<HINSTANCE>(&__ImageBase);
    const FARPROC proc = Resolve(self, GetModuleHandleA(nullptr), *d, slot);
    if (!proc) abort();
    *slot = proc;
    return proc;
}
