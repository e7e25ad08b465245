// Ctrl+C (SIGINT) and SIGTERM as a request to end a run cleanly after the
// step under way, instead of killing the program mid-write. A second one
// ends the program at once, as the signal would have without the request.
#pragma once

#include <string>

namespace app {

// Installs the handlers for its lifetime; the previous ones come back when
// it goes. One at a time.
class StopRequest {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    // The signal that asked to stop, or 0.
    int signal() const;
};

// For the whole program: a signal that ends it removes the temporaries of
// the files being written first (the second Ctrl+C among them, and a fault
// of a module's code: a bad address, a bad instruction, a division by
// zero, a stack overflow), and a
// file-size limit (SIGXFSZ) fails a write rather than ending the program.
// Signals the program was started to ignore stay ignored.
void end_signals_remove_temporaries();

// "SIGINT (Ctrl+C)", "SIGTERM".
std::string signal_name(int signal);

}  // namespace app
