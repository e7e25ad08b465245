// pecheck: checks a built Mervex.dll as the host's loader sees it, reading
// the file itself. Prints one line per failed check and "ok" or the count.
//
//   pecheck DLL --machine x86_64|i686 --host HOST.exe      (GCC's C++ ABI)
//   pecheck DLL --machine x86_64|i686 --abi msvc [--map LINK.map]
//
// A module in GCC's C++ ABI imports the host interface from the executable
// it was built for, HOST.exe. One in the Microsoft C++ ABI binds to
// whichever program loads it: its import table holds only msvcrt.dll,
// kernel32.dll and user32.dll, and every name it takes from the host is
// Microsoft-decorated and delay-loaded, from one DLL name; on i686 every
// member of VESSEL it calls is __thiscall. With the link map lld-link wrote
// for it, the module's own 32-bit __thiscall functions are checked to pop
// their arguments on return (`ret N`), as their callers expect.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resfmt/dialog_template.h"
#include "panel_measures.h"
#include "msvc_names.h"
#include "pe_image.h"

namespace {
std::vector<std::string> failures;

void Check(bool ok, const std::string& what)
{
    if (!ok) failures.push_back(what);
}

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

const pecheck::Resource* FindResource(const pecheck::PeImage& pe, std::uint32_t type, std::uint32_t id)
{
    for (const pecheck::Resource& r : pe.resources)
        if (r.type == type && r.id == id) return &r;
    return nullptr;
}

struct Item {
    std::int16_t id;
    std::uint16_t class_atom;
    bool text_is_id;
    const char* text;
    std::uint16_t text_id;
    std::uint32_t style;
    std::int16_t x, y, cx, cy;
};
const Item items[5] = {
    {1001, 0x82, true, "", 107, 0x5080004E, 40, 15, 64, 25},
    {1003, 0x80, false, "DEPLOY", 0, 0x50010000, 45, 20, 55, 15},
    {-1, 0x80, false, "Array Controls", 0, 0x50000007, 25, 5, 90, 45},
    {-1, 0x80, false, "NAV Lights", 0, 0x50000007, 25, 55, 90, 35},
    {1004, 0x80, false, " ", 0, 0x50010000, 50, 65, 45, 20},
};

void CheckDialog(const pecheck::Resource& r)
{
    Check(r.language == 0, "dialog 108 has language " + std::to_string(r.language) + ", expected 0");
    Check(r.data.size() == 284, "dialog 108 is " + std::to_string(r.data.size()) + " bytes, expected 284");
    resfmt::DialogTemplate t;
    try {
        t = resfmt::parse_dialog_template(r.data.data(), r.data.size());
    } catch (const std::exception& e) {
        Check(false, std::string("dialog 108: ") + e.what());
        return;
    }
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%08X", unsigned(t.style));
    Check(t.style == 0x90C808CC, std::string("dialog style is ") + hex + ", expected 0x90C808CC");
    Check(t.exstyle == 0, "dialog has an extended style");
    Check(t.x == 0 && t.y == 0 && t.cx == 143 && t.cy == 127, "dialog is not at 0,0 with size 143 x 127");
    Check(!t.has_menu, "dialog has a menu");
    Check(!t.has_class, "dialog names its own window class");
    Check(t.caption == "Mervex Controls", "dialog caption is \"" + t.caption + "\"");
    Check(t.has_font && t.point_size == 8 && t.face == "Ms Shell Dlg",
          "dialog font is " + std::to_string(t.point_size) + " pt \"" + t.face + "\"");
    Check(t.items.size() == 5, "dialog has " + std::to_string(t.items.size()) + " controls, expected 5");
    for (std::size_t i = 0; i < std::min<std::size_t>(5, t.items.size()); ++i) {
        const resfmt::DialogItemTemplate& got = t.items[i];
        const Item& want = items[i];
        const std::string who = "control " + std::to_string(i + 1) + " (id " + std::to_string(want.id) + ")";
        Check(got.id == want.id, who + " has id " + std::to_string(got.id));
        Check(got.window_class == resfmt::NameOrId::number(want.class_atom), who + " has class " + got.window_class.str());
        const resfmt::NameOrId text = want.text_is_id ? resfmt::NameOrId::number(want.text_id) : resfmt::NameOrId::text(want.text);
        Check(got.text == text, who + " has text \"" + got.text.str() + "\", expected \"" + text.str() + "\"");
        std::snprintf(hex, sizeof hex, "0x%08X", unsigned(got.style));
        Check(got.style == want.style, who + " has style " + hex);
        Check(got.exstyle == 0, who + " has an extended style");
        Check(got.x == want.x && got.y == want.y && got.cx == want.cx && got.cy == want.cy,
              who + " is at " + std::to_string(got.x) + "," + std::to_string(got.y) + " size " +
                  std::to_string(got.cx) + " x " + std::to_string(got.cy));
        Check(got.creation_data_size == 0, who + " has creation data");
    }
}

bool IsExecutable(const std::string& dll)
{
    const std::string l = Lower(dll);
    return l.size() >= 4 && l.compare(l.size() - 4, 4, ".exe") == 0;
}

// The system DLLs alone in the import table, and the host's names, in the
// vendor's decoration, in the delay-import table. Gives how many host names.
std::size_t CheckVendorImports(const pecheck::PeImage& pe, bool i686)
{
    const std::vector<std::string> system = {"msvcrt.dll", "kernel32.dll", "user32.dll"};
    for (const pecheck::Import& dll : pe.imports) {
        if (IsExecutable(dll.dll))
            Check(false,
                  "imports from the executable " + dll.dll + " by name, so loads only into a program of that name");
        else
            Check(std::find(system.begin(), system.end(), Lower(dll.dll)) != system.end(),
                  "imports from " + dll.dll + ", not one of msvcrt.dll, kernel32.dll, user32.dll");
    }
    Check(pe.delay_imports.size() == 1, "delay-imports from " + std::to_string(pe.delay_imports.size()) +
                                            " DLL names, expected the host interface's one");
    std::size_t names = 0;
    for (const pecheck::Import& dll : pe.delay_imports) {
        Check(!dll.names.empty(), "delay-imports nothing from " + dll.dll);
        for (const std::string& name : dll.names) {
            Check(!name.empty(), "delay-imports an ordinal from " + dll.dll + ": the host is bound by name");
            Check(name.empty() || name[0] == '?',
                  "delay-imports \"" + name + "\" from " + dll.dll + ", which is not a Microsoft-decorated name");
            const std::string cls = pecheck::member_class(name);
            if (i686 && (cls == "VESSEL" || cls == "VESSEL2"))
                Check(pecheck::member_convention(name) == 'E', "delay-imports " + name + ", which is not __thiscall");
            ++names;
        }
    }
    return names;
}

// The host interface from the named executable alone, and no MinGW runtime DLL.
void CheckGccImports(const pecheck::PeImage& pe, const std::string& host)
{
    const bool imports_host = std::any_of(pe.import_dlls.begin(), pe.import_dlls.end(),
                                          [&](const std::string& d) { return Lower(d) == Lower(host); });
    Check(imports_host, "imports nothing from " + host);
    for (const std::string& d : pe.import_dlls) {
        const std::string l = Lower(d);
        // A module loads only into the executable it imports from.
        Check(!IsExecutable(d) || l == Lower(host), "imports from " + d + ", an executable other than " + host);
        Check(l.find("libstdc++") == std::string::npos && l.find("libgcc") == std::string::npos &&
                  l.find("winpthread") == std::string::npos,
              "needs the MinGW runtime " + d);
    }
}

bool HasReturnPopping(const std::vector<std::uint8_t>& code, std::size_t from, std::size_t to, unsigned bytes)
{
    for (std::size_t i = from; i + 2 < to && i + 2 < code.size(); ++i)
        if (code[i] == 0xC2 && code[i + 1] == (bytes & 0xFF) && code[i + 2] == (bytes >> 8)) return true;
    return false;
}

// Each of the module's own __thiscall functions that takes arguments holds a `ret N` popping them.
std::size_t CheckThiscallReturns(const pecheck::PeImage& pe, const std::string& map_path)
{
    std::ifstream map(map_path);
    if (!map) {
        Check(false, "cannot read the link map " + map_path);
        return 0;
    }
    const std::vector<pecheck::MapSymbol> symbols = pecheck::read_link_map(map, pe.image_base);
    if (pe.code.empty()) return 0;
    const pecheck::CodeSection& text = pe.code.front();
    std::size_t checked = 0;
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const std::optional<unsigned> bytes = pecheck::thiscall_argument_bytes(symbols[i].name);
        if (!symbols[i].own || !bytes || *bytes == 0 || symbols[i].address < text.rva) continue;
        const std::size_t from = symbols[i].address - text.rva;
        const std::size_t to = i + 1 < symbols.size() ? symbols[i + 1].address - text.rva : text.bytes.size();
        Check(HasReturnPopping(text.bytes, from, to, *bytes),
              symbols[i].name + " is __thiscall but has no ret " + std::to_string(*bytes));
        ++checked;
    }
    Check(checked > 0, "the link map " + map_path + " names no __thiscall function of the module");
    return checked;
}

