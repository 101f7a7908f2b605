#include "tools/vireoctl/Session.h"

#include "camera/RVXReg.h"
#include "comm/BaudRates.h"
#include "comm/ComIF.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/log/LogWriter.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/profile/Profile.h"
#include "platform/serial/SerialDevice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vireoctl {
namespace {

// The log window's records, one per line on standard error.
class StderrLog final : public ILogWriter {
public:
    int AddCommLog(const char* text) override { return Write(text); }
    int AddSeqLog(const char* text) override { return Write(text); }

private:
    static int Write(const char* text)
    {
        std::fprintf(stderr, "%s\n", text);
        return 0;
    }
};

StderrLog g_stderrLog;

// Why a Camera Link port cannot be opened, when the port layer's records do not say it alone.
std::string ClPortProblem(int index)
{
    if (const std::string problem = camlink::LibraryProblem(); !problem.empty())
        return ": " + problem;
    const std::uint32_t count = g_ComIF.m_Cas.m_nPortCount;
    if (static_cast<std::uint32_t>(index) >= count)
        return FormatText(": the Camera Link library has %u port%s", count, count == 1 ? "" : "s");
    return {};
}

// "NAME: reason", with the device path when the name is not one ("COM1 (/dev/ttyS0): ...").
std::string PortProblem(const std::string& name)
{
    const std::string path = serial::DevicePathForPort(name);
    std::string problem = g_ComIF.m_Rs232c.OpenProblem();
    if (problem.empty())
        return name;
    if (problem.rfind(path + ": ", 0) == 0)
        problem.erase(0, path.size() + 2);
    return (path == name ? name : name + " (" + path + ")") + ": " + problem;
}

bool ParseDecimal(const char* text, long minimum, long maximum, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || errno != 0 || number < minimum || number > maximum)
        return false;
    value = static_cast<int>(number);
    return true;
}

} // namespace

int Usage(std::FILE* stream)
{
    std::fprintf(stream,
                 "usage: vireoctl [--port NAME|--cl INDEX] [--baud N] [--timeout MS] [--log]"
                 " COMMAND\n"
                 "commands:\n"
                 "  read ADDR                      read one register (hexadecimal)\n"
                 "  write ADDR VALUE               write one register (hexadecimal)\n"
                 "  ops MODEL                      list the named operations of a model\n"
                 "  call MODEL OPERATION [ARG...]  run one named operation\n"
                 "  ports                          list the Camera Link ports\n"
                 "  identify                       the camera's identity and model\n"
                 "  save MODEL FILE                the model's settings to a file\n"
                 "  load FILE [--force] [--dry-run]  settings from a file to the camera\n"
                 "MODEL of call and save may be \"auto\": the connected camera's own.\n");
    return kExitUsage;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    int i = 1;
    for (; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--", 2) != 0)
            break;
        const bool hasValue = i + 1 < argc;
        int number = 0;
        if (std::strcmp(arg, "--log") == 0) {
            options.log = true;
        } else if (std::strcmp(arg, "--port") == 0 && hasValue) {
            options.port = argv[++i];
            if (options.port->empty())
                return false;
        } else if (std::strcmp(arg, "--baud") == 0 && hasValue) {
            if (!ParseDecimal(argv[++i], 1, 4000000, number) || !IsOfferedBaudRate(number))
                return false;
            options.baud = number;
        } else if (std::strcmp(arg, "--timeout") == 0 && hasValue) {
            if (!ParseDecimal(argv[++i], 0, 3600000, number))
                return false;
            options.timeoutMs = number;
        } else if (std::strcmp(arg, "--cl") == 0 && hasValue) {
            if (!ParseDecimal(argv[++i], 0, 1000000, number))
                return false;
            options.clIndex = number;
        } else {
            return false;
        }
    }
    if (options.port && options.clIndex)
        return false;
    options.args.assign(argv + i, argv + argc);
    return !options.args.empty();
}

void InstallOutput(const Options& options)
{
    SetMessageBoxHook([](const std::string& text, const std::string& caption, MsgIcon) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    });
    if (options.log)
        g_pLogDlg.store(&g_stderrLog);
}

bool OpenPort(const Options& options)
{
    // The options hold for this run only; opening a port would otherwise store them.
    profile::SetReadOnly(true);
    g_ComIF.LoadSettings();
    CComSettings& settings = g_ComIF.m_Settings;
    if (options.port) {
        if (options.port->size() > kPortNameMax) {
            std::fprintf(stderr, "error: port name longer than %zu characters\n", kPortNameMax);
            return false;
        }
        settings.PortName = *options.port;
    }
    if (options.baud)
        settings.BaudRate = *options.baud;
    if (options.timeoutMs)
        settings.HsTimeOut = *options.timeoutMs;
    if (options.clIndex) {
        g_ComIF.PortType = PORT_CAMERALINK;
        // Initialize loads the stored settings; the options then override them.
        g_ComIF.m_Cas.Initialize();
        g_ComIF.m_Cas.m_Settings = settings;
        g_ComIF.m_Cas.SelectPort(*options.clIndex);
        if (options.baud)
            g_ComIF.m_Cas.m_nBaudRate = *options.baud;
    } else {
        g_ComIF.PortType = PORT_RS232C;
        g_ComIF.m_Rs232c.m_Settings = settings;
    }
    if (!g_ComIF.Open()) {
        if (options.clIndex)
            std::fprintf(stderr, "error: cannot open Camera Link port %d%s\n", *options.clIndex,
                         ClPortProblem(*options.clIndex).c_str());
        else
            std::fprintf(stderr, "error: cannot open port %s\n",
                         PortProblem(settings.PortName).c_str());
        return false;
    }
    return true;
}

int Finish(int result)
{
    if (result != 0) {
        CRVXReg texts(&g_ComIF);
        std::fprintf(stderr, "error %d: %s\n", result, texts.GetResultText(result).c_str());
    }
    g_ComIF.Close();
    std::fflush(stdout);
    // Records of the program's exit are not part of the command's output.
    g_pLogDlg.store(nullptr);
    return result == 0 ? kExitOk : kExitFailed;
}

bool ParseHexArgument(const std::string& text, unsigned maximum, int& value)
{
    if (text.empty() || text.size() > 10)
        return false;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    std::uint32_t number = 0;
    // A bare "0x" leaves nothing behind it: no number at all.
    if (!ParseHex(buffer, number) || buffer[0] == '\0' || number > maximum)
        return false;
    value = static_cast<int>(number);
    return true;
}

} // namespace vireoctl
