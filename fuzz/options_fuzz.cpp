// Command lines of any kind (arguments separated by NUL bytes): each gives
// options whose outputs are checked against each other and the inputs, or a
// readable one-line refusal. Timeline files are left out: they would read
// whatever file an argument names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "options/options.h"
#include "flight/output_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i]) args.back() += static_cast<char>(data[i]);
        else args.emplace_back();
    }
    for (const std::string& a : args)
        if (a == "-t" || a.rfind("--timeline", 0) == 0) return 0;
    app::Options defaults;
    defaults.module = "module.so";
    defaults.meshes = "meshes";
    try {
        const app::Options o = app::parse_options(args, defaults);
        if (o.help) return static_cast<int>(app::help_text(defaults).empty());
        app::check_output_paths(o);
    } catch (const app::UsageError& e) {
        fuzz::check_message(e.what());
    } catch (const app::TimelineError& e) {
        fuzz::check_message(e.what());
    }
    return 0;
}
