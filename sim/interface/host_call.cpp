#include "interface/host_call.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

#include "sim/host.h"
#include "record/vessel_record.h"

namespace sim {

namespace {
void Number(std::string& out, double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    out += buf;
}

// Quoted, with what is not printable escaped, and cut short: a module's text may be anything.
void Text(std::string& out, const char* t)
{
    if (!t) {
        out += "null";
        return;
    }
    constexpr std::size_t shown = 80;
    out += '"';
    std::size_t n = 0;
    for (; t[n] && n < shown; ++n) {
        const unsigned char c = static_cast<unsigned char>(t[n]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += t[n] ? "\"..." : "\"";
}

void Arg(std::string& out, const CallArg& a)
{
    switch (a.kind) {
    case CallArg::Kind::number: Number(out, a.number); break;
    case CallArg::Kind::text: Text(out, a.text); break;
    case CallArg::Kind::handle: {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%p", a.handle);
        out += a.handle ? buf : "null";
        break;
    }
    case CallArg::Kind::vector:
        if (!a.vector) {
            out += "null";
            break;
        }
        out += '(';
        Number(out, a.vector->x);
        out += ", ";
        Number(out, a.vector->y);
        out += ", ";
        Number(out, a.vector->z);
        out += ')';
        break;
    }
}

// Numbers in order (a vector as three, a present optional vector too),
// texts joined by '|': the form the call log has always had.
template <class Args>
HostCall Logged(const char* name, const VesselRecord* craft, const Args& args)
{
    HostCall c{name, Craft(craft), {}, {}};
    bool had_text = false;
    for (const CallArg& a : args) {
        switch (a.kind) {
        case CallArg::Kind::number: c.numbers.push_back(a.number); break;
        case CallArg::Kind::text:
            if (had_text) c.text += '|';
            c.text += a.text ? a.text : "";
            had_text = true;
            break;
        case CallArg::Kind::handle: break;
        case CallArg::Kind::vector:
            if (a.vector) c.numbers.insert(c.numbers.end(), {a.vector->x, a.vector->y, a.vector->z});
            break;
        }
    }
    return c;
}
}  // namespace

VesselRecord* live_craft(const VESSEL* vessel) noexcept
{
    const OBJHANDLE handle = vessel->GetHandle();
    // Mostly the craft whose callback is running, which needs no search.
    const ModuleFaults* faults = CurrentFaults();
    if (handle && faults && handle == faults->callback_craft()) return static_cast<VesselRecord*>(handle);
    return live_record(handle);
}

void Call::add_to_log(Host& host) const noexcept
{
    try {
        host.log().add(Logged(name_, craft_, Args()));
    } catch (...) {
        // A log that cannot grow misses a call; the call itself still goes ahead.
    }
}

std::string Call::arguments() const
{
    std::string out;
    for (const CallArg& a : Args()) {
        if (!out.empty()) out += ", ";
        Arg(out, a);
    }
    return out;
}

void Call::fault(const char* reason) const noexcept
{
    try {
        record_module_fault(CurrentFaults(), {name_, arguments(), craft_ ? craft_->name : "", reason});
    } catch (...) {
        // No memory even for the fault's text: the module goes on with the harmless answer.
    }
}

bool Call::numbers_finite() const noexcept
{
    static const char* const ordinal[max_args] = {"first", "second", "third", "fourth",
                                                  "fifth", "sixth", "seventh", "eighth"};
    for (std::size_t i = 0; i < arg_count_; ++i) {
        const CallArg& a = args_[i];
        const bool finite = a.kind == CallArg::Kind::number ? std::isfinite(a.number)
                            : a.kind == CallArg::Kind::vector && a.vector
                                ? std::isfinite(a.vector->x) && std::isfinite(a.vector->y) && std::isfinite(a.vector->z)
                                : true;
        if (finite) continue;
        char reason[64];
        std::snprintf(reason, sizeof reason, "its %s argument is not a finite number", ordinal[i]);
        fault(reason);
        return false;
    }
    return true;
}

void Call::warn(const char* reason) const noexcept
{
    try {
        if (ModuleFaults* f = CurrentFaults()) f->warn({name_, arguments(), craft_ ? craft_->name : "", reason});
    } catch (...) {
        // No memory for the warning's text: it goes unnoted.
    }
}

void Call::host_failed() const noexcept
{
    try {
        throw;
    } catch (const std::exception& e) {
        std::string why;
        try {
            why = "the host could not serve it: " + std::string(e.what());
        } catch (...) {
        }
        fault(why.empty() ? "the host could not serve it" : why.c_str());
    } catch (...) {
        fault("the host could not serve it");
    }
}

}  // namespace sim
