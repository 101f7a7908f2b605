#include "platform/msgbox/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_hookMutex;
MessageBoxHook g_hook;
} // namespace

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
