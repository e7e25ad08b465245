// Names in the Microsoft C++ decoration, as far as the checks of a module
// built in that ABI need them: whether a member is __thiscall, and how many
// bytes of arguments such a function pops on return on 32-bit x86.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace pecheck {

// A member function, not data, of the class named in `decorated`:
// "?SetSize@VESSEL@@QBEXN@Z" -> "VESSEL"; empty for anything else.
std::string member_class(const std::string& decorated);

// The calling convention letter of a 32-bit member function ('E' for
// __thiscall, 'A' for __cdecl, 'G' for __stdcall); 0 when not a
// non-static member function.
char member_convention(const std::string& decorated);

// Bytes of arguments a 32-bit __thiscall member pops with `ret N` (`this`
// travels in ecx); none when the name is not such a member or takes a
// parameter whose size the name does not tell (a record by value).
std::optional<unsigned> thiscall_argument_bytes(const std::string& decorated);

// A function of a link map written by lld-link /map: its name, its address
// relative to the image base, and whether it came from one of the DLL's own
// objects (not an import library's thunk).
struct MapSymbol {
    std::string name;
    std::uint64_t address = 0;
    bool own = false;
};
// The symbols of the map's code section (0001), in address order.
std::vector<MapSymbol> read_link_map(std::istream& map, std::uint64_t image_base);

}  // namespace pecheck
