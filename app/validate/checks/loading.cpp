// Checks of a module's exports and of loading and unloading it.
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "checks.h"
#include "driver.h"
#include "guard.h"
#include "process/heap.h"
#include "telemetry.h"

namespace validate {

namespace {
// What a module may call before any craft exists: nothing that needs one.
// Looking for its dialog needs none; opening one does.
bool CallableAtLoad(const std::string& name)
{
    return name == "InitLib" || name == "Date2Int" || name == "oapiGetSimStep" || name == "oapiFindDialog";
}

bool Printable(const char* text)
{
    size_t n = 0;
    for (; text[n] && n < 256; ++n)
        if (!std::isprint(static_cast<unsigned char>(text[n]))) return false;
    return n > 0 && n < 256;
}

bool StillMapped(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle) return false;
    dlclose(handle);
    return true;
}

// Destroys the module's craft, then closes any dialog of its left open, so
// that no procedure of the module is called once it is gone; `f`, when
// given, counts such a dialog as a failure.
void DestroyCraft(sim::Host& host, sim::Module& module, Findings* f, const std::string& when)
{
    const std::vector<sim::Craft> all = host.all_craft();
    for (auto r = all.rbegin(); r != all.rend(); ++r)
        if (host.holds(*r) && &r->module() == &module) host.destroy_craft(*r);
    for (HWND hwnd : dialog_windows(host, module)) {
        if (f)
            f->fail(when + ": a dialog of the module (resource " + std::to_string(host.dialogs().dialog(hwnd)->resid) +
                    ") is open with no craft of it left; once the module is unloaded it would run code that is gone");
        host.dialogs().close(hwnd);
    }
}
}  // namespace

void check_exports(const CheckContext& ctx, Findings& f)
{
    sim::Host host(sim::CallLogging::on);
    require_call_log(host);
    sim::Module* module = nullptr;
    if (!attempt(f, "loading", [&] { module = &host.load_module(ctx.module); })) return;
    for (const sim::HostCall& c : host.log().calls())
        if (!CallableAtLoad(c.name)) f.fail("while loading, the module called " + c.name + ", which needs a craft");
    if (!dialog_windows(host, *module).empty()) f.fail("a dialog opened while the module loaded");

    std::optional<std::string> date;
    if (!attempt(f, "ModuleDate", [&] { date = host.module_date(*module); })) return;
    if (!date) {
        f.note("no ModuleDate export");
    } else if (!Printable(date->c_str())) {
        f.fail("ModuleDate answered no printable text of 1 to 255 characters");
    } else {
        std::optional<std::string> again;
        if (!attempt(f, "ModuleDate", [&] { again = host.module_date(*module); })) return;
        if (again != date) f.fail("ModuleDate answers differently when asked again");
        else f.note("ModuleDate: " + *date);
    }
    std::optional<int> version, again;
    if (!attempt(f, "GetModuleVersion", [&] {
            version = host.module_version(*module);
            again = host.module_version(*module);
        }))
        return;
    if (!version) f.note("no GetModuleVersion export");
    else if (again != version) f.fail("GetModuleVersion answers differently when asked again");
    else f.note("GetModuleVersion: " + std::to_string(*version));
}

void check_unload_cycles(const CheckContext& ctx, Findings& f)
{
    sim::Host host(sim::CallLogging::on);
    require_call_log(host);
    const int cycles = 2 + 2 * ctx.level;
    for (int cycle = 1; cycle <= cycles && f.passed(); ++cycle) {
        const std::string when = "cycle " + std::to_string(cycle);
        sim::Module* module = nullptr;
        if (!attempt(f, when + ": loading", [&] { module = &host.load_module(ctx.module); })) return;
        attempt(f, when + ": flying craft", [&] {
            for (int i = 0; i <= cycle % 3; ++i) host.create_craft(*module, "Cycle-" + std::to_string(i));
            for (int i = 0; i < 3; ++i) host.step(0.1);
        });
        DestroyCraft(host, *module, &f, when);
        attempt(f, when + ": unloading", [&] { host.unload_module(*module); });
        const size_t calls = host.log().calls().size();
        attempt(f, when + ": stepping after the unload", [&] { host.step(0.1); });
        for (size_t i = calls; i < host.log().calls().size(); ++i)
            f.fail(when + ": " + host.log().calls()[i].name + " was called after the module was unloaded");
        if (StillMapped(ctx.module))
            f.fail(when + ": the library stays mapped after unloading, so its state would outlive it "
                          "(unique symbols or a running thread keep it)");
    }
    if (f.passed()) f.note(std::to_string(cycles) + " cycles");
}

void check_unload_memory(const CheckContext& ctx, Findings& f)
{
    // The first cycles fill caches that stay (the loader's, the host's), so
    // growth counts from the third on.
    const int warmup = 2, cycles = warmup + 2 + 2 * ctx.level;
    std::vector<size_t> in_use;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        {
            sim::Host host;
            sim::Module* module = nullptr;
            if (!attempt(f, "loading", [&] { module = &host.load_module(ctx.module); })) return;
            Random random(ctx.seed);
            ModuleProbe probe;
            const bool flown = attempt(f, "cycle " + std::to_string(cycle), [&] {
                probe = probe_module(host, *module);
                Driver driver(host, *module, probe, random);
                for (int i = 0; i < 3; ++i) driver.add_craft();
                for (int i = 0; i < 50; ++i) driver.random_action();
            });
            if (!flown) return;
            DestroyCraft(host, *module, nullptr, "");
        }
        in_use.push_back(heap_in_use());
    }
    const long long growth = static_cast<long long>(in_use.back()) - static_cast<long long>(in_use[warmup]);
    const long long per_cycle = growth / (cycles - warmup - 1);
    if (leaks_found()) f.fail("the leak sanitizer found blocks that nothing points to any more (see its report)");
    if (per_cycle > static_cast<long long>(heap_slack_per_cycle()))
        f.fail("the heap grew by " + std::to_string(growth) + " bytes over " + std::to_string(cycles - warmup - 1) +
               " load, fly and unload cycles (" + std::to_string(per_cycle) + " per cycle)");
    else
        f.note("heap growth over " + std::to_string(cycles - warmup - 1) + " cycles: " + std::to_string(growth) +
               " bytes");
}

}  // namespace validate
