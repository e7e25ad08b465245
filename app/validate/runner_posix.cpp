#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <exception>

#include "runner.h"

namespace validate {

namespace {
// One finding a line: its kind, then its text with line breaks flattened.
void Send(int fd, char kind, const std::string& text)
{
    std::string line(1, kind);
    for (char c : text) line += c == '\n' ? ' ' : c;
    line += '\n';
    for (size_t done = 0; done < line.size();) {
        const ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

[[noreturn]] void RunChild(const Check& check, const CheckContext& context, int fd, unsigned timeout_seconds)
{
    alarm(timeout_seconds);
    Findings findings;
    try {
        check.run(context, findings);
    } catch (const std::exception& e) {
        findings.fail(std::string("stopped: ") + e.what());
    } catch (...) {
        findings.fail("stopped by an exception that is no std::exception");
    }
    for (const std::string& s : findings.failures) Send(fd, 'F', s);
    for (const std::string& s : findings.notes) Send(fd, 'N', s);
    // No exit handlers: they belong to the parent.
    _exit(0);
}
}  // namespace

Outcome run_isolated(const Check& check, const CheckContext& context, unsigned timeout_seconds)
{
    Outcome out;
    out.check = &check;
    out.seed = context.seed;
    const auto start = std::chrono::steady_clock::now();
    int fds[2];
    if (pipe(fds) != 0) {
        out.failures.push_back(std::string("cannot make a pipe: ") + std::strerror(errno));
        return out;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        out.failures.push_back(std::string("cannot start a process: ") + std::strerror(errno));
        return out;
    }
    if (pid == 0) {
        close(fds[0]);
        RunChild(check, context, fds[1], timeout_seconds);
    }
    close(fds[1]);
    std::string received;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) received.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    for (size_t at = 0; at < received.size();) {
        const size_t end = received.find('\n', at);
        const std::string line = received.substr(at, end - at);
        if (line.size() > 1) (line[0] == 'F' ? out.failures : out.notes).push_back(line.substr(1));
        at = end == std::string::npos ? received.size() : end + 1;
    }
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        out.failures.push_back(sig == SIGALRM ? "did not finish within " + std::to_string(timeout_seconds) + " s"
                                              : std::string("crashed: ") + strsignal(sig));
    } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        out.failures.push_back("ended with status " + std::to_string(WEXITSTATUS(status)));
    }
    out.passed = out.failures.empty();
    return out;
}

}  // namespace validate
