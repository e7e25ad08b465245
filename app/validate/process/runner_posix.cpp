#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <random>
#include <stdexcept>

#include "process/crash_site.h"
#include "process/heap.h"
#include "process/reaper.h"
#include "process/report_reader.h"
#include "process/runner.h"

namespace validate {

namespace {
// The pipe to the parent in a check's process; -1 elsewhere.
int report_fd = -1;

// In a process in_fresh_process started: memory shared with the process
// that waits for it, where doing() keeps the last action's name.
constexpr size_t action_room = 512;
char* shared_action = nullptr;

bool WriteAll(int fd, const std::string& data)
{
    for (size_t done = 0; done < data.size();) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// One message a line: its kind, then its text with line breaks flattened.
// The detail of an action keeps its line breaks as "\n" escapes.
void Send(char kind, const std::string& text)
{
    if (report_fd < 0) return;
    std::string line(1, kind);
    line.reserve(text.size() + 2);
    for (char c : text) {
        if (kind == 'B' && (c == '\n' || c == '\\'))
            line += c == '\n' ? "\\n" : "\\\\";
        else
            line += c == '\n' ? ' ' : c;
    }
    line += '\n';
    WriteAll(report_fd, line);
}

// 128 bits from the system's randomness, in hex.
std::string NewSeal()
{
    std::random_device device;
    std::string seal;
    char hex[9];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(device()));
        seal += hex;
    }
    return seal;
}

// The check's report ends with `seal`, made by the validator for this check
// alone: an end the module writes into the pipe does not carry it.
[[noreturn]] void RunChild(const Check& check, const CheckContext& context, int fd, const std::string& seal)
{
    setpgid(0, 0);
#if defined(__linux__)
    // Ended with the validator, whatever ends it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    report_fd = fd;
    report_crash_site_to(fd);
    Findings findings;
    run_here(check, context, findings);
    for (const std::string& s : findings.failures) Send('F', s);
    for (const std::string& s : findings.warnings) Send('W', s);
    for (const std::string& s : findings.notes) Send('N', s);
    Send('D', seal);
    // No exit handlers: they belong to the parent.
    _exit(0);
}

using Clock = std::chrono::steady_clock;

int MsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// Waits for `pid` until `deadline`; true with its status when it ended.
bool WaitUntil(pid_t pid, int& status, Clock::time_point deadline)
{
    for (;;) {
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return true;
        if (r < 0 && errno != EINTR) return true;
        if (Clock::now() >= deadline) return false;
        poll(nullptr, 0, 2);
    }
}

std::string HowItEnded(int status)
{
    if (WIFSIGNALED(status)) return std::string("crashed (") + strsignal(WTERMSIG(status)) + ")";
    return "ended the process (status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
}
}  // namespace

// An action named again as it was keeps its detail; a trial holds until the next.
void doing(const std::string& what, const std::string& detail, int trial)
{
    if (shared_action) {
        const size_t n = std::min(what.size(), action_room - 1);
        std::memcpy(shared_action, what.data(), n);
        shared_action[n] = '\0';
    }
    Send('A', what);
    if (trial) Send('T', std::to_string(trial));
    if (!detail.empty()) Send('B', detail);
}

void run_here(const Check& check, const CheckContext& context, Findings& findings)
{
    try {
        check.run(context, findings);
    } catch (const std::exception& e) {
        findings.fail(std::string("stopped: ") + e.what());
    } catch (...) {
        findings.fail("stopped by an exception that is no std::exception");
    }
}

