// Faults of a module, as the host meets them at its boundary: a call into
// the host that it could not honour (no host running, a null text, a handle
// it never gave, an unknown animation or thruster), or an exception escaping
// one of the module's own callbacks. Neither may unwind through the other
// side's frames, so the host notes the fault, answers harmlessly, and reports
// it once control is back in the host's own code.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct ModuleFault {
    std::string call;       // the host function or the callback, e.g. "SetAnimation", "clbkPreStep"
    std::string arguments;  // as the module passed them, e.g. "7, 0.5"
    std::string craft;      // the craft's name; empty when the call names none
    std::string reason;     // e.g. "no animation has this id"
    // "SetAnimation(7, 0.5) on Mervex-1: no animation has this id"
    std::string text() const;
};

// What the host throws after a callback it drove left faults behind; what()
// names each one, a line each.
struct ModuleFaultError : std::runtime_error {
    explicit ModuleFaultError(std::vector<ModuleFault> faults, std::size_t lost = 0);
    std::vector<ModuleFault> faults;
};

// The faults recorded while no host ran, which are then cleared; the first
// 64 are kept, and `lost`, when given, is set to how many more there were.
std::vector<ModuleFault> take_hostless_faults(std::size_t* lost = nullptr) noexcept;

}  // namespace sim
