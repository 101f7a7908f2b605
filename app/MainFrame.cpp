#include "app/MainFrame.h"

#include "app/CameraSettingsMenu.h"
#include "app/IdentifyCamera.h"
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "comm/ComIF.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "res/Resource.h"

#include <QCloseEvent>
#include <QMenuBar>

CMainFrame::CMainFrame()
{
    // The frame goes when it is closed, taking the view and the log window with it.
    setAttribute(Qt::WA_DeleteOnClose);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame()
{
    if (OnCreate() == -1)
        return false;
    auto* view = new CVireoView;
    if (!view->Create(this)) {
        delete view;
        return false;
    }
    setCentralWidget(view);
    view->show();
    m_pCameraSettings = new CCameraSettingsMenu(this, menuBar(), view);
    m_pIdentify = std::make_unique<CIdentifyCamera>(this, view, &g_ComIF);
    m_pCameraSettings->SetPageRefresh([view](CameraModel model) {
        for (int i = 0; i < CVireoView::kModelCount; ++i)
            if (std::string(CVireoView::kModelNames[i]) == CameraModelName(model))
                view->RefreshShownPage(i);
    });
    return true;
}

int CMainFrame::OnCreate()
{
    setWindowTitle(QStringLiteral("VireoStudio"));
    setWindowIcon(ui::LoadIcon(IDR_MAINFRAME));
    if (!ui::LoadMenu(menuBar(), IDR_MAINFRAME, [this](int command) { OnCommand(command); }))
        return -1;
    CSplashWnd::ShowSplashScreen(this);
    return 0;
}

CVireoView* CMainFrame::GetActiveView() const
{
    return dynamic_cast<CVireoView*>(centralWidget());
}

void CMainFrame::FitToView()
{
    QWidget* view = centralWidget();
    if (!view)
        return;
    const QSize form = view->size();
    view->setFixedSize(form);
    QMenuBar* bar = menuBar();
    const int menuHeight =
        bar->hasHeightForWidth() ? bar->heightForWidth(form.width()) : bar->sizeHint().height();
    setFixedSize(form.width(), form.height() + menuHeight);
}

void CMainFrame::OnCommand(int command)
{
    switch (command) {
    case ID_APP_EXIT:
        close();
        break;
    case ID_COMM_SETUP:
        g_ComIF.ShowSetupDialog();
        break;
    case ID_COMM_IDENTIFY_CAMERA:
        if (m_pIdentify)
            m_pIdentify->OnIdentifyCamera();
        break;
    case ID_FILE_SAVE_CAMERA_SETTINGS:
        if (m_pCameraSettings)
            m_pCameraSettings->OnSaveCameraSettings();
        break;
    case ID_FILE_LOAD_CAMERA_SETTINGS:
        if (m_pCameraSettings)
            m_pCameraSettings->OnLoadCameraSettings();
        break;
    case ID_APP_ABOUT:
        theApp.OnAppAbout();
        break;
    default:
        break;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // No port hands another line to the log window from here on, whatever thread it runs on.
    g_ComIF.SetWindowLogging(false);
    event->accept();
}
