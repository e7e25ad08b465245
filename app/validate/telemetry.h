// The host's view of a module's craft, as text lines a run can be compared by:
// the telemetry both programs take (telemetry/sample.h) with every number
// written exactly, and the calls the module made.
#pragma once

#include <string>
#include <vector>

#include "sim/host.h"
#include "util/text_lines.h"

namespace validate {

// The checks that compare calls need the host's call log: throws
// std::logic_error when the host keeps none, rather than let them compare
// nothing. Leaves the log empty.
void require_call_log(sim::Host& host);

// With `as_shown`, animation states past either end count as that end,
// which is what they show.
void add_snapshot(sim::Host& host, std::vector<std::string>& out, bool as_shown = false);
// The host's call log from entry `from` on, craft named rather than addressed;
// calls that carry addresses (the module's load address) keep only their name.
// A craft gone by now is named "gone": take the calls after every action, so
// that an address cannot pass to a new craft in between. Returns the next entry.
size_t add_calls(sim::Host& host, size_t from, std::vector<std::string>& out);

// The lines of a text, without their line breaks: the checks' name for
// the host library's line splitting.
inline std::vector<std::string> lines_of(const std::string& text) { return sim::split_lines(text); }

// "" when equal, else where they first part.
std::string first_difference(const std::vector<std::string>& a, const std::vector<std::string>& b);

}  // namespace validate
