#include "run/stop_request.h"

#include <csignal>
#include <cstddef>

#include "sim/atomic_file.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace app {

namespace {
volatile std::sig_atomic_t requested = 0;
using Handler = void (*)(int);
Handler previous_int = SIG_DFL, previous_term = SIG_DFL;

// To standard error with one write, which is safe inside a signal handler;
// a note that cannot be written is of no use to retry.
template <std::size_t N>
void Note(const char (&text)[N])
{
#if defined(_WIN32)
    if (_write(2, text, N - 1) < 0) return;
#else
    if (write(2, text, N - 1) < 0) return;
#endif
}

// Ends the program as `signal` would have, leaving no temporary behind.
void EndAtOnce(int signal)
{
    sim::remove_temporaries_now();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnFatalSignal(int signal) { EndAtOnce(signal); }

extern "C" void OnSignal(int signal)
{
    if (requested) {
        // Asked twice: the step under way is not waited for any longer (a
        // module's callback may never return).
        EndAtOnce(signal);
        return;
    }
    requested = signal;
    Note("simhost-run: stopping after the step under way; once more to stop at once, saving nothing\n");
}
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

void end_signals_remove_temporaries()
{
#if defined(_WIN32)
    const int ending[] = {SIGINT, SIGTERM, SIGABRT};
#else
    // A file-size limit is a write error the host reports, not an end.
    std::signal(SIGXFSZ, SIG_IGN);
    const int ending[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGPIPE, SIGALRM, SIGXCPU, SIGUSR1, SIGUSR2};
#endif
    for (int s : ending)
        if (std::signal(s, OnFatalSignal) == SIG_IGN) std::signal(s, SIG_IGN);
}

std::string signal_name(int signal)
{
    if (signal == SIGINT) return "SIGINT (Ctrl+C)";
    if (signal == SIGTERM) return "SIGTERM";
    return "signal " + std::to_string(signal);
}

}  // namespace app
