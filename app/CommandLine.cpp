#include "app/CommandLine.h"

#include <cstring>

namespace {

constexpr const char* kHelp =
    "usage: VireoStudio [--help | --version] [-Embedding | -Automation] [Qt options]\n"
    "Reads and changes the settings of industrial digital cameras (RV1240DLX, RV1250LX,\n"
    "RVQM52BM14, RVQM52CM14) through an RS-232C port or the serial channel of a Camera Link\n"
    "frame grabber. The port is chosen in the program's setup dialog (\"Comm(&C)\").\n"
    "\n"
    "  --help       this text\n"
    "  --version    the program's version\n"
    "  -Embedding, /Embedding, -Automation, /Automation\n"
    "               start without the splash window\n"
    "Qt's own options (-platform, -style, ...) are honoured; other arguments are ignored.\n"
    "\n"
    "environment:\n"
    "  CLALLSERIAL_LIBRARY  the Camera Link serial library to load (default libclallserial.so)\n"
    "  XDG_CONFIG_HOME      where the settings and the inventory are kept (default ~/.config)\n"
    "  XDG_STATE_HOME       where the audit trail is kept (default ~/.local/state)\n"
    "settings: $XDG_CONFIG_HOME/KORVALIS CORPORATION/VireoStudio.conf\n"
    "inventory: $XDG_CONFIG_HOME/VireoStudio/cameras.toml\n"
    "audit trail: $XDG_STATE_HOME/VireoStudio/audit.jsonl, unless the settings name another\n"
    "See VireoStudio(1).\n";

} // namespace

std::optional<std::string> InfoSwitchAnswer(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0)
            return std::string("VireoStudio " VIREO_VERSION "\n");
        if (std::strcmp(argv[i], "--help") == 0)
            return std::string(kHelp);
    }
    return std::nullopt;
}