Outcome run_isolated(const Check& check, const CheckContext& context, double timeout_seconds)
{
    Outcome out;
    out.check = &check;
    out.seed = context.seed;
    const auto start = Clock::now();
    const auto deadline =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeout_seconds));
    int fds[2];
    if (pipe(fds) != 0) {
        out.failures.push_back(std::string("cannot make a pipe: ") + std::strerror(errno));
        return out;
    }
    const std::string seal = NewSeal();
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        out.failures.push_back(std::string("cannot start a process: ") + std::strerror(errno));
        return out;
    }
    if (pid == 0) {
        close(fds[0]);
        RunChild(check, context, fds[1], seal);
    }
    setpgid(pid, pid);  // as the child does itself, so that neither waits for the other
    close(fds[1]);

    // Read until the report's end, not the pipe's: a helper the module
    // started may hold the pipe open for as long as it likes.
    ReportReader report(out, seal);
    bool timed_out = false, reaped = false;
    int status = 0;
    char buf[65536];
    while (!report.finished()) {
        pollfd p{fds[0], POLLIN, 0};
        const int ready = poll(&p, 1, std::min(MsUntil(deadline), 100));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            // The process may have ended while a helper holds the pipe open.
            if (Clock::now() >= deadline)
                timed_out = true;
            else if (waitpid(pid, &status, WNOHANG) == pid)
                reaped = true;
            else
                continue;
            break;
        }
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        report.take(buf, static_cast<size_t>(n));
    }

    // Once the report is whole the process has only to end, and soon.
    const auto end_by = report.finished() ? std::min(deadline, Clock::now() + std::chrono::seconds(2)) : deadline;
    const bool ended = reaped || (!timed_out && WaitUntil(pid, status, end_by));
    if (!ended) {
        kill(pid, SIGKILL);  // wherever it moved
        kill(-pid, SIGKILL);
        WaitUntil(pid, status, Clock::now() + std::chrono::seconds(5));
    }
    // What it wrote before it ended lies in the pipe by now: the rest of
    // its report, or what came after the report's end.
    for (pollfd p{fds[0], POLLIN, 0}; poll(&p, 1, 0) > 0 && (p.revents & POLLIN);) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        report.take(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    // Whatever the check's process started goes too, wherever it went.
    kill(-pid, SIGKILL);
    const std::vector<std::string> left = end_descendants(Clock::now() + std::chrono::seconds(5));
    out.seconds = std::chrono::duration<double>(Clock::now() - start).count();

    const std::string during = out.action.empty() ? "" : " during " + out.action;
    if (!report.finished()) {
        if (!ended) {
            char limit[32];
            std::snprintf(limit, sizeof limit, "%g", timeout_seconds);
            out.failures.push_back(std::string("did not finish within ") + limit + " s (--timeout)" + during);
        } else {
            out.failures.push_back(HowItEnded(status) + (out.site.empty() ? "" : " " + out.site) +
                                   " before the check's report was complete" + during);
        }
    } else if (!ended) {
        out.failures.push_back("did not end within 2 s of its complete report; it was killed");
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        out.failures.push_back(HowItEnded(status) + " after the check's report was complete");
    }
    if (report.finished() && report.past_end())
        out.failures.push_back("the check's process wrote " + std::to_string(report.past_end()) +
                               " bytes into its report after the report's end (a module writing to a descriptor "
                               "it did not open?)");
    if (ended && !left.empty()) {
        // The first few by name; the number of the rest.
        std::string names;
        for (size_t i = 0; i < left.size() && i < 5; ++i) names += (i ? ", " : "") + left[i];
        if (left.size() > 5) names += " and " + std::to_string(left.size() - 5) + " more";
        out.failures.push_back("the module left processes running after the check (" + names +
                               "); the validator ended them");
    }
    report.finish();
    out.passed = out.failures.empty() && (out.warnings.empty() || context.level < warn_fail_level);
    return out;
}

std::string in_fresh_process(const std::function<std::string()>& work, unsigned char fill)
{
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    void* room = mmap(nullptr, action_room, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (room == MAP_FAILED) room = nullptr;
    // Unmapped here however this ends; the process started has its own mapping.
    const std::unique_ptr<void, std::function<void(void*)>> unmap(room, [](void* r) { munmap(r, action_room); });
    if (room) static_cast<char*>(room)[0] = '\0';
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        throw std::runtime_error(std::string("cannot start a process: ") + std::strerror(errno));
    }
    if (pid == 0) {
        shared_action = static_cast<char*>(room);
        close(fds[0]);
        // A crash here is told to the waiting process, as a line of its own
        // in place of the result.
        report_crash_site_to(fds[1]);
        if (fill) fill_new_blocks(fill);
        // What was made, or what stopped it, behind its kind and length.
        char kind = 'R';
        std::string result;
        try {
            result = work();
        } catch (const std::exception& e) {
            kind = 'E', result = e.what();
        } catch (...) {
            kind = 'E', result = "an exception that is no std::exception";
        }
        const std::string header = kind + std::to_string(result.size()) + "\n";
        WriteAll(fds[1], header + result);
        _exit(0);
    }
    close(fds[1]);
    std::string got;
    char buf[65536];
    size_t wanted = std::string::npos;
    for (;;) {
        if (wanted == std::string::npos && !got.empty() && got[0] != 'C' && got.find('\n') != std::string::npos)
            wanted = got.find('\n') + 1 + std::stoull(got.substr(1, got.find('\n') - 1));
        if (got.size() >= wanted) break;
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (wanted == std::string::npos || got.size() < wanted) {
        const std::string action = room ? std::string(static_cast<const char*>(room)) : std::string();
        const std::string site = got.size() > 1 && got[0] == 'C' ? " " + got.substr(1, got.find('\n') - 1) : "";
        throw ProcessEnded(HowItEnded(status) + site + (action.empty() ? "" : " during " + action));
    }
    const std::string result = got.substr(got.find('\n') + 1, wanted - got.find('\n') - 1);
    if (got[0] == 'E') throw std::runtime_error(result);
    return result;
}

}  // namespace validate
