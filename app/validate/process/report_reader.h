// Reads what a check's process sends through its pipe, a message a line,
// into its Outcome. The report is whole only once its end carries the seal
// the validator made for that check; what the module writes into the pipe
// is kept within a bound, and what is cut is said.
#pragma once

#include <cstddef>
#include <string>

#include "process/runner.h"

namespace validate {

// The most a check's failures, warnings and notes together keep, in bytes.
constexpr size_t report_cap = size_t(1) << 20;

class ReportReader {
public:
    ReportReader(Outcome& out, std::string seal) : out_(out), seal_(std::move(seal)) {}

    void take(const char* data, size_t size);
    // Adds to the outcome what was cut and any end that was not the check's.
    void finish();

    bool finished() const { return finished_; }
    // Bytes that came after the sealed end.
    size_t past_end() const { return past_end_; }

private:
    void Line(std::string& line);

    Outcome& out_;
    const std::string seal_;
    std::string line_;
    bool line_cut_ = false;
    bool finished_ = false;
    size_t past_end_ = 0;
    size_t kept_ = 0;
    size_t cut_bytes_ = 0, cut_messages_ = 0;
    int false_ends_ = 0;
};

}  // namespace validate
