#include "serve/server/page_files.h"

#include <stdexcept>

#include "util/input_file.h"

namespace app {

namespace {
struct Entry {
    const char* file;
    const char* type;
};
// Every file the page loads, by the name it is asked for.
constexpr Entry page_entries[] = {
    {"index.html", "text/html; charset=utf-8"},
    {"live.css", "text/css; charset=utf-8"},
    {"live.js", "text/javascript; charset=utf-8"},
    {"connection.js", "text/javascript; charset=utf-8"},
    {"craft_view.js", "text/javascript; charset=utf-8"},
    {"dialogs.js", "text/javascript; charset=utf-8"},
    {"keys.js", "text/javascript; charset=utf-8"},
    {"panel.js", "text/javascript; charset=utf-8"},
    {"three.module.js", "text/javascript; charset=utf-8"},
    {"three.core.js", "text/javascript; charset=utf-8"},
    {"OrbitControls.js", "text/javascript; charset=utf-8"},
};
}  // namespace

PageFiles::PageFiles(const std::string& folder)
{
    for (const Entry& e : page_entries) {
        try {
            files_["/" + std::string(e.file)] = {e.type, sim::read_input_file(folder + "/" + e.file)};
        } catch (const std::exception& err) {
            throw std::runtime_error(std::string("the live page is not installed: ") + err.what());
        }
    }
}

const PageFile* PageFiles::find(const std::string& path) const
{
    const auto f = files_.find(path == "/" ? "/index.html" : path);
    return f == files_.end() ? nullptr : &f->second;
}

std::string PageFiles::index(const std::string& token) const
{
    std::string page = files_.at("/index.html").body;
    const std::string mark = "%TOKEN%";
    for (size_t at; (at = page.find(mark)) != std::string::npos;) page.replace(at, mark.size(), token);
    return page;
}

}  // namespace app
