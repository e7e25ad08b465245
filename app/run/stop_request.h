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

// "SIGINT (Ctrl+C)", "SIGTERM".
std::string signal_name(int signal);

}  // namespace app
