#include "platform/ui/UserAction.h"

namespace ui {
namespace {
// Used on the user interface thread only.
ActionRunner g_runner;
} // namespace

ActionRunner SetActionRunner(ActionRunner runner)
{
    ActionRunner previous = std::move(g_runner);
    g_runner = std::move(runner);
    return previous;
}

void RunUserAction(const std::string& label, const std::function<void()>& body)
{
    if (g_runner)
        g_runner(label, body);
    else
        body();
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
