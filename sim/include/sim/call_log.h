// The order of the calls a module made into the host, for tests and tools.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "sim/craft.h"

namespace sim {

struct HostCall {
    std::string name;
    Craft craft;                 // no craft for calls not made on one
    std::vector<double> numbers;           // numeric arguments, in order
    std::string text;                      // the text argument, if any
};

// Whether a host keeps a record of every call made into it. Only tests and
// the validator read the record; without it a step makes no records and
// allocates nothing.
enum class CallLogging { off, on };

// Keeps calls while enabled.
class CallLog {
public:
    explicit CallLog(CallLogging logging) : enabled_(logging == CallLogging::on) {}
    bool enabled() const { return enabled_; }
    void add(HostCall call) { calls_.push_back(std::move(call)); }
    void clear() { calls_.clear(); }
    const std::vector<HostCall>& calls() const { return calls_; }
    // The calls of that name, in order.
    std::vector<HostCall> named(const std::string& name) const;
    std::vector<std::string> names() const;
    size_t count(const std::string& name) const { return named(name).size(); }

private:
    std::vector<HostCall> calls_;
    bool enabled_;
};

}  // namespace sim
