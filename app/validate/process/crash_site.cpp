#include "process/crash_site.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <initializer_list>

#include "sim/module_activity.h"

namespace validate {

namespace {
int site_fd = -1;
pid_t host_thread = 0;

// Only what a signal handler may do: no allocation, no locks, no stdio.
struct Line {
    char text[512];
    size_t size = 0;
    void add(const char* s)
    {
        for (; s && *s && size < sizeof text - 1; ++s) text[size++] = *s;
    }
    void add(long n)
    {
        char digits[24];
        int i = 0;
        do digits[i++] = static_cast<char>('0' + n % 10);
        while ((n /= 10) > 0 && i < 24);
        while (i > 0 && size < sizeof text - 1) text[size++] = digits[--i];
    }
};

void OnCrash(int sig)
{
    const sim::ModuleActivity& now = sim::module_activity();
    Line line;
    line.add("C");
    const long tid = syscall(SYS_gettid);
    if (tid != host_thread) {
        char name[17] = {};
        prctl(PR_GET_NAME, name);
        line.add("in thread ");
        line.add(tid);
        line.add(" (\"");
        line.add(name);
        line.add("\"), which is not the host's: a thread the module started?");
        if (now.callback) line.add(" The host meanwhile was");
    }
    if (now.host_call) {
        line.add(tid != host_thread ? " in the host call " : "in the host call ");
        line.add(now.host_call);
        line.add(" made from ");
    } else if (now.callback) {
        line.add(tid != host_thread ? " in " : "in ");
    }
    if (now.callback) {
        line.add(now.callback);
        if (now.craft[0]) {
            line.add(" of ");
            line.add(now.craft);
        }
    }
    line.add("\n");
    if (line.size > 2 && write(site_fd, line.text, line.size) < 0) {
    }
    // SA_RESETHAND put the default back: the process ends by this signal.
    raise(sig);
}
}  // namespace

void report_crash_site_to(int fd)
{
    site_fd = fd;
    host_thread = static_cast<pid_t>(syscall(SYS_gettid));
    // A stack of its own, so that running out of stack is told too.
    static char alternate[64 * 1024];
    stack_t st{};
    st.ss_sp = alternate;
    st.ss_size = sizeof alternate;
    sigaltstack(&st, nullptr);
    struct sigaction sa {};
    sa.sa_handler = OnCrash;
    sa.sa_flags = SA_RESETHAND | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(sig, &sa, nullptr);
}

}  // namespace validate
