// simhost-run: flies the craft of a scenario in the stand-in host.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "flight/output_paths.h"
#include "flight/run.h"
#include "flight/stop_request.h"
#include "flight/summary.h"
#include "options/options.h"
#include "files/program_folders.h"
#include "util/text_lines.h"
#if defined(SIMHOST_SERVE)
#include "serve/serve.h"
#endif

namespace {
// Reasons go out as one line, whatever they hold, and with nothing a
// terminal would take for a command: they may quote a file or a module.
std::string OneLine(const std::string& s)
{
    std::string line;
    for (char c : s) {
        if (c == '\n' || c == '\r') line += "; ";
        else line += c;
    }
    return sim::terminal_text(line);
}
}  // namespace

int main(int argc, char** argv)
{
    app::end_signals_remove_temporaries();
    try {
        const app::ProgramFolders folders = app::program_folders(app::executable_file());
        app::Options defaults;
        defaults.modules = folders.modules.string();
        defaults.meshes = folders.meshes.string();
        const app::Options o = app::parse_options(std::vector<std::string>(argv + 1, argv + argc), defaults);
        if (o.help) {
            std::fputs(app::help_text(defaults).c_str(), stdout);
            return 0;
        }
        if (o.serve) {
#if defined(SIMHOST_SERVE)
            return app::serve(o, (folders.data / "page").string());
#else
            throw std::runtime_error("--serve: this build has no live view");
#endif
        }
        const app::RunReport report = app::run(o);
        if (!o.quiet) std::fputs(sim::terminal_text(app::summary_text(report)).c_str(), stdout);
        if (report.stopped.empty()) return 0;
        const std::string save = app::final_save_path(o);
        const bool saved = std::find(report.saved.begin(), report.saved.end(), save) != report.saved.end();
        std::fprintf(stderr, "simhost-run: %s; %s %s\n", OneLine(report.stopped).c_str(),
                     saved ? "the state reached is saved to" : "left as it was:", OneLine(save).c_str());
        return report.stop_signal ? 130 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simhost-run: %s\n", OneLine(e.what()).c_str());
        return 1;
    }
}
