#include "tools/vireoctl/Session.h"

#include "comm/ReplyTimeOut.h"

#include "camera/RVXReg.h"
#include "comm/BaudRates.h"
#include "comm/ComIF.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/files/SystemCalls.h"
#include "platform/log/LogWriter.h"
#include "platform/profile/Profile.h"
#include "platform/serial/PortName.h"
#include "platform/serial/SerialDevice.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

namespace vireoctl {
namespace {

constexpr int kStdout = 1;
constexpr int kStderr = 2;

// Standard error is shared by every camera's thread; one line is written whole under this lock.
std::mutex g_errorMutex;
bool g_holdMessages = false;             // guarded by g_errorMutex
std::vector<std::string> g_heldMessages; // guarded by g_errorMutex
thread_local std::string t_linePrefix;
thread_local bool t_prefixLog = false; // log records too carry the prefix

// Standard output that is not a terminal is buffered in this many bytes and passed on once
// kOutputFlushAt are waiting: far more than one command's output lies between the two, so the
// buffer never fills by itself and every failed write is one of ours, with its errno.
constexpr std::size_t kOutputBufferSize = 64 * 1024;
constexpr std::size_t kOutputFlushAt = 16 * 1024;

unsigned g_closedAtStart = 0;
std::atomic<int> g_stdoutError{0}; // errno of the first failed flush of standard output
int g_stderrError = 0;             // errno of the first failed line on standard error; g_errorMutex

// Flushes standard output, which any thread may do; false when the flush failed.
bool FlushStdout()
{
    errno = 0;
    if (std::fflush(stdout) == 0)
        return true;
    int none = 0;
    g_stdoutError.compare_exchange_strong(none, errno != 0 ? errno : EIO);
    return false;
}

void WriteLineLocked(const std::string& text)
{
    // A line on standard error comes after the output written before it, also when both
    // streams go to one file.
    FlushStdout();
    if ((std::fwrite(text.data(), 1, text.size(), stderr) != text.size() ||
         std::fputc('\n', stderr) == EOF) &&
        g_stderrError == 0)
        g_stderrError = errno;
}

// Why writes to a standard stream failed: closed at start, the first error seen, or unknown.
std::string StreamProblem(int fd, int error)
{
    if (g_closedAtStart & (1u << fd))
        return "it is closed";
    return error != 0 ? std::strerror(error) : "write error";
}

// The log window's records, one per line on standard error.
class StderrLog final : public ILogWriter {
public:
    int AddCommLog(const char* text) override { return Write(text); }
    int AddSeqLog(const char* text) override { return Write(text); }

private:
    static int Write(const char* text)
    {
        std::lock_guard lock(g_errorMutex);
        WriteLineLocked(t_prefixLog ? t_linePrefix + text : std::string(text));
        return 0;
    }
};

StderrLog g_stderrLog;

// Why a Camera Link port cannot be opened, when the port layer's records do not say it alone.
std::string ClPortProblem(CComIF& com, int index)
{
    if (const std::string problem = camlink::LibraryProblem(); !problem.empty())
        return ": " + problem;
    const std::uint32_t count = com.m_Cas.m_nPortCount;
    if (static_cast<std::uint32_t>(index) >= count)
        return FormatText(": the Camera Link library has %u port%s", count, count == 1 ? "" : "s");
    // The library's own reason for refusing the open ("... Port in use").
    std::string problem = com.m_Cas.OpenProblem();
    const std::string head = FormatText("Camera Link port %d: ", index);
    if (problem.rfind(head, 0) == 0)
        problem.erase(0, head.size());
    return problem.empty() ? std::string() : ": " + problem;
}

// "NAME: reason", with the device path when the name is not one ("COM1 (/dev/ttyS0): ...").
std::string PortProblem(CComIF& com, const std::string& name)
{
    const std::string path = serial::DevicePathForPort(name);
    std::string problem = com.m_Rs232c.OpenProblem();
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

std::string OfferedRates()
{
    std::string text;
    for (const int rate : kOfferedBaudRates)
        text += (text.empty() ? "" : ", ") + std::to_string(rate);
    return text;
}

// Checks one option and its value; false with the problem.
bool ParseOption(const std::string& name, const char* value, Options& options, std::string& problem)
{
    const std::string head = name + " " + value + ": ";
    int number = 0;
    if (name == "--port") {
        serial::PortAddress address;
        std::string why;
        if (!serial::ParsePortName(value, address, why)) {
            problem = head + why;
            return false;
        }
        if (std::strlen(value) > kPortNameMax) {
            problem = head + FormatText("longer than %zu characters", kPortNameMax);
            return false;
        }
        // One camera twice would only find its own port in use.
        for (const Target& target : options.targets)
            if (!target.clIndex && target.port == value) {
                problem = head + "given twice";
                return false;
            }
        Target target;
        target.port = value;
        options.targets.push_back(target);
    } else if (name == "--cl") {
        if (!ParseDecimal(value, 0, 1000000, number)) {
            problem = head + "not a port index (0, 1, ...)";
            return false;
        }
        for (const Target& target : options.targets)
            if (target.clIndex == number) {
                problem = head + "given twice";
                return false;
            }
        Target target;
        target.clIndex = number;
        options.targets.push_back(target);
    } else if (name == "--camera") {
        // An empty name would leave a target without a port: the stored one would be used.
        if (*value == '\0') {
            problem = name + ": no name";
            return false;
        }
        // Looked up in the inventory once every option is read (--inventory may follow).
        Target target;
        target.name = value;
        options.targets.push_back(target);
    } else if (name == "--inventory") {
        if (*value == '\0') {
            problem = name + ": no file";
            return false;
        }
        options.inventoryPath = value;
    } else if (name == "--baud") {
        if (!ParseDecimal(value, 1, 4000000, number) || !IsOfferedBaudRate(number)) {
            problem = head + "not one of " + OfferedRates();
            return false;
        }
        options.baud = number;
    } else if (name == "--timeout") {
        if (!ParseDecimal(value, kReplyTimeOutMin, kReplyTimeOutMax, number)) {
            problem = head +
                      FormatText("not a time-out of %d..%d ms", kReplyTimeOutMin, kReplyTimeOutMax);
            return false;
        }
        options.timeoutMs = number;
    }
    return true;
}

} // namespace

std::string Target::PortLabel() const
{
    return clIndex ? "cl:" + std::to_string(*clIndex) : port;
}

std::string Target::Label() const
{
    return name.empty() ? PortLabel() : name;
}

int Usage(std::FILE* stream)
{
    std::fprintf(stream,
                 "usage: vireoctl [--port NAME|--cl INDEX|--camera NAME|--all]... [--baud N]\n"
                 "                [--timeout MS] [--log] [--inventory FILE] [--accept-replacement]"
                 " [--audit FILE|--no-audit]"
                 " [--json] COMMAND\n"
                 "commands:\n"
                 "  read ADDR                      read one register (hexadecimal)\n"
                 "  write ADDR VALUE               write one register (hexadecimal)\n"
                 "  ops MODEL                      list the named operations of a model\n"
                 "  call MODEL OPERATION [ARG...]  run one named operation\n"
                 "  ports                          list the Camera Link ports\n"
                 "  cameras                        the inventory's cameras and what answers\n"
                 "  identify                       the camera's identity and model\n"
                 "  save MODEL FILE|DIR/|- [--force]  the model's settings to a file\n"
                 "  load FILE [--force] [--dry-run] [--no-rollback] [--store BANK]\n"
                 "                                 settings from a file to the camera\n"
                 "  diff FILE [--report FILE.json] [--junit FILE.xml] [--force]\n"
                 "                                 the camera's values that differ from a file\n"
                 "  audit verify|show [FILE]       check or show the trail of changes\n"
                 "  script [--keep-going] [FILE|-]  read, write, call, identify and sleep MS,\n"
                 "                                 one a line, on one open port\n"
                 "MODEL of call and save may be \"auto\": the connected camera's own.\n"
                 "identify, save, load and diff take several --port/--cl, run in parallel.\n"
                 "--json: identify, cameras, save, load and diff print one JSON document.\n");
    return kExitUsage;
}

int UsageError(const std::string& problem)
{
    ErrorLine(problem);
    return Usage();
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& problem)
{
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0)
            break;
        if (arg == "--log" || arg == "--all" || arg == "--accept-replacement" || arg == "--json" ||
            arg == "--no-audit") {
            (arg == "--log"        ? options.log
             : arg == "--all"      ? options.allCameras
             : arg == "--json"     ? options.json
             : arg == "--no-audit" ? options.noAudit
                                   : options.acceptReplacement) = true;
            continue;
        }
        if (arg == "--audit") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                problem = arg + ": no file";
                return false;
            }
            options.auditFile = argv[++i];
            continue;
        }
        if (arg != "--port" && arg != "--cl" && arg != "--baud" && arg != "--timeout" &&
            arg != "--camera" && arg != "--inventory") {
            problem = arg + ": unknown option";
            return false;
        }
        if (i + 1 >= argc) {
            problem = arg + ": no value";
            return false;
        }
        if (!ParseOption(arg, argv[++i], options, problem))
            return false;
    }
    options.args.assign(argv + i, argv + argc);
    if (options.args.empty()) {
        problem = "no command";
        return false;
    }
    return true;
}

