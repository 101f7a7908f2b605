#include "app/MainFrame.h"

#include "app/CameraSettingsMenu.h"
#include "app/CameraStatusBar.h"
#include "app/ChangeHistoryDlg.h"
#include "app/CommSetup.h"
#include "app/IdentifyCamera.h"
#include "app/ModelMismatchBar.h"
#include "app/SplashWnd.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "app/WindowAudit.h"
#include "camera/RVXReg.h"
#include "camera/inventory/ChosenCamera.h"
#include "comm/ComIF.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Resources.h"
#include "platform/ui/StatusLine.h"
#include "res/Resource.h"
#include "pages/FailureText.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <algorithm>

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>

CMainFrame::CMainFrame()
{
    // The frame goes when it is closed, taking the view and the log window with it.
    setAttribute(Qt::WA_DeleteOnClose);
}

CMainFrame::~CMainFrame()
{
    g_ComIF.SetLostPortCheck({});
    ui::SetStatusLineHandler({});
    pages::CCmdPage::SetReadRule({});
}

namespace {
// How long a command's word stays in the status bar.
constexpr int kStatusLineMs = 10000;
} // namespace

bool CMainFrame::LoadFrame()
{
    if (OnCreate() == -1)
        return false;
    auto* view = new CVireoView;
    if (!view->Create(this)) {
        delete view;
        return false;
    }
    // On a screen too small for the form its pages scroll inside the window.
    m_pScroll = new QScrollArea(this);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    m_pScroll->setAccessibleName(QStringLiteral("Camera pages"));
    m_pScroll->setWidget(view);
    setCentralWidget(m_pScroll);
    m_pView = view;
    view->show();
    // Pages read only through an open port.
    pages::CCmdPage::SetReadRule([] { return g_ComIF.PortOpen(); });
    // A camera plugged in where another was is named before anything is sent to it.
    g_ComIF.SetLostPortCheck([this](bool reopened) { return OnLostPort(reopened); });
    m_pStatus = new CCameraStatusBar(this);
    setStatusBar(m_pStatus);
    // What a page's command did shows for a while over the camera's line.
    ui::SetStatusLineHandler([status = m_pStatus](const std::string& text) {
        status->showMessage(QString::fromStdString(text), kStatusLineMs);
    });
    m_pMismatch = new CModelMismatchBar(this);
    m_pMismatch->SetChooseModel([view](const std::string& name) { view->ChooseModel(name); });
    // A fixed strip above the form, shown only with the bar.
    m_pMismatchArea = new QToolBar(this);
    m_pMismatchArea->setMovable(false);
    m_pMismatchArea->setFloatable(false);
    m_pMismatchArea->toggleViewAction()->setVisible(false);
    m_pMismatchArea->addWidget(m_pMismatch);
    m_pMismatchArea->setVisible(false);
    addToolBar(Qt::TopToolBarArea, m_pMismatchArea);
    view->SetModelListener([this] { ShowModelMismatch(); });
    FitToView();
    m_pCameraSettings = new CCameraSettingsMenu(this, menuBar(), view);
    m_pCameraSettings->SetAttachedCamera([this] { return m_attached; });
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
    return m_pView;
}

QSize CMainFrame::MinimumSize()
{
    return {320, 240};
}

