#include "sim/call_log.h"

namespace sim {

std::vector<HostCall> CallLog::named(const std::string& name) const
{
    std::vector<HostCall> out;
    for (const HostCall& c : calls_)
        if (c.name == name) out.push_back(c);
    return out;
}

std::vector<std::string> CallLog::names() const
{
    std::vector<std::string> out;
    out.reserve(calls_.size());
    for (const HostCall& c : calls_) out.push_back(c.name);
    return out;
}

}  // namespace sim
