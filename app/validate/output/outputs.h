// The files the validator writes: its reports, and beside the first the
// input a failed check met. All are named and checked before the first
// check runs, and written together at the end.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "options.h"
#include "process/runner.h"

namespace validate {

// The seed of run `run` (0 for the first) of the whole table.
std::uint64_t run_seed(const Options& options, int run);

// Where the input a failed check met is kept: beside the first report
// named; empty when no report is named.
std::string input_file(const Options& options, const std::string& check, std::uint64_t seed);

// Throws UsageError when an output would write the module, its resources
// or another output, and sim::WriteError when one cannot be created there
// (a missing folder, a name too long).
void check_outputs(const Options& options);

// Writes the reports and the inputs of the failed checks whole, each to a
// temporary first, and puts them in place only once all are written.
// Returns the input files written, by outcome index; throws sim::WriteError.
std::map<size_t, std::string> write_outputs(const Options& options, const std::vector<Outcome>& outcomes);

}  // namespace validate