void CMainFrame::FitToView()
{
    QWidget* view = GetActiveView();
    if (!view)
        return;
    const QSize form = view->size();
    view->setFixedSize(form);
    QMenuBar* bar = menuBar();
    const int menuHeight =
        bar->hasHeightForWidth() ? bar->heightForWidth(form.width()) : bar->sizeHint().height();
    int barsHeight = 0;
    if (m_pMismatchArea && !m_pMismatchArea->isHidden())
        barsHeight += m_pMismatchArea->sizeHint().height();
    if (m_pStatus) {
        m_pStatus->FitTo(form.width());
        barsHeight += m_pStatus->sizeHint().height();
    }
    const QSize full(form.width(), form.height() + menuHeight + barsHeight);
    // The window manager's frame, guessed generously until the window has one.
    QMargins frame(4, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8, 4, 4);
    if (isVisible() && frameGeometry() != geometry())
        frame = QMargins(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    QSize room = full;
    if (const QScreen* shown = screen())
        room = shown->availableGeometry().size().shrunkBy(frame);
    setMaximumSize(full);
    setMinimumSize(full.boundedTo(MinimumSize()));
    resize(full.boundedTo(room).expandedTo(minimumSize()));
    ShowCameraInTitle();
}

void CMainFrame::ShowCameraInTitle()
{
    QString title = QStringLiteral("VireoStudio");
    if (!m_cameraName.empty())
        title += QStringLiteral(" - ") + QString::fromStdString(m_cameraName);
    setWindowTitle(title);
}

void CMainFrame::OnPortOpened()
{
    const auto camera = inventory::CameraInUse(g_ComIF);
    m_cameraName = camera ? camera->name : std::string();
    TakeAttached(IdentifyAttachedCamera(g_ComIF));
    // A longer line may need a taller status bar.
    FitToView();
    // With no model chosen yet the camera's own pages are the ones wanted; a choice the user
    // made (now or in the last run) stays.
    CVireoView* view = GetActiveView();
    if (view && view->ChosenModelName().empty() && m_attached.result.Ok() && m_attached.kind)
        view->ChooseModel(CameraModelName(*m_attached.kind));
    ShowModelMismatch();
}

void CMainFrame::TakeAttached(const AttachedCamera& camera)
{
    m_attached = camera;
    // Changes are recorded against this camera, and only what was read from it counts as the
    // value before a change.
    SetAuditedCamera(m_attached);
    for (CRVXReg* map : {theApp.m_pBaseReg1240, theApp.m_pBaseReg1250, theApp.m_pBaseRegQM52})
        if (map)
            map->ForgetReads();
    if (m_pStatus)
        m_pStatus->Show(m_attached);
    if (CVireoView* view = GetActiveView())
        view->ForgetCamera();
}

CResult CMainFrame::OnLostPort(bool reopened)
{
    if (!reopened) {
        AttachedCamera lost = m_attached;
        lost.portLost = true;
        m_attached = lost;
        if (m_pStatus)
            m_pStatus->Show(m_attached);
        ShowModelMismatch();
        return {};
    }
    const AttachedCamera before = m_attached;
    const AttachedCamera now = IdentifyAttachedCamera(g_ComIF);
    const bool known = before.result.Ok() && !before.portLost;
    const bool same = now.result.Ok() && now.model == before.model && now.serial == before.serial;
    if (same && known) {
        m_attached = now;
        if (m_pStatus)
            m_pStatus->Show(m_attached);
        return {};
    }
    TakeAttached(now);
    ShowModelMismatch();
    const std::string port = now.port;
    // Without an identity nothing may be written under the old camera's name.
    if (now.result.Failed())
        return now.result.WithNotice("The port " + port +
                                     " was opened again, but the camera there could not be "
                                     "identified: " +
                                     pages::FailureReason(now.result) + ". Nothing was sent.");
    const bool sameModel = now.model == before.model;
    if (known && !sameModel)
        return CResult(LINK_OTHER_CAMERA)
            .WithNotice("The camera on " + port + " is now " + CameraDescription(now) + ", not " +
                        CameraDescription(before) + ". Nothing was sent.");
    // With no camera known before, the pages chosen must at least be the camera's.
    if (!known && m_pMismatch && m_pMismatch->Wanted())
        return CResult(LINK_OTHER_CAMERA)
            .WithNotice("The camera on " + port + " is " + CameraDescription(now) +
                        "; the pages are for another model. Nothing was sent.");
    if (known && !AskYesNo("The camera on " + port + " is now " + CameraDescription(now) +
                               ", not " + CameraDescription(before) + ".\nGo on with this camera?",
                           "Camera Replaced"))
        return CResult(LINK_CANCELLED);
    return {};
}

void CMainFrame::ShowModelMismatch()
{
    CVireoView* view = GetActiveView();
    if (!m_pMismatch || !view)
        return;
    const bool known =
        m_attached.portOpen && !m_attached.portLost && m_attached.result.Ok() && m_attached.kind;
    m_pMismatch->Take(m_attached.port, known ? CameraModelName(*m_attached.kind) : "",
                      view->ChosenModelName());
    if (m_pMismatchArea->isHidden() == m_pMismatch->Wanted()) {
        m_pMismatchArea->setVisible(m_pMismatch->Wanted());
        FitToView();
    }
}

void CMainFrame::OnCommand(int command)
{
    switch (command) {
    case ID_APP_EXIT:
        close();
        break;
    case ID_COMM_SETUP:
        ShowCommSetup(g_ComIF);
        OnPortOpened();
        break;
    case ID_VIEW_LOG_WINDOW:
        if (CVireoView* view = GetActiveView())
            view->OpenLogWindow();
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
        if (m_pCameraSettings &&
            (!GetActiveView() || GetActiveView()->SettleShownPage(CVireoView::Leave::Reload)))
            m_pCameraSettings->OnLoadCameraSettings();
        break;
    case ID_HELP_CHANGE_HISTORY: {
        CChangeHistoryDlg history(this, m_attached, ConfiguredAuditPath());
        history.exec();
        break;
    }
    case ID_APP_ABOUT:
        theApp.OnAppAbout();
        break;
    default:
        break;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (CVireoView* view = GetActiveView();
        view && !view->SettleShownPage(CVireoView::Leave::Close)) {
        event->ignore();
        return;
    }
    // No port hands another line to the log window from here on, whatever thread it runs on.
    g_ComIF.SetWindowLogging(false);
    event->accept();
}
