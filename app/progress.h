// A progress bar on standard error, drawn only when that is a terminal.
#pragma once

namespace app {

class Progress {
public:
    Progress(bool wanted, double total_seconds);
    void update(double t);
    void finish();

private:
    bool on_;
    double total_;
    int shown_ = -1;
};

}  // namespace app
