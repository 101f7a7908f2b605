#include "tools/vireoctl/ScriptCommand.h"

#include "comm/ComIF.h"
#include "comm/LinkAction.h"
#include "tools/vireoctl/IdentityGuard.h"
#include "tools/vireoctl/Interrupt.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace vireoctl {
namespace {

// No script comes near this many lines; the limit keeps a runaway input from filling memory.
constexpr std::size_t kScriptLinesMax = 100000;
constexpr std::size_t kScriptLineMax = 4096;

// One line without its end into text, keeping at most kScriptLineMax characters; false at the
// end of the input. tooLong tells that characters were left out.
bool ReadLine(std::istream& in, std::string& text, bool& tooLong)
{
    text.clear();
    tooLong = false;
    int c = 0;
    bool any = false;
    while ((c = in.get()) != std::char_traits<char>::eof() && c != '\n') {
        any = true;
        if (text.size() < kScriptLineMax)
            text += static_cast<char>(c);
        else
            tooLong = true;
    }
    return any || c == '\n';
}

} // namespace

bool ParseScript(std::istream& in, std::vector<ScriptLine>& lines, std::string& problem)
{
    std::string text;
    bool tooLong = false;
    int number = 0;
    while (ReadLine(in, text, tooLong)) {
        ++number;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (tooLong) {
            problem = where + "longer than " + std::to_string(kScriptLineMax) + " characters";
            return false;
        }
        if (lines.size() >= kScriptLinesMax) {
            problem = where + "more than " + std::to_string(kScriptLinesMax) + " commands";
            return false;
        }
        if (!text.empty() && text.back() == '\r')
            text.pop_back(); // a CR LF line end
        // A NUL would cut a word short where it is read as C text; tabs separate words.
        if (const auto control = std::find_if(text.begin(), text.end(),
                                              [](char c) {
                                                  const auto byte = static_cast<unsigned char>(c);
                                                  return (byte < 0x20 && c != '\t') || byte == 0x7F;
                                              });
            control != text.end()) {
            problem = where + FormatText("control character %02X in the line",
                                         static_cast<unsigned char>(*control));
            return false;
        }
        std::istringstream words(text);
        ScriptLine line;
        line.number = number;
        for (std::string word; words >> word;)
            line.args.push_back(word);
        if (line.args.empty() || line.args[0][0] == '#')
            continue;
        if (!IsPortActionCommand(line.args[0])) {
            problem = where + line.args[0] + ": not a script command (read, write, call, " +
                      "identify, sleep)";
            return false;
        }
        std::string why;
        line.action = ParsePortAction(line.args, why);
        if (!line.action) {
            problem = where + why;
            return false;
        }
        lines.push_back(std::move(line));
    }
    return true;
}

int RunScript(const Options& options)
{
    if (const auto refused = RequireOneTarget(options))
        return *refused;
    bool keepGoing = false;
    std::string source;
    for (std::size_t i = 1; i < options.args.size(); ++i) {
        const std::string& arg = options.args[i];
        if (arg == "--keep-going")
            keepGoing = true;
        else if (source.empty() && !arg.empty() && (arg == "-" || arg.rfind("--", 0) != 0))
            source = arg;
        else
            return UsageError("script: " + arg + ": " +
                              (source.empty() ? "not a file name or option" : "one file only"));
    }

    std::vector<ScriptLine> lines;
    std::string problem;
    bool parsed = false;
    if (source.empty() || source == "-") {
        parsed = ParseScript(std::cin, lines, problem);
    } else {
        std::ifstream file(source);
        if (!file) {
            return UsageError("error: " + source + ": cannot be read");
        }
        parsed = ParseScript(file, lines, problem);
    }
    if (!parsed)
        return UsageError("script: " + problem);
    if (lines.empty())
        return kExitOk;

    {
        const CLinkAction opening;
        if (!OpenPort(options))
            return kExitFailed;
    }
    // A signal ends the script between two lines, each write made on record.
    const InterruptScope interruptible;
    const CancelOnSignal cancellable(g_ComIF);
    int status = kExitOk;
    bool checked = false;                        // the camera's identity, once for the connection
    std::optional<AcceptedReplacement> accepted; // settled by the first write that succeeds
    const auto settle = [&accepted, &status](bool changed) {
        SetLinePrefix({});
        if (const auto failed = SettleReplacement(*accepted, changed)) {
            ErrorLine(failed->line);
            status = kExitFailed;
        }
        accepted.reset();
    };
    for (const ScriptLine& line : lines) {
        if (InterruptSignal() != 0)
            break;
        if (!checked && PortActionWrites(line.args)) {
            checked = true;
            // The refusal is about the camera, not the line before it.
            SetLinePrefix({});
            const CLinkAction action;
            if (const auto refused = CheckBeforeWrite(
                    options, options.targets.empty() ? Target{} : options.targets.front(), g_ComIF,
                    false, accepted)) {
                ErrorLine(refused->line);
                status = kExitFailed;
                break;
            }
        }
        SetLinePrefix("line " + std::to_string(line.number) + ": ");
        int result = kExitOk;
        {
            // Each line is its own action: a time-out on one does not skip the next one's
            // exchanges (without --keep-going the loop ends at the failure anyway).
            const CLinkAction action;
            result = line.action(g_ComIF);
        }
        // With nobody left to read the values, sending the rest would be for nothing. The values
        // are written in batches: a reader that went away is seen at the next one.
        if (accepted && result == kExitOk && PortActionWrites(line.args))
            settle(true);
        if (!OutputWritable())
            break;
        if (result == kExitOk)
            continue;
        if (status == kExitOk)
            status = result;
        if (!keepGoing)
            break;
    }
    if (accepted)
        settle(false);
    SetLinePrefix({});
    Finish(CResult());
    EndIfInterrupted();
    return status;
}

} // namespace vireoctl
