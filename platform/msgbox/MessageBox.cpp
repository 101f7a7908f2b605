#include "platform/msgbox/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_hookMutex;
MessageBoxHook g_hook;
QuestionHook g_questionHook;
ChangesHook g_changesHook;

// A hook is set by the window's thread and read by whichever thread shows a box.
template <class Hook> Hook Exchange(Hook& slot, Hook hook)
{
    std::lock_guard lock(g_hookMutex);
    Hook previous = std::move(slot);
    slot = std::move(hook);
    return previous;
}

template <class Hook> Hook Current(const Hook& slot)
{
    std::lock_guard lock(g_hookMutex);
    return slot;
}
} // namespace

QuestionHook SetQuestionHook(QuestionHook hook)
{
    return Exchange(g_questionHook, std::move(hook));
}

bool AskYesNo(const std::string& text, const std::string& caption)
{
    const QuestionHook hook = Current(g_questionHook);
    return hook && hook(text, caption);
}

ChangesHook SetChangesHook(ChangesHook hook)
{
    return Exchange(g_changesHook, std::move(hook));
}

ChangesChoice AskApplyDiscardCancel(const std::string& text, const std::string& caption)
{
    const ChangesHook hook = Current(g_changesHook);
    return hook ? hook(text, caption) : ChangesChoice::Discard;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    return Exchange(g_hook, std::move(hook));
}

void ShowMessageBox(const std::string& text, const std::string& caption, MsgIcon icon)
{
    const MessageBoxHook hook = Current(g_hook);
    if (hook) {
        hook(text, caption, icon);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
