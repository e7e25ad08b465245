// A progress bar on standard error, drawn only when that is a terminal.
#pragma once

#include <string>

namespace app {

class Progress {
public:
    Progress(bool wanted, double total_seconds);
    void update(double t);
    void finish();
    // Ends the bar where the run stopped early, saying why.
    void stop(double t, const std::string& why);

private:
    bool on_;
    double total_;
    int shown_ = -1;
};

}  // namespace app
