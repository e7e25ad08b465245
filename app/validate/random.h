// The checks' one source of randomness, the same on every platform and
// standard library, so that a seed repeats a run anywhere.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace validate {

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    std::uint64_t bits() { return engine_(); }
    // 0 to n - 1; n must be above 0.
    std::uint64_t below(std::uint64_t n) { return engine_() % n; }
    bool chance(double p) { return unit() < p; }
    double unit() { return double(engine_() >> 11) * (1.0 / 9007199254740992.0); }
    double between(double lo, double hi) { return lo + (hi - lo) * unit(); }
    template <typename T>
    const T& pick(const std::vector<T>& from) { return from[below(from.size())]; }

private:
    std::mt19937_64 engine_;
};

}  // namespace validate
