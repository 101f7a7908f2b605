#include "platform/ui/UserAction.h"

#include <utility>

namespace ui {
namespace {
// Used on the user interface thread only.
ActionRunner g_runner;
int g_depth = 0;
std::string g_failure;
bool g_failureTold = false;
std::function<void()> g_closing;
} // namespace

ActionRunner SetActionRunner(ActionRunner runner)
{
    ActionRunner previous = std::move(g_runner);
    g_runner = std::move(runner);
    return previous;
}

void RunUserAction(const std::string& label, const std::function<void()>& body)
{
    struct Depth {
        Depth()
        {
            // Nothing of an earlier action is told with this one.
            if (g_depth++ == 0) {
                g_failure.clear();
                g_failureTold = false;
            }
        }
        ~Depth() { --g_depth; }
    } depth;
    const bool outermost = g_depth == 1;
    const std::function<void()> whole = [&] {
        body();
        if (outermost && g_closing)
            g_closing();
    };
    if (g_runner)
        g_runner(label, whole);
    else
        whole();
}

void SetActionClosing(std::function<void()> closing)
{
    g_closing = std::move(closing);
}

bool UserActionUnderWay()
{
    return g_depth > 0;
}

void ReportActionFailure(const std::string& text)
{
    if (g_failure.empty())
        g_failure = text;
}

std::string TakeActionFailure()
{
    return std::exchange(g_failure, {});
}

void ActionFailureTold()
{
    g_failureTold = true;
}

bool TakeActionFailureTold()
{
    return std::exchange(g_failureTold, false);
}

std::string ReadingLabel(const std::string& what)
{
    return "Reading " + what + " from the camera...";
}

std::string CommandLabel(const std::string& caption)
{
    std::string text;
    // A mnemonic's "&" is no part of what the user reads.
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    if (text.empty())
        return "Talking to the camera...";
    return text + ": talking to the camera...";
}

} // namespace ui
