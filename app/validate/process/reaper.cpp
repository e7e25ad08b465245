#include "process/reaper.h"

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace validate {

namespace {
struct Child {
    pid_t pid;
    std::string name;
    bool running;  // not a process that has ended and waits to be collected
};

// The processes whose parent is this one, with their command names, read
// from /proc/PID/stat ("pid (comm) state ppid ..."; comm may hold spaces
// and parentheses, so the fields after it are found from the last ')').
std::vector<Child> Children()
{
    std::vector<Child> found;
    const pid_t self = getpid();
    DIR* proc = opendir("/proc");
    if (!proc) return found;
    while (const dirent* e = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(e->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        std::ifstream in(std::string("/proc/") + e->d_name + "/stat");
        std::stringstream text;
        text << in.rdbuf();
        const std::string stat = text.str();
        const size_t open = stat.find('('), close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open) continue;
        std::istringstream rest(stat.substr(close + 1));
        char state = 0;
        long ppid = 0;
        if (!(rest >> state >> ppid) || ppid != self) continue;
        found.push_back({static_cast<pid_t>(pid), stat.substr(open + 1, close - open - 1), state != 'Z'});
    }
    closedir(proc);
    return found;
}
}  // namespace

void become_reaper()
{
#if defined(__linux__)
    prctl(PR_SET_CHILD_SUBREAPER, 1);
#endif
}

std::vector<std::string> end_descendants(std::chrono::steady_clock::time_point deadline)
{
    std::vector<std::string> ended;
    // Each one ended hands its own children to this process; so round after
    // round until none is left or the time is up.
    for (;;) {
        const std::vector<Child> children = Children();
        if (children.empty()) break;
        // Only a process not yet waited for can be killed by its number
        // here: the number cannot have been reused by another.
        for (const Child& c : children) {
            kill(c.pid, SIGKILL);
            if (c.running) ended.push_back("pid " + std::to_string(c.pid) + " (" + c.name + ")");
        }
        for (const Child& c : children) {
            int status = 0;
            for (;;) {
                const pid_t r = waitpid(c.pid, &status, WNOHANG);
                if (r == c.pid || (r < 0 && errno != EINTR)) break;
                if (std::chrono::steady_clock::now() >= deadline) return ended;
                poll(nullptr, 0, 1);
            }
        }
    }
    return ended;
}

}  // namespace validate
