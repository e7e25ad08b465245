#include "pictures/telemetry_plot.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {
constexpr double rad_to_deg = 57.29577951308232;
}

double quantity_value(const CraftSample& c, Quantity q)
{
    switch (q) {
    case Quantity::animation: return c.first_animation();
    case Quantity::propellant: return c.propellant;
    case Quantity::speed: return c.speed;
    case Quantity::rate_x: return c.body.omega.x * rad_to_deg;
    case Quantity::rate_y: return c.body.omega.y * rad_to_deg;
    case Quantity::rate_z: return c.body.omega.z * rad_to_deg;
    }
    return NAN;
}

void TelemetryPlot::add(const Sample& s)
{
    if (!started_) {
        for (const CraftSample& c : s.craft) names_.push_back(c.name);
        if (!banded())
            for (auto& lines : lines_) lines.resize(names_.size());
        first_t_ = s.t;
        started_ = true;
    }
    last_t_ = s.t;
    const size_t n = std::min(s.craft.size(), names_.size());
    for (int qi = 0; qi < quantity_count; ++qi) {
        const Quantity q = static_cast<Quantity>(qi);
        if (!banded()) {
            for (size_t i = 0; i < n; ++i) {
                const double v = quantity_value(s.craft[i], q);
                if (std::isfinite(v)) lines_[qi][i].push_back({s.t, v});
            }
            continue;
        }
        scratch_.clear();
        for (size_t i = 0; i < n; ++i) {
            const double v = quantity_value(s.craft[i], q);
            if (std::isfinite(v)) scratch_.push_back(v);
        }
        if (scratch_.empty()) continue;
        const auto mid = scratch_.begin() + long(scratch_.size() / 2);
        std::nth_element(scratch_.begin(), mid, scratch_.end());
        const auto [lo, hi] = std::minmax_element(scratch_.begin(), scratch_.end());
        bands_[qi].low.push_back({s.t, *lo});
        bands_[qi].median.push_back({s.t, *mid});
        bands_[qi].high.push_back({s.t, *hi});
    }
}

}  // namespace app
