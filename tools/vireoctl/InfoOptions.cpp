#include "tools/vireoctl/InfoOptions.h"

#include "tools/vireoctl/Session.h"

#include <cstdio>
#include <cstring>

namespace vireoctl {
namespace {

// What the usage lines leave out: the meaning of each option and of the exit status.
constexpr const char* kOptionsHelp =
    "options:\n"
    "  --port NAME    RS-232C port: COM1 to COM4 (/dev/ttyS0 to /dev/ttyS3) or a device\n"
    "                 path such as /dev/ttyUSB0\n"
    "  --cl INDEX     Camera Link port by its index (see \"ports\"); the library is the one\n"
    "                 CLALLSERIAL_LIBRARY names, else libclallserial.so\n"
    "  --baud N       baud rate for this run\n"
    "  --timeout MS   reply time-out in milliseconds for this run\n"
    "  --log          communication and sequence log on standard error\n"
    "  --help         this text\n"
    "  --version      the program's version\n"
    "Stored port settings are used where no option is given.\n"
    "Exit status: 0 success, 1 a failure of the camera or the link, 2 a bad command line.\n"
    "See vireoctl(1).\n";

} // namespace

std::optional<int> AnswerInfoOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vireoctl %s\n", VIREO_VERSION);
            return kExitOk;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            Usage(stdout);
            std::fputs(kOptionsHelp, stdout);
            return kExitOk;
        }
    }
    return std::nullopt;
}

} // namespace vireoctl
