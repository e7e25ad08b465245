// A vessel module loaded with the platform loader, as a host loads it.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "host/vessel.h"

namespace sim {

struct LoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// `path` as the loader must be given it to open that file and no other: a
// bare file name ("Tank.so") gets the current folder in front, so that it is
// never looked up on the library search path.
std::string explicit_path(const std::string& path);

class Module {
public:
    // Loads the library at `path` (always a path, see explicit_path) and finds its exports; throws LoadError with the
    // loader's message when one of the three it needs is missing. Does not
    // call InitModule: the host does.
    explicit Module(const std::string& path);
    // Unloads the library; every vessel it created must be gone by then.
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // The file loaded, as explicit_path gives it.
    const std::string& path() const { return path_; }
    // The class the module defines: its file name without folder and suffix.
    std::string class_name() const;
    // The library's own instance handle: its load address.
    HINSTANCE instance() const { return instance_; }
    // Any export by name, or null.
    void* symbol(const char* name) const;

private:
    // Module code is called through the Host alone, which keeps its faults
    // from unwinding into the program: only the library reaches these
    // (loading/module_entry_points.h).
    friend struct ModuleEntryPoints;
    void (*init_module_)(HINSTANCE) = nullptr;
    VESSEL* (*ovc_init_)(OBJHANDLE, int) = nullptr;
    void (*ovc_exit_)(VESSEL*) = nullptr;
    const char* (*module_date_)() = nullptr;  // null when not exported
    int (*module_version_)() = nullptr;       // null when not exported

    // The platform's loader (module_posix.cpp, module_windows.cpp).
    static void* open_library(const std::string& path);  // throws LoadError
    static void close_library(void* library);
    HINSTANCE find_instance() const;  // throws LoadError

    std::string path_;
    void* library_ = nullptr;  // the loader's handle; released in the destructor
    HINSTANCE instance_ = nullptr;
};

}  // namespace sim
