// Whole runs of a scenario and a timeline as one might download them
// together, flown with every output on: the saves and pictures they name,
// the telemetry, the pictures at the end. The input is the scenario, a NUL
// byte, the timeline, and after a second NUL options of the command line
// that name outputs, one a line (relative names only: they land in the
// working folder). Whatever they hold, the run writes nothing outside its
// output folder but the outputs the options name, and a run it refuses says
// why in readable lines.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "options/options.h"
#include "fuzz_checks.h"
#include "flight/output_paths.h"
#include "flight/run.h"
#include "util/text_lines.h"

namespace fs = std::filesystem;

namespace {
// A folder of this process's own, holding the inputs, the output folder
// and the working folder, which stays empty.
fs::path root;

void RemoveSandbox()
{
    std::error_code ec;
    fs::remove_all(root, ec);
}

const fs::path& Sandbox()
{
    if (root.empty()) {
        root = fs::temp_directory_path() / ("flight_fuzz_" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "cwd");
        fs::create_directories(root / "meshes");
        fs::current_path(root / "cwd");
        std::atexit(RemoveSandbox);
        // Each run unloads its modules; held open here they stay mapped, as
        // the fuzzer's coverage counters in them must.
        for (const auto& e : fs::directory_iterator(fs::path(MERVEX_MODULE_PATH).parent_path()))
            if (e.path().extension() == ".so") dlopen(e.path().c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return root;
}

// The options of the input, or none when one of them could name a file to
// read, a path outside the working folder, or a longer run.
std::vector<std::string> OutputOptions(const std::string& text)
{
    const std::vector<std::string> lines = sim::split_lines(text);
    for (const std::string& l : lines) {
        if (l.find('/') != std::string::npos) return {};
        const std::string name = l.substr(0, l.find('='));
        if (!l.empty() && l[0] == '-' && name != "--save" && name != "--json" && name != "--json-every" &&
            name != "--no-pictures" && name != "--no-save-on-stop" && name != "--at" && name != "-a")
            return {};
    }
    return lines;
}

[[noreturn]] void Escaped(const fs::path& file)
{
    std::fprintf(stderr, "a run wrote outside its output folder: %s\n", file.c_str());
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fs::path& box = Sandbox();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::size_t nul2 = nul == std::string::npos ? nul : input.find('\0', nul + 1);
    std::ofstream(box / "s.scn", std::ios::binary) << input.substr(0, nul);
    std::ofstream(box / "s.tl", std::ios::binary) << (nul == std::string::npos ? "" : input.substr(nul + 1, nul2 - nul - 1));
    fs::remove_all(box / "out");
    for (const auto& e : fs::directory_iterator(box / "cwd")) fs::remove_all(e.path());

    const std::string modules = fs::path(MERVEX_MODULE_PATH).parent_path().string();
    std::vector<std::string> args{(box / "s.scn").string(), "-t", (box / "s.tl").string(), "-d", "2",
                                        "-s", "0.5", "-q", "-o", (box / "out").string(), "--json",
                                        (box / "out/t.json").string(), "--modules", modules,
                                        "--meshes", (box / "meshes").string()};
    if (nul2 != std::string::npos)
        for (std::string& option : OutputOptions(input.substr(nul2 + 1))) args.push_back(std::move(option));
    std::vector<fs::path> named;  // the outputs outside the output folder the options name
    try {
        const app::Options options = app::parse_options(args, app::Options{});
        for (const app::PlannedOutput& p : app::planned_outputs(options))
            named.push_back(fs::weakly_canonical(box / "cwd" / p.path));
        app::run(options);
    } catch (const std::exception& e) {
        for (const std::string& line : sim::split_lines(e.what())) fuzz::check_message(line);
    }

    for (const auto& e : fs::recursive_directory_iterator(box)) {
        const fs::path rel = e.path().lexically_relative(box);
        const std::string top = rel.begin()->string();
        if (top == "out" || rel == "s.scn" || rel == "s.tl" || rel == "cwd" || rel == "meshes") continue;
        if (std::find(named.begin(), named.end(), fs::weakly_canonical(e.path())) == named.end()) Escaped(e.path());
    }
    return 0;
}
