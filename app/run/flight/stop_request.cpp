#include "flight/stop_request.h"

#include <csignal>
#include <cstddef>

#include "sim/temporaries.h"
#include "util/atomic_file.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <signal.h>
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
    sim::remove_host_temporaries();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnFatalSignal(int signal) { EndAtOnce(signal); }

#if !defined(_WIN32)
// The faults a module's code can cause. Their handler runs on a stack of its
// own, so that a module that overflowed the stack still leaves no temporary.
const int faults[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
struct sigaction before_fault[NSIG];

extern "C" void OnFault(int signal, siginfo_t* info, void*)
{
    sim::remove_temporaries_now();
    sim::remove_host_temporaries();
    // What came before (the default's end, or a sanitizer's report) takes
    // the fault from here: a faulting instruction meets it again on return,
    // a signal sent or raised is raised again.
    sigaction(signal, &before_fault[signal], nullptr);
    if (info->si_code <= 0) std::raise(signal);
}

void HandleFaults()
{
    // A sanitizer may have given the thread a stack for its handlers already.
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        static char fault_stack[1 << 16];
        stack_t own{};
        own.ss_sp = fault_stack;
        own.ss_size = sizeof fault_stack;
        sigaltstack(&own, nullptr);
    }
    for (int s : faults) {
        struct sigaction action {};
        action.sa_sigaction = OnFault;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(s, &action, &before_fault[s]);
    }
}
#endif

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
    const int ending[] = {SIGINT, SIGTERM, SIGABRT, SIGSEGV, SIGFPE, SIGILL};
#else
    // A file-size limit is a write error the host reports, not an end.
    std::signal(SIGXFSZ, SIG_IGN);
    const int ending[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGABRT, SIGPIPE,
                          SIGALRM, SIGXCPU, SIGUSR1, SIGUSR2, SIGSYS,  SIGTRAP};
    HandleFaults();
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
