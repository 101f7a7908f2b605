// Runs a program of the build to its end, or starts one in the background, for tests of the
// command-line tools.
#pragma once

#include <csignal>
#include <sys/types.h>
#include <string>
#include <vector>

namespace testing_support {

struct ProcessResult {
    int exitStatus = -1; // -1 when it did not end normally
    std::string out;
    std::string err;
    double seconds = 0;
};

// Runs argv[0] with the arguments and extra environment entries ("NAME=value"); kills it
// after timeoutSeconds.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {},
                         double timeoutSeconds = 20);

// The lines of a program's output, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A program left running until the object ends (it then gets SIGTERM and is waited for).
class BackgroundProcess {
public:
    BackgroundProcess(const std::vector<std::string>& argv);
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    // The first line it writes to standard output (waits up to timeoutSeconds).
    std::string FirstLine(double timeoutSeconds = 10);
    // Ends it now with the signal; returns its exit status.
    int Stop(int signal = SIGTERM);
    int Pid() const { return m_pid; }

private:
    int m_pid = -1;
    int m_out = -1;
};

// The simulated camera program (at program) started with the options on a pseudo-terminal of
// its own, and the device path it prints first (empty when it printed none).
struct CamsimProgram {
    CamsimProgram(const std::string& program, const std::vector<std::string>& options);

    BackgroundProcess process;
    std::string device;
};

// In a child just forked: it is ended when the test that started it ends, so that a test that
// dies leaves no program behind holding the test runner's output open.
void EndWithParent();

// Starts argv[0] with the extra environment entries ("NAME=value", replacing the inherited ones
// of that name), its standard output and error on out and err (-1 keeps the test's). Ended with
// the test when endWithParent. Returns the child's process id.
pid_t StartProgram(const std::vector<std::string>& argv,
                   const std::vector<std::string>& environment, int out, int err,
                   bool endWithParent);

} // namespace testing_support
