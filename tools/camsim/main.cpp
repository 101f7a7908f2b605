// camsim: a simulated camera on a pseudo-terminal. Prints the device path on the first line of
// standard output and serves until it is ended.
#include "tools/camsim/PtyServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: camsim [--model RV1240DLX|RV1250LX|RVQM52BM14|RVQM52CM14] [--link PATH]\n"
                 "              [--fault none|nak|silent|garbage] [--split] [--delay MS]"
                 " [--baud N]\n"
                 "              [--serial TEXT] [--refuse ADDR]\n");
    return 2;
}

bool ParseInt(const char* text, int& value)
{
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || number < 0 || number > 10000000)
        return false;
    value = static_cast<int>(number);
    return true;
}

// A serial number fits the seven characters of registers 0x20..0x26.
constexpr int kSerialAddress = 0x20;
constexpr std::size_t kSerialLength = 7;

bool IsSerialText(const std::string& text)
{
    if (text.empty() || text.size() > kSerialLength)
        return false;
    for (const char c : text)
        if (c <= 0x20 || c >= 0x7F)
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    camsim::Model model = camsim::Model::RV1240DLX;
    camsim::Faults faults;
    std::string link;
    std::string serial; // empty: the model's own
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--model" && hasValue) {
            const auto chosen = camsim::ModelFromName(argv[++i]);
            if (!chosen)
                return Usage();
            model = *chosen;
        } else if (arg == "--link" && hasValue) {
            link = argv[++i];
        } else if (arg == "--fault" && hasValue) {
            const std::string fault = argv[++i];
            if (fault == "none")
                faults.fault = camsim::Fault::None;
            else if (fault == "nak")
                faults.fault = camsim::Fault::Nak;
            else if (fault == "silent")
                faults.fault = camsim::Fault::Silent;
            else if (fault == "garbage")
                faults.fault = camsim::Fault::Garbage;
            else
                return Usage();
        } else if (arg == "--serial" && hasValue) {
            serial = argv[++i];
            if (!IsSerialText(serial))
                return Usage();
        } else if (arg == "--refuse" && hasValue) {
            char* end = nullptr;
            const long address = std::strtol(argv[++i], &end, 16);
            if (*end != '\0' || address < 0 || address > camsim::kLastRegister)
                return Usage();
            faults.refusedWrite = static_cast<int>(address);
        } else if (arg == "--split") {
            faults.split = true;
        } else if (arg == "--delay" && hasValue) {
            if (!ParseInt(argv[++i], faults.delayMs))
                return Usage();
        } else if (arg == "--baud" && hasValue) {
            if (!ParseInt(argv[++i], faults.wireBaud))
                return Usage();
        } else {
            return Usage();
        }
    }

    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&blocked, signal);
    ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);

    camsim::Camera camera(model);
    camera.SetFaults(faults);
    // Cameras of one model otherwise all report the same serial number.
    for (std::size_t i = 0; !serial.empty() && i < kSerialLength; ++i)
        camera.Set(kSerialAddress + static_cast<int>(i),
                   i < serial.size() ? static_cast<std::uint8_t>(serial[i]) : 0);
    camsim::PtyServer server(camera);
    std::string failure;
    if (!server.Start(failure)) {
        std::fprintf(stderr, "camsim: %s\n", failure.c_str());
        return 1;
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(server.SlavePath().c_str(), link.c_str()) != 0) {
            std::fprintf(stderr, "camsim: cannot link %s: %s\n", link.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);

    // The signals stay blocked except inside sigsuspend, so none is lost between the test of
    // g_stop and the wait.
    sigset_t waitMask;
    sigemptyset(&waitMask);
    while (!g_stop)
        ::sigsuspend(&waitMask);

    server.Stop();
    if (!link.empty())
        ::unlink(link.c_str());
    return 0;
}
