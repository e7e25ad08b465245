// The host's side of module faults: the list of those not yet reported, and
// the one way the host calls into module code.
#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "sim/module_activity.h"
#include "sim/module_fault.h"

namespace sim {

struct VesselRecord;

// The host's list of faults not yet reported, and the one way it calls into
// module code. Owned by the Host.
class ModuleFaults {
public:
    // Never throws; a fault that cannot be kept for want of memory is counted.
    void record(ModuleFault fault) noexcept;
    const std::vector<ModuleFault>& pending() const { return pending_; }
    // The pending faults, which are then cleared.
    std::vector<ModuleFault> take();
    // What a module did that is suspicious but may be meant (an empty
    // thruster group, reading on past a block's end, calling into the host
    // while its library unloads): noted, never thrown. Only the first
    // `kept_warnings` are kept.
    void warn(ModuleFault fault) noexcept;
    // The warnings noted so far, which are then cleared.
    std::vector<ModuleFault> take_warnings() { return std::exchange(warnings_, {}); }
    static constexpr std::size_t kept_warnings = 100;
    // Set while a module's library unloads: a call into the host then is
    // one from its static destructors.
    void set_unloading(bool unloading) noexcept { unloading_ = unloading; }
    bool unloading() const noexcept { return unloading_; }

    // Throws ModuleFaultError with the pending faults (clearing them), unless
    // a module call is in progress: nothing is thrown into a module's frames.
    void report();
    bool inside_module() const { return depth_ > 0; }

    // Held while a module's frames are on the stack: while the host calls
    // into a module or serves a call the module made. report() waits.
    class InsideModule {
    public:
        explicit InsideModule(ModuleFaults* faults) noexcept : faults_(faults)
        {
            if (faults_) ++faults_->depth_;
        }
        ~InsideModule()
        {
            if (faults_) --faults_->depth_;
        }
        InsideModule(const InsideModule&) = delete;
        InsideModule& operator=(const InsideModule&) = delete;

    private:
        ModuleFaults* faults_;
    };

    // Runs `fn`, which calls into a module; whatever it throws becomes a
    // fault of `callback` on `craft`, and the answer is then `fallback`.
    template <class R, class Fn>
    R call_module(const char* callback, const VesselRecord* craft, R fallback, Fn&& fn) noexcept
    {
        settle();
        InsideModule inside(this);
        const CallbackOf callback_of(*this, callback, craft);
        try {
            return std::forward<Fn>(fn)();
        } catch (...) {
            record_escape(callback, craft);
        }
        return fallback;
    }
    template <class Fn>
    void call_module(const char* callback, const VesselRecord* craft, Fn&& fn) noexcept
    {
        call_module(callback, craft, 0, [&] {
            std::forward<Fn>(fn)();
            return 0;
        });
    }

    // Work the host puts off until somebody needs its result. Module code may
    // change what the work reads, so owed work is done before any module code
    // runs. `work` must not throw; it is set once, by the owner.
    void set_deferred(std::function<void()> work) { deferred_ = std::move(work); }
    void owe_deferred(bool owed) noexcept { deferred_owed_ = owed; }
    // Does the owed work now, if any is owed.
    void settle() noexcept
    {
        if (!deferred_owed_) return;
        deferred_owed_ = false;
        deferred_();
    }

    // The craft whose callback runs innermost, or null (none, or one not
    // made for a craft). It lives at least until that callback returns.
    const VesselRecord* callback_craft() const { return callback_craft_; }

private:
    // Names the craft of a callback while it runs, here and in the
    // process's ModuleActivity.
    class CallbackOf {
    public:
        CallbackOf(ModuleFaults& faults, const char* callback, const VesselRecord* craft) noexcept;
        ~CallbackOf();
        CallbackOf(const CallbackOf&) = delete;
        CallbackOf& operator=(const CallbackOf&) = delete;

    private:
        ModuleFaults& faults_;
        const VesselRecord* outer_;
        ModuleActivity outer_activity_;
    };

    // Called from a catch block: names the exception in flight.
    void record_escape(const char* callback, const VesselRecord* craft) noexcept;

    std::vector<ModuleFault> pending_;
    std::vector<ModuleFault> warnings_;
    bool unloading_ = false;
    std::size_t lost_ = 0;
    int depth_ = 0;
    const VesselRecord* callback_craft_ = nullptr;
    std::function<void()> deferred_;
    bool deferred_owed_ = false;
};

// The process's ModuleActivity, to be written.
ModuleActivity& module_activity_record() noexcept;

// Records a fault with `faults`, the running host's, or, while no host runs
// (null), in a process-wide list that no host ever takes.
void record_module_fault(ModuleFaults* faults, ModuleFault fault) noexcept;

}  // namespace sim
