#include "flight/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "util/text_lines.h"

namespace app {

Progress::Progress(bool wanted, double total_seconds) : on_(wanted && isatty(STDERR_FILENO)), total_(total_seconds) {}

void Progress::update(double t)
{
    if (!on_) return;
    const double f = total_ > 0 ? std::clamp(t / total_, 0.0, 1.0) : 1.0;
    const int permille = static_cast<int>(f * 1000);
    if (permille == shown_) return;
    shown_ = permille;
    const int width = 30, filled = static_cast<int>(f * width);
    std::fprintf(stderr, "\r[%s%s] %5.1f%%  t = %.1f of %.1f s", std::string(filled, '#').c_str(),
                 std::string(width - filled, '.').c_str(), f * 100, t, total_);
    std::fflush(stderr);
}

void Progress::stop(double t, const std::string& why)
{
    if (!on_) return;
    shown_ = -1;
    update(t);
    std::fprintf(stderr, "  stopped: %s\n", sim::terminal_text(why).c_str());
    on_ = false;
}

void Progress::finish()
{
    if (!on_) return;
    update(total_);
    std::fputc('\n', stderr);
    on_ = false;
}

}  // namespace app
