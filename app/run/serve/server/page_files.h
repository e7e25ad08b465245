// The files of the live page, read once from the folder they were installed
// in. A request names one of a fixed list of names, never a path: nothing
// else on the disk can be asked for.
#pragma once

#include <map>
#include <string>

namespace app {

struct PageFile {
    std::string type;  // Content-Type
    std::string body;
};

class PageFiles {
public:
    // Reads every file of the list from `folder`; throws std::runtime_error
    // naming the first that is missing.
    explicit PageFiles(const std::string& folder);
    // The file a request path names ("/", "/live.js"), or null. The page
    // itself comes with `token` written into its module map.
    const PageFile* find(const std::string& path) const;
    std::string index(const std::string& token) const;

private:
    std::map<std::string, PageFile> files_;
};

}  // namespace app
