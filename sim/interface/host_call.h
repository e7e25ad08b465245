// One call a module makes into the host, as the host's side of the
// interface serves it: numbers and handles are copied, texts and vectors
// stay where the module put them, and all are turned into text or log
// entries only when the call is logged or at fault.
// Every host function runs its body through Serve or OnCraft, so nothing
// it throws reaches the module.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <type_traits>

#include "host/host_types.h"
#include "core/host_access.h"

namespace sim {

// A number, a text, a handle or a vector, held by value or by the module's address.
struct CallArg {
    enum class Kind { number, text, handle, vector };
    CallArg(double v) : kind(Kind::number), number(v) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T>, int> = 0>
    CallArg(T v) : kind(Kind::number), number(static_cast<double>(v))
    {
    }
    CallArg(const char* t) : kind(Kind::text), text(t) {}
    CallArg(const void* h) : kind(Kind::handle), handle(h) {}
    CallArg(const VECTOR3& v) : kind(Kind::vector), vector(&v) {}
    CallArg(const VECTOR3* v) : kind(Kind::vector), vector(v) {}
    CallArg() = default;  // unset: only for the spare places of a Call

    Kind kind;
    union {  // the member that `kind` names
        double number;
        const char* text;
        const void* handle;
        const VECTOR3* vector;
    };
};

// The running host's faults, or null.
inline ModuleFaults* CurrentFaults() noexcept { return host_access::module_faults(); }

// What a call costs when it goes well is inline: every host function makes one.
class Call {
public:
    Call(const char* name, const VesselRecord* craft, std::initializer_list<CallArg> args) noexcept
        : name_(name), craft_(craft), inside_(CurrentFaults()), outer_call_(module_activity_record().host_call)
    {
        module_activity_record().host_call = name;
        arg_count_ = std::min(args.size(), max_args);
        std::copy_n(args.begin(), arg_count_, args_.begin());
        if (ModuleFaults* f = CurrentFaults(); f && f->unloading()) warn("called while the module's library unloads");
    }
    ~Call() { module_activity_record().host_call = outer_call_; }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    // Adds the call to the host's call log, unless the log is off.
    void log() const noexcept
    {
        if (Host* h = Host::current_or_null(); h && h->log().enabled()) add_to_log(*h);
    }
    // Records the call as a module fault for `reason`.
    void fault(const char* reason) const noexcept;
    // Whether every number the call was given, alone or in a vector, is
    // finite; records the fault naming the first that is not, if any. No
    // host call has a use for an infinity or a NaN: the state it went into
    // would poison every step after.
    bool numbers_finite() const noexcept;
    // Notes the call as suspicious for `reason`, though the host serves it.
    void warn(const char* reason) const noexcept;
    // From a catch block: the host itself failed to serve the call.
    void host_failed() const noexcept;
    // The running host; without one, records a fault and gives null.
    Host* host() const noexcept
    {
        Host* h = Host::current_or_null();
        if (!h) fault("no host is running");
        return h;
    }

private:
    void add_to_log(Host& host) const noexcept;
    struct ArgRange {
        const CallArg* first;
        const CallArg* last;
        const CallArg* begin() const { return first; }
        const CallArg* end() const { return last; }
    };
    ArgRange Args() const { return {args_.data(), args_.data() + arg_count_}; }
    std::string arguments() const;

    const char* name_;
    const VesselRecord* craft_;
    // A copy: a braced list's array ends with the statement that made this call.
    static constexpr std::size_t max_args = 8;
    // Unset past arg_count_, so that a call, made at every host function, costs little.
    std::array<CallArg, max_args> args_;
    std::size_t arg_count_ = 0;
    ModuleFaults::InsideModule inside_;
    const char* outer_call_;  // the host call this one is made within, if any
};

// The live record of the craft `vessel` belongs to, or null.
VesselRecord* live_craft(const VESSEL* vessel) noexcept;

// Runs a free host function's body; what it throws becomes a fault and the
// answer is `fallback`.
template <class R, class Body>
R Serve(const char* name, std::initializer_list<CallArg> args, R fallback, Body&& body) noexcept
{
    const Call call(name, nullptr, args);
    call.log();
    if (!call.numbers_finite()) return fallback;
    try {
        return body(call);
    } catch (...) {
        call.host_failed();
    }
    return fallback;
}

template <class Body>
void Serve(const char* name, std::initializer_list<CallArg> args, Body&& body) noexcept
{
    Serve(name, args, 0, [&](const Call& call) {
        body(call);
        return 0;
    });
}

// As Serve, for a VESSEL method: the body gets the craft's record; a VESSEL
// whose handle is not a live craft of the host is a fault. With
// `check_numbers` false the body checks them itself (Call::numbers_finite),
// for a call that must take something over whatever its numbers are.
template <bool check_numbers = true, class R, class Body>
R OnCraft(const VESSEL* vessel, const char* name, std::initializer_list<CallArg> args, R fallback, Body&& body) noexcept
{
    VesselRecord* r = live_craft(vessel);
    const Call call(name, r, args);
    call.log();
    if (!r) {
        call.fault("the vessel's handle is not a craft of the host");
        return fallback;
    }
    if (check_numbers && !call.numbers_finite()) return fallback;
    try {
        return body(*r, call);
    } catch (...) {
        call.host_failed();
    }
    return fallback;
}

template <class Body>
void OnCraft(const VESSEL* vessel, const char* name, std::initializer_list<CallArg> args, Body&& body) noexcept
{
    OnCraft(vessel, name, args, 0, [&](VesselRecord& r, const Call& call) {
        body(r, call);
        return 0;
    });
}

}  // namespace sim
