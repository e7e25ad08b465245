// The parts of a PE file (a Windows DLL or executable) that a host relies
// on when it loads a module: machine, exports, imports (delay-loaded ones
// too) and resources.
// Every read is bounded; a damaged file gives resfmt::ParseError, never an overrun.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pecheck {

constexpr std::uint16_t machine_i386 = 0x014C;
constexpr std::uint16_t machine_amd64 = 0x8664;

struct Export {
    std::uint32_t ordinal = 0;
    std::string name;  // empty for an export by ordinal only
};

struct Import {
    std::string dll;
    std::vector<std::string> names;  // empty for an import by ordinal only
};

// The bytes of a section that holds code, at its address relative to the image's base.
struct CodeSection {
    std::uint32_t rva = 0;
    std::vector<std::uint8_t> bytes;
};

struct Resource {
    std::uint32_t type = 0, id = 0, language = 0;  // named (non-numeric) entries are skipped
    std::vector<std::uint8_t> data;
};

struct PeImage {
    std::uint16_t machine = 0;
    bool is_dll = false;
    std::uint64_t image_base = 0;
    std::string export_name;             // the export directory's own name of the file
    std::vector<Export> exports;
    std::vector<std::string> import_dlls;  // in the order of the import directory
    std::vector<Import> imports;           // the same order, with the names taken from each
    std::vector<Import> delay_imports;     // what the DLL binds itself, not the system loader
    std::vector<CodeSection> code;
    std::vector<Resource> resources;
};

// `what` names the file in messages.
PeImage parse_pe(const std::vector<std::uint8_t>& file, const std::string& what);

}  // namespace pecheck
