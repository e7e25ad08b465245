// Reading a command line the way both stand-in host programs take it: an
// option's value follows it as the next argument or as "--name=value".
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace app {

// A command line that cannot be followed; what() is one line.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Steps through the arguments; the caller matches name() against its options.
// Borrows `args`, which must outlive the reader.
class CommandLine {
public:
    explicit CommandLine(const std::vector<std::string>& args) : args_(args) {}

    // Moves to the next argument; false once all are read.
    bool next()
    {
        if (++i_ >= args_.size()) return false;
        name_ = args_[i_];
        value_.clear();
        inline_value_ = false;
        const size_t eq = name_.find('=');
        if (name_.rfind("--", 0) == 0 && eq != std::string::npos) {
            value_ = name_.substr(eq + 1);
            name_.resize(eq);
            inline_value_ = true;
        }
        return true;
    }

    // The option's name without any "=value", or a plain argument as given.
    const std::string& name() const { return name_; }

    // The value of the current option; consumes the next argument unless
    // "=value" gave it.
    std::string value()
    {
        if (inline_value_) return value_;
        if (i_ + 1 >= args_.size()) throw UsageError(name_ + " needs a value (see --help)");
        return args_[++i_];
    }

    // For an option that takes no value.
    void no_value() const
    {
        if (inline_value_) throw UsageError(name_ + " takes no value");
    }

private:
    const std::vector<std::string>& args_;
    size_t i_ = static_cast<size_t>(-1);
    std::string name_, value_;
    bool inline_value_ = false;
};

}  // namespace app