std::optional<int> CheckCameraLinkIndexes(const std::vector<Target>& targets,
                                          const std::string& inventoryPath)
{
    const auto fromInventory = [](const Target& target) {
        return target.clIndex.has_value() && !target.name.empty();
    };
    if (std::none_of(targets.begin(), targets.end(), fromInventory))
        return std::nullopt;
    // A library that cannot be asked fails each camera at its opening, with the reason.
    CLUINT32 count = 0;
    if (!camlink::LibraryProblem().empty() ||
        camlink::Library().clGetNumPorts(&count) != CL_ERR_NO_ERR)
        return std::nullopt;
    for (const Target& target : targets)
        if (fromInventory(target) && static_cast<CLUINT32>(*target.clIndex) >= count) {
            ErrorLine("error: " + inventoryPath + ": " + target.name + ": " + target.PortLabel() +
                      FormatText(": the Camera Link library has %u port%s", count,
                                 count == 1 ? "" : "s"));
            return kExitUsage;
        }
    return std::nullopt;
}

std::optional<int> RequireOneTarget(const Options& options)
{
    if (options.targets.size() <= 1)
        return std::nullopt;
    std::string names;
    for (const Target& target : options.targets)
        names += (names.empty() ? "" : ", ") + target.Label();
    return UsageError(options.args[0] + ": takes one camera, not " +
                      std::to_string(options.targets.size()) + " (" + names + ")");
}

