#include "app/VireoApp.h"

#include "app/AboutDlg.h"
#include "app/ActionUi.h"
#include "app/CommSetDlg.h"
#include "app/CommSetup.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/StartupPort.h"
#include "app/VireoView.h"
#include "app/WindowAudit.h"
#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/MessageBoxes.h"
#include "platform/ui/Style.h"
#include "res/Resources.h"

#include <QApplication>

#include <new>

CVireoApp theApp;

namespace {

// Hands every event of the program to the application object before it is delivered.
class AppMessageFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return theApp.PreTranslateMessage(watched, event);
    }
};

} // namespace

CVireoApp::CVireoApp() = default;

CVireoApp::~CVireoApp()
{
    delete m_pReg1240;
    m_pReg1240 = nullptr;
    delete m_pReg1250;
    m_pReg1250 = nullptr;
    delete m_pRegQM52;
    m_pRegQM52 = nullptr;
    m_pBaseReg1240 = m_pBaseReg1250 = m_pBaseRegQM52 = nullptr;
}

bool CVireoApp::ShowSplashFor(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('/')) && !argument.startsWith(QLatin1Char('-')))
            continue;
        const QString name = argument.mid(1);
        if (name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

void CVireoApp::CreateRegisterMaps()
{
    m_pReg1240 = new (std::nothrow) CRVX1240Reg(&g_ComIF);
    m_pReg1250 = new (std::nothrow) CRVX1250Reg(&g_ComIF);
    m_pRegQM52 = new (std::nothrow) CRVQM52BM14Reg(&g_ComIF);
    m_pBaseReg1240 = m_pReg1240;
    m_pBaseReg1250 = m_pReg1250;
    m_pBaseRegQM52 = m_pRegQM52;
}

bool CVireoApp::InitInstance(const QStringList& arguments)
{
    CSplashWnd::EnableSplashScreen(ShowSplashFor(arguments));
    profile::SetRegistryKey("KORVALIS CORPORATION", "VireoStudio");
    CreateRegisterMaps();
    // Every register the window writes leaves a line in the audit trail.
    for (CRVXReg* map : {m_pBaseReg1240, m_pBaseReg1250, m_pBaseRegQM52})
        if (map)
            WatchRegisterWrites(*map);

    // What stands in for the framework: resources, message boxes and the setup dialog.
    res::Install();
    QApplication::setStyle(ui::CreateApplicationStyle());
    // The menu bar is part of the fixed-size main window, never a desktop's global menu; so the
    // window need not ask the session bus for one before it can appear.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    ui::InstallMessageBoxHook();
    ui::InstallQuestionHook();
    ui::InstallChangesHook();
    RegisterCommSetDlg();
    QApplication::setQuitOnLastWindowClosed(false);

    auto* frame = new CMainFrame;
    m_pMainWnd = frame;
    ui::SetMainWindow(frame);
    // Every user action of the window runs through it from here on; it ends with the frame.
    new CActionUi(frame);
    QObject::connect(frame, &QObject::destroyed, qApp, [this] {
        m_pMainWnd = nullptr;
        QCoreApplication::quit();
    });
    if (!frame->LoadFrame()) {
        delete frame;
        return false;
    }
    frame->GetActiveView()->OnInitialUpdate();

    frame->show();
    frame->update();
    // The window reaches the screen now, not after the log window, the settings and the setup
    // dialog are built.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    frame->GetActiveView()->ShowLogWindow();
    // Installed last, so that it sees every event first, before the log window's key filter
    // too (no input has been handled yet).
    qApp->installEventFilter(new AppMessageFilter(qApp));

    g_ComIF.Initialize();
    OpenPortAtStartUp(g_ComIF);
    frame->OnPortOpened();
    return true;
}

int CVireoApp::ExitInstance(int exitCode)
{
    SetSetupDialogFactory({});
    SetMessageBoxHook({});
    SetQuestionHook({});
    SetChangesHook({});
    ui::SetMainWindow(nullptr);
    return exitCode;
}

bool CVireoApp::PreTranslateMessage(QObject* receiver, QEvent* event)
{
    return CSplashWnd::PreTranslateAppMessage(receiver, event);
}

void CVireoApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
