#include "faults/module_faults.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>

#include "record/vessel_record.h"

namespace sim {

namespace {
// Faults met while no host ran (a module calling from its own thread or
// after the host ended). They belong to no host: a host made later did not
// see them happen, and reporting them there would blame its run for them.
// The embedding program asks for them; a few are kept, the rest counted.
constexpr std::size_t kHostlessKept = 64;

struct HostlessFaults {
    std::vector<ModuleFault> kept;
    std::size_t lost = 0;
};

HostlessFaults& Hostless()
{
    static HostlessFaults faults;
    return faults;
}

std::string Lines(const std::vector<ModuleFault>& faults, std::size_t lost)
{
    std::string out;
    for (const ModuleFault& f : faults) out += (out.empty() ? "module fault: " : "\nmodule fault: ") + f.text();
    if (lost) out += (out.empty() ? "" : "\n") + std::to_string(lost) + " more module faults, not kept for want of memory";
    return out;
}
}  // namespace

std::string ModuleFault::text() const
{
    std::string out = call + "(" + arguments + ")";
    if (!craft.empty()) out += " on " + craft;
    return out + ": " + reason;
}

ModuleFaultError::ModuleFaultError(std::vector<ModuleFault> faults_, std::size_t lost)
    : std::runtime_error(Lines(faults_, lost)), faults(std::move(faults_))
{
}

void ModuleFaults::record(ModuleFault fault) noexcept
{
    try {
        pending_.push_back(std::move(fault));
    } catch (...) {
        ++lost_;
    }
}

void ModuleFaults::warn(ModuleFault fault) noexcept
{
    if (warnings_.size() >= kept_warnings) return;
    try {
        warnings_.push_back(std::move(fault));
    } catch (...) {
        // A warning that cannot be kept for want of memory is only a warning.
    }
}

std::vector<ModuleFault> ModuleFaults::take()
{
    lost_ = 0;
    return std::exchange(pending_, {});
}

void ModuleFaults::report()
{
    if (inside_module() || (pending_.empty() && lost_ == 0)) return;
    const std::size_t lost = lost_;
    throw ModuleFaultError(take(), lost);
}

void ModuleFaults::record_escape(const char* callback, const VesselRecord* craft) noexcept
{
    try {
        std::string what;
        try {
            throw;
        } catch (const std::exception& e) {
            what = std::string("threw an exception: ") + e.what();
        } catch (...) {
            what = "threw an exception that is not a std::exception";
        }
        record({callback, "", craft ? craft->name : "", what});
    } catch (...) {
        ++lost_;
    }
}

namespace {
ModuleActivity activity;
}  // namespace

const ModuleActivity& module_activity() noexcept { return activity; }
ModuleActivity& module_activity_record() noexcept { return activity; }

ModuleFaults::CallbackOf::CallbackOf(ModuleFaults& faults, const char* callback, const VesselRecord* craft) noexcept
    : faults_(faults), outer_(faults.callback_craft_), outer_activity_(activity)
{
    faults_.callback_craft_ = craft;
    activity.callback = callback;
    activity.host_call = nullptr;
    const std::size_t n = craft ? std::min(craft->name.size(), sizeof activity.craft - 1) : 0;
    if (n) std::memcpy(activity.craft, craft->name.data(), n);
    activity.craft[n] = '\0';
}

ModuleFaults::CallbackOf::~CallbackOf()
{
    faults_.callback_craft_ = outer_;
    activity = outer_activity_;
}

void record_module_fault(ModuleFaults* faults, ModuleFault fault) noexcept
{
    if (faults) return faults->record(std::move(fault));
    HostlessFaults& hostless = Hostless();
    try {
        if (hostless.kept.size() >= kHostlessKept) throw std::length_error("enough kept");
        hostless.kept.push_back(std::move(fault));
    } catch (...) {
        ++hostless.lost;
    }
}

std::vector<ModuleFault> take_hostless_faults(std::size_t* lost) noexcept
{
    HostlessFaults& hostless = Hostless();
    if (lost) *lost = hostless.lost;
    hostless.lost = 0;
    return std::exchange(hostless.kept, {});
}

}  // namespace sim
