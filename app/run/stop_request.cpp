#include "run/stop_request.h"

#include <csignal>

namespace app {

namespace {
volatile std::sig_atomic_t requested = 0;
using Handler = void (*)(int);
Handler previous_int = SIG_DFL, previous_term = SIG_DFL;

extern "C" void OnSignal(int signal) { requested = signal; }
}  // namespace

StopRequest::StopRequest()
{
    requested = 0;
    previous_int = std::signal(SIGINT, OnSignal);
    previous_term = std::signal(SIGTERM, OnSignal);
    // A program started to ignore them (nohup, a background job) goes on ignoring them.
    if (previous_int == SIG_IGN) std::signal(SIGINT, SIG_IGN);
    if (previous_term == SIG_IGN) std::signal(SIGTERM, SIG_IGN);
}

StopRequest::~StopRequest()
{
    std::signal(SIGINT, previous_int == SIG_ERR ? SIG_DFL : previous_int);
    std::signal(SIGTERM, previous_term == SIG_ERR ? SIG_DFL : previous_term);
}

int StopRequest::signal() const { return requested; }

std::string signal_name(int signal)
{
    if (signal == SIGINT) return "SIGINT (Ctrl+C)";
    if (signal == SIGTERM) return "SIGTERM";
    return "signal " + std::to_string(signal);
}

}  // namespace app
