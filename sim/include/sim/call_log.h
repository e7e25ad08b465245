// The order of the calls a module made into the host, for tests and tools.
#pragma once

#include <string>
#include <vector>

namespace sim {

struct VesselRecord;

struct HostCall {
    std::string name;
    const VesselRecord* vessel = nullptr;  // null for calls not made on a vessel
    std::vector<double> numbers;           // numeric arguments, in order
    std::string text;                      // the text argument, if any
};

class CallLog {
public:
    void add(HostCall call) { calls_.push_back(std::move(call)); }
    void clear() { calls_.clear(); }
    const std::vector<HostCall>& calls() const { return calls_; }
    // The calls of that name, in order.
    std::vector<HostCall> named(const std::string& name) const;
    std::vector<std::string> names() const;
    size_t count(const std::string& name) const { return named(name).size(); }

private:
    std::vector<HostCall> calls_;
};

// Adds a call to the current host's log; no call is kept while no host runs.
void log_call(const VesselRecord* vessel, const char* name, std::vector<double> numbers = {}, std::string text = {});

}  // namespace sim
