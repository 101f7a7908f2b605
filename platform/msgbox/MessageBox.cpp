#include "platform/msgbox/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_hookMutex;
MessageBoxHook g_hook;
QuestionHook g_questionHook;
ChangesHook g_changesHook;
} // namespace

QuestionHook SetQuestionHook(QuestionHook hook)
{
    std::lock_guard lock(g_hookMutex);
    QuestionHook previous = std::move(g_questionHook);
    g_questionHook = std::move(hook);
    return previous;
}

bool AskYesNo(const std::string& text, const std::string& caption)
{
    QuestionHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_questionHook;
    }
    return hook && hook(text, caption);
}

ChangesHook SetChangesHook(ChangesHook hook)
{
    std::lock_guard lock(g_hookMutex);
    ChangesHook previous = std::move(g_changesHook);
    g_changesHook = std::move(hook);
    return previous;
}

ChangesChoice AskApplyDiscardCancel(const std::string& text, const std::string& caption)
{
    ChangesHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_changesHook;
    }
    return hook ? hook(text, caption) : ChangesChoice::Discard;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    std::lock_guard lock(g_hookMutex);
    MessageBoxHook previous = std::move(g_hook);
    g_hook = std::move(hook);
    return previous;
}

void ShowMessageBox(const std::string& text, const std::string& caption, MsgIcon icon)
{
    MessageBoxHook hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_hook;
    }
    if (hook) {
        hook(text, caption, icon);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
