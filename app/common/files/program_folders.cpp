#include "files/program_folders.h"

#include <stdexcept>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace app {

std::filesystem::path executable_file()
{
#if defined(_WIN32)
    // Long paths need a larger buffer; the size written equals the buffer's when cut short.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) throw std::runtime_error("cannot tell where this program's file is");
        if (n < buffer.size()) return std::filesystem::path(buffer.substr(0, n));
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw std::runtime_error("cannot tell where this program's file is: /proc/self/exe: " + ec.message());
    return self;
#endif
}

ProgramFolders program_folders(const std::filesystem::path& executable)
{
    const std::filesystem::path bin = executable.parent_path();
    return {(bin / SIMHOST_MODULES_FROM_BIN).lexically_normal(), (bin / SIMHOST_MESHES_FROM_BIN).lexically_normal(),
            (bin / SIMHOST_DATA_FROM_BIN).lexically_normal()};
}

}  // namespace app