void CheckBitmap(const pecheck::Resource& r)
{
    Check(r.language == 0, "bitmap 107 has language " + std::to_string(r.language) + ", expected 0");
    Check(r.data.size() == mervex::panel::dib_size,
          "bitmap 107 is " + std::to_string(r.data.size()) + " bytes, expected " + std::to_string(mervex::panel::dib_size));
    const mervex::panel::Report report = mervex::panel::check_dib(r.data.data(), r.data.size());
    for (const std::string& f : report.failures) Check(false, "bitmap 107: " + f);
}
}  // namespace

int main(int argc, char** argv)
{
    const char* const usage =
        "usage: pecheck DLL --machine x86_64|i686 --host HOST.exe\n"
        "       pecheck DLL --machine x86_64|i686 --abi msvc [--map LINK.map (on i686)]\n";
    std::string path, machine, host, abi = "gcc", map;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(usage, stdout);
            std::fputs("Checks a built Windows module: its machine, exports, imports and resources.\n", stdout);
            return 0;
        }
        if (arg == "--machine" && i + 1 < argc) machine = argv[++i];
        else if (arg == "--host" && i + 1 < argc) host = argv[++i];
        else if (arg == "--abi" && i + 1 < argc) abi = argv[++i];
        else if (arg == "--map" && i + 1 < argc) map = argv[++i];
        else if (path.empty() && arg.rfind("--", 0) != 0) path = arg;
        else {
            std::fprintf(stderr, "pecheck: unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    // A vendor-ABI module names no host: it binds to whichever program loads it.
    if (path.empty() || (machine != "x86_64" && machine != "i686") || (abi != "gcc" && abi != "msvc") ||
        host.empty() != (abi == "msvc") || (!map.empty() && (abi != "msvc" || machine != "i686"))) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "pecheck: cannot open %s\n", path.c_str());
        return 2;
    }
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    pecheck::PeImage pe;
    try {
        pe = pecheck::parse_pe(file, path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pecheck: %s\n", e.what());
        return 1;
    }

    const std::uint16_t want_machine = machine == "x86_64" ? pecheck::machine_amd64 : pecheck::machine_i386;
    Check(pe.machine == want_machine, "machine is " + std::to_string(pe.machine) + ", expected " + machine);
    Check(pe.is_dll, "the file is not a DLL");
    Check(pe.export_name == "Mervex.dll", "export directory names the file \"" + pe.export_name + "\"");

    std::vector<std::string> names;
    for (const pecheck::Export& e : pe.exports) {
        Check(!e.name.empty(), "export ordinal " + std::to_string(e.ordinal) + " has no name");
        if (!e.name.empty()) names.push_back(e.name);
    }
    std::sort(names.begin(), names.end());
    const std::vector<std::string> five = {"GetModuleVersion", "InitModule", "ModuleDate", "ovcExit", "ovcInit"};
    std::string listed;
    for (const std::string& n : names) listed += " " + n;
    Check(names == five, "exports are" + listed + "; expected exactly the five entry points");

    std::size_t host_names = 0, thiscalls = 0;
    if (abi == "msvc") {
        host_names = CheckVendorImports(pe, machine == "i686");
        if (!map.empty()) thiscalls = CheckThiscallReturns(pe, map);
    } else {
        CheckGccImports(pe, host);
    }

    if (const pecheck::Resource* dlg = FindResource(pe, 5, 108)) CheckDialog(*dlg);
    else Check(false, "no RT_DIALOG resource 108");
    if (const pecheck::Resource* bmp = FindResource(pe, 2, 107)) CheckBitmap(*bmp);
    else Check(false, "no RT_BITMAP resource 107");

    for (const std::string& f : failures) std::printf("%s: %s\n", path.c_str(), f.c_str());
    if (failures.empty()) {
        std::printf("%s: ok (%s, %s ABI, %zu exports, ", path.c_str(), machine.c_str(), abi.c_str(), pe.exports.size());
        if (abi == "msvc")
            std::printf("%zu host functions bound at load to the loading program", host_names);
        else
            std::printf("imports from %s", host.c_str());
        std::printf(", dialog 108 and bitmap 107");
        if (thiscalls) std::printf(", %zu __thiscall functions pop their arguments", thiscalls);
        std::printf(")\n");
        return 0;
    }
    std::printf("%s: %zu checks failed\n", path.c_str(), failures.size());
    return 1;
}
