#include "app/SetupDialog.h"

#include <mutex>

namespace {
std::mutex g_dialogMutex;
SetupDialogFactory g_dialogFactory;
} // namespace

SetupDialogFactory SetSetupDialogFactory(SetupDialogFactory factory)
{
    std::lock_guard lock(g_dialogMutex);
    SetupDialogFactory previous = std::move(g_dialogFactory);
    g_dialogFactory = std::move(factory);
    return previous;
}

std::unique_ptr<ISetupDialog> CreateSetupDialog()
{
    SetupDialogFactory factory;
    {
        std::lock_guard lock(g_dialogMutex);
        factory = g_dialogFactory;
    }
    return factory ? factory() : nullptr;
}
