#include "platform/ui/StatusLine.h"

#include <utility>

namespace ui {
namespace {

// The UI thread's alone, as the pages and the window are.
StatusLineHandler g_handler;

} // namespace

void SetStatusLineHandler(StatusLineHandler handler)
{
    g_handler = std::move(handler);
}

void ShowStatusLine(const std::string& text)
{
    if (g_handler)
        g_handler(text);
}

} // namespace ui
