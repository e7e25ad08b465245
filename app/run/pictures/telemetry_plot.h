// What the telemetry picture draws, gathered sample by sample during a run.
// A few craft get a line each. A larger fleet gets, per quantity and sample,
// the least, median and greatest value over its craft, so that the picture
// stays readable and the memory it needs does not grow with the fleet.
#pragma once

#include <string>
#include <vector>

#include "svg/plot.h"
#include "telemetry/sample.h"

namespace app {

// The quantities plotted, in the order the picture's panels show them.
enum class Quantity { animation, propellant, speed, rate_x, rate_y, rate_z };
constexpr int quantity_count = 6;
double quantity_value(const CraftSample& craft, Quantity q);

class TelemetryPlot {
public:
    // Up to this many craft are drawn one line each, each in its own colour.
    static constexpr size_t max_lines = 6;

    // Every sample lists the same craft in the same order (the host's).
    void add(const Sample& sample);

    size_t craft() const { return names_.size(); }
    bool banded() const { return names_.size() > max_lines; }
    double first_t() const { return first_t_; }
    double last_t() const { return last_t_; }

    // One line per craft, when not banded: lines(q)[craft].
    const std::vector<std::vector<svg::Point>>& lines(Quantity q) const { return lines_[static_cast<int>(q)]; }
    const std::vector<std::string>& names() const { return names_; }

    // Over the fleet, when banded. Non-finite values are left out.
    struct Band {
        std::vector<svg::Point> low, median, high;
    };
    const Band& band(Quantity q) const { return bands_[static_cast<int>(q)]; }

private:
    std::vector<std::string> names_;
    std::vector<std::vector<svg::Point>> lines_[quantity_count];
    Band bands_[quantity_count];
    std::vector<double> scratch_;  // one quantity of every craft at one sample
    double first_t_ = 0, last_t_ = 0;
    bool started_ = false;
};

}  // namespace app