void SetClosedAtStart(unsigned mask)
{
    g_closedAtStart = mask;
}

void BufferOutput()
{
    // Given no buffer, the C library would choose a smaller one of its own.
    static char buffer[kOutputBufferSize];
    if (!files::IsTerminal(kStdout))
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

bool FlushOutput()
{
    FlushStdout();
    return !std::ferror(stdout);
}

bool OutputWritable()
{
    if (files::PendingOutput(stdout) >= kOutputFlushAt)
        return FlushOutput();
    return !std::ferror(stdout);
}

int CheckOutput(int status)
{
    const bool outFailed = !FlushOutput();
    bool errFailed = false;
    std::string errProblem;
    {
        std::lock_guard lock(g_errorMutex);
        errFailed = std::ferror(stderr) != 0;
        errProblem = StreamProblem(kStderr, g_stderrError);
    }
    if (outFailed)
        ErrorLine("error: cannot write standard output: " +
                  StreamProblem(kStdout, g_stdoutError.load()));
    else if (errFailed) {
        std::printf("error: cannot write standard error: %s\n", errProblem.c_str());
        std::fflush(stdout);
    }
    return outFailed || errFailed ? kExitFailed : status;
}

void ErrorLine(const std::string& text)
{
    std::lock_guard lock(g_errorMutex);
    WriteLineLocked(t_linePrefix + text);
}

void SetLinePrefix(std::string prefix, bool alsoLog)
{
    t_linePrefix = std::move(prefix);
    t_prefixLog = alsoLog;
}

void HoldMessageLines(bool hold)
{
    std::lock_guard lock(g_errorMutex);
    g_holdMessages = hold;
    if (!hold) {
        for (const std::string& line : g_heldMessages)
            WriteLineLocked(line);
        g_heldMessages.clear();
    }
}

void NoticeLine(const std::string& notice)
{
    if (notice.empty())
        return;
    const std::string line = t_linePrefix + kNoticeTitle + ": " + notice;
    std::lock_guard lock(g_errorMutex);
    if (g_holdMessages)
        g_heldMessages.push_back(line);
    else
        WriteLineLocked(line);
}

void InstallOutput(const Options& options)
{
    if (options.log)
        g_pLogDlg.store(&g_stderrLog);
}

bool OpenTarget(const Options& options, const Target& target, CComIF& com, std::string& problem)
{
    // The options hold for this run only; opening a port would otherwise store them.
    profile::SetReadOnly(true);
    // The stored settings, the grabber's own and what opening the port stores: one store.
    std::optional<profile::Batch> batch(std::in_place);
    com.LoadSettings();
    CComIF::PortChoice choice;
    CComSettings& settings = choice.settings;
    settings = com.m_Settings;
    if (!target.port.empty())
        settings.PortName = target.port;
    if (options.baud)
        settings.BaudRate = *options.baud;
    // A stored time-out outside its range was already replaced (and logged) by LoadSettings.
    if (options.timeoutMs)
        settings.HsTimeOut = *options.timeoutMs;
    // Without --cl the port is an RS-232C one: the named or the stored port.
    const bool cameraLink = target.clIndex.has_value();
    choice.cameraLinkIndex = target.clIndex;
    if (cameraLink)
        choice.cameraLinkBaud = options.baud;
    com.ChoosePort(choice);
    const bool opened = com.Open();
    // The window keeps the log record alone; a rate asked for on the command line is warned of.
    if (opened && cameraLink && options.baud && !com.m_Cas.RateOffered())
        ErrorLine(FormatText("warning: Camera Link port %d does not offer %d baud; its rate is "
                             "left as it was",
                             *target.clIndex, *options.baud));
    batch.reset();
    if (opened)
        return true;
    if (cameraLink)
        problem = FormatText("cannot open Camera Link port %d", *target.clIndex) +
                  ClPortProblem(com, *target.clIndex);
    else
        problem = "cannot open port " + PortProblem(com, settings.PortName);
    return false;
}

bool OpenPort(const Options& options)
{
    const Target target = options.targets.empty() ? Target{} : options.targets.front();
    std::string problem;
    if (OpenTarget(options, target, g_ComIF, problem))
        return true;
    ErrorLine("error: " + problem);
    return false;
}

std::string CodeText(const CResult& result)
{
    // The protocol's own text for a NAK tells the user little; the code says what it is.
    if (result.Refused())
        return std::to_string(REG_NAK) + ": the camera refused the request";
    return std::to_string(result.Code()) + ": " +
           (result.Detail().empty() ? result.Text() : result.Detail());
}

int ReportResult(const CResult& result)
{
    if (result.Ok())
        return kExitOk;
    NoticeLine(result.Notice());
    ErrorLine("error " + CodeText(result));
    return kExitFailed;
}

int Finish(const CResult& result)
{
    const int status = ReportResult(result);
    g_ComIF.Close();
    FlushOutput();
    // Records of the program's exit are not part of the command's output.
    g_pLogDlg.store(nullptr);
    return status;
}

bool ParseHexArgument(const std::string& text, unsigned maximum, int& value)
{
    return HexArgumentProblem(text, maximum, value).empty();
}

std::string HexArgumentProblem(const std::string& text, unsigned maximum, int& value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    std::uint32_t number = 0;
    // A bare "0x" leaves nothing behind it: no number at all.
    if (text.empty() || text.size() > 10 || !ParseHex(buffer, number) || buffer[0] == '\0')
        return text + " is not a hexadecimal number";
    if (number > maximum)
        return FormatText("%s is above %X", text.c_str(), maximum);
    value = static_cast<int>(number);
    return {};
}

} // namespace vireoctl
