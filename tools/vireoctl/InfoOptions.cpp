#include "tools/vireoctl/InfoOptions.h"

#include "tools/vireoctl/Session.h"

#include <cstdio>
#include <cstring>

namespace vireoctl {
namespace {

// What the usage lines leave out: the meaning of each option and of the exit status.
constexpr const char* kOptionsHelp =
    "options:\n"
    "  --port NAME    RS-232C port: COM1 to COM4 (/dev/ttyS0 to /dev/ttyS3), a path used as\n"
    "                 it is (/dev/ttyUSB0, ./cam), a bare name under /dev (ttyUSB0), or\n"
    "                 rfc2217://HOST:PORT or socket://HOST:PORT\n"
    "  --cl INDEX     Camera Link port by its index (see \"ports\"); the library is the one\n"
    "                 CLALLSERIAL_LIBRARY names, else libclallserial.so\n"
    "                 --port and --cl may be repeated and mixed: identify, save, load and\n"
    "                 diff then run on every camera in parallel and print one result each\n"
    "                 (\"TARGET<TAB>ok\" or \"TARGET<TAB>failed: REASON\"; diff and identify\n"
    "                 one block per camera under \"[TARGET]\")\n"
    "  --baud N       baud rate for this run: 4800, 9600, 19200, 38400, 57600, 115200, 230400\n"
    "  --timeout MS   reply time-out for this run, 1 to 60000 milliseconds\n"
    "  --log          communication and sequence log on standard error\n"
    "  --json         identify, cameras, diff, load and save print one JSON document\n"
    "  --help         this text\n"
    "  --version      the program's version\n"
    "Stored port settings are used where no option is given.\n"
    "save into DIR/ names each camera's file MODEL-SERIAL.json. script runs one command a\n"
    "line (blank lines and # comments skipped), checks every line first, and stops at the\n"
    "first failure unless --keep-going.\n"
    "Exit status: 0 success, 1 a failure of the camera, the link or the output,\n"
    "2 a bad command line (its first line says what is wrong), 3 diff found a differing\n"
    "value, 4 the change was made but the audit trail could not record it.\n"
    "Production line: vireoctl --port /dev/ttyUSB1 --port /dev/ttyUSB2 load approved.json\n"
    "Verification: vireoctl --all diff approved.json --report verify.json --junit verify.xml\n"
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
