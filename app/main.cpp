// VireoStudio: reads and writes the settings of industrial cameras over their serial control
// channel.
#include "app/CommandLine.h"
#include "app/VireoApp.h"
#include "comm/ComIF.h"
#include "platform/serial/HeldPorts.h"

#include <QApplication>

#include <cstdio>

// The port facade is linked ahead of the application object (see CMakeLists.txt), so that it is
// built first and destroyed last; this reference pulls it in at that point of the link.
[[gnu::used]] static CComIF* const kPortFacade = &g_ComIF;

int main(int argc, char** argv)
{
    // Before anything opens a descriptor: a port must never take the place of a closed standard
    // one, where stray output would reach the camera.
    serial::HoldClosedStandardDescriptors();
    if (const auto answer = InfoSwitchAnswer(argc, argv)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    // Ended by a signal, the window must not leave its port held for exclusive use.
    serial::ReleaseHeldPortsOnSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VireoStudio"));
    // Desktops match the windows to the installed desktop entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.korvalis.VireoStudio"));
    if (!theApp.InitInstance(QApplication::arguments()))
        return theApp.ExitInstance(1);
    const int exitCode = QApplication::exec();
    return theApp.ExitInstance(exitCode);
}
