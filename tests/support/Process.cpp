#include "tests/support/Process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> ArgvOf(const std::vector<std::string>& argv)
{
    std::vector<char*> pointers;
    for (const std::string& arg : argv)
        pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// The inherited environment with entries replaced or added by name.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& entries)
{
    std::vector<std::string> result;
    for (char** inherited = environ; *inherited; ++inherited) {
        const std::string entry = *inherited;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const std::string& e) { return e.rfind(name, 0) == 0; }))
            result.push_back(entry);
    }
    result.insert(result.end(), entries.begin(), entries.end());
    return result;
}

int StatusOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void EndWithParent()
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

pid_t StartProgram(const std::vector<std::string>& argv,
                   const std::vector<std::string>& environment, int out, int err,
                   bool endWithParent)
{
    // Everything the child needs is built here: a child of a threaded test may not allocate,
    // since another thread may have held the allocator's lock at the fork.
    const std::vector<std::string> entries = EnvironmentWith(environment);
    std::vector<char*> args = ArgvOf(argv);
    std::vector<char*> env = ArgvOf(entries);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (endWithParent)
            EndWithParent();
        if (out >= 0)
            ::dup2(out, 1);
        if (err >= 0)
            ::dup2(err, 2);
        ::execve(args[0], args.data(), env.data());
        _exit(127);
    }
    return pid;
}

ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, double timeoutSeconds)
{
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    // A program given its own settings folder keeps its state (the audit trail) there too,
    // never in the user's.
    std::vector<std::string> entries = environment;
    const auto has = [&](const char* name) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const std::string& e) { return e.rfind(name, 0) == 0; });
    };
    if (has("XDG_CONFIG_HOME=") && !has("XDG_STATE_HOME="))
        for (const std::string& entry : environment)
            if (entry.rfind("XDG_CONFIG_HOME=", 0) == 0)
                entries.push_back("XDG_STATE_HOME=" + entry.substr(16));
    const auto start = Clock::now();
    const pid_t pid = StartProgram(argv, entries, out[1], err[1], false);
    ::close(out[1]);
    ::close(err[1]);
    ProcessResult result;
    const auto deadline = start + std::chrono::duration<double>(timeoutSeconds);
    bool killed = false;
    for (int open = 2; open > 0;) {
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 && !killed) {
            ::kill(pid, SIGKILL);
            killed = true;
        }
        if (::poll(fds, 2, killed ? 1000 : static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !fds[i].revents)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(i == 0 ? out[0] : err[0]);
                (i == 0 ? out[0] : err[0]) = -1;
                --open;
            } else {
                (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitStatus = killed ? -1 : StatusOf(status);
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv)
{
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    m_pid = StartProgram(argv, {}, out[1], -1, true);
    ::close(out[1]);
    m_out = out[0];
}

BackgroundProcess::~BackgroundProcess()
{
    Stop();
    if (m_out >= 0)
        ::close(m_out);
}

std::string BackgroundProcess::FirstLine(double timeoutSeconds)
{
    std::string line;
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (Clock::now() < deadline) {
        pollfd fd{m_out, POLLIN, 0};
        if (::poll(&fd, 1, 100) <= 0)
            continue;
        char c;
        if (::read(m_out, &c, 1) != 1)
            break;
        if (c == '\n')
            return line;
        line += c;
    }
    return line;
}

int BackgroundProcess::Stop(int signal)
{
    if (m_pid <= 0)
        return -1;
    ::kill(m_pid, signal);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return StatusOf(status);
}

namespace {

std::vector<std::string> CommandLine(const std::string& program,
                                     const std::vector<std::string>& options)
{
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), options.begin(), options.end());
    return argv;
}

} // namespace

CamsimProgram::CamsimProgram(const std::string& program, const std::vector<std::string>& options)
    : process(CommandLine(program, options)), device(process.FirstLine())
{
}

} // namespace testing_support
