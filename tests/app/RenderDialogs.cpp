// Draws every window of the application shell offscreen into PNG files, so that their layout can
// be looked at without a display. Usage: RenderDialogs <output directory>
#include "app/AboutDlg.h"
#include "app/IdentifyCamera.h"
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "comm/ComIF.h"
#include "app/CommSetDlg.h"
#include "tests/app/AppMaps.h"
#include "tests/camera/CamsimLink.h"
#include "tools/camsim/Camera.h"
#include "platform/ui/Resources.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

QDir g_out;
int g_failures = 0;

void Save(QWidget* widget, const char* name)
{
    const QString path = g_out.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// Grabs the next modal dialog, then ends it.
void SaveModal(const char* name)
{
    gui_test::WhenModal([name](QWidget* modal) {
        Save(modal, name);
        static_cast<QDialog*>(modal)->done(0);
    });
}

// Every setting page of every model, as the main window shows it, with the values of a
// simulated camera of that model.
void SavePages(CMainFrame& frame, CVireoView& view)
{
    const camsim::Model models[CVireoView::kModelCount] = {
        camsim::Model::RV1240DLX, camsim::Model::RV1250LX, camsim::Model::RVQM52BM14,
        camsim::Model::RVQM52CM14};
    view.CreatePageTabs();
    ui::ComboBox list = view.GetComboBox(IDC_COMBO_MODEL);
    for (int model = 0; model < CVireoView::kModelCount; ++model) {
        camsim::Camera camera(models[model]);
        testing_support::CamsimLink link(camera);
        testing_support::ScopedAppMaps maps(&link);
        list.SetCurSel(list.FindStringExact(-1, CVireoView::kModelNames[model]));
        view.SelectModelPages();
        ui::TabCtrl tab = view.GetTabCtrl(view.Set(model).tabId);
        for (const CVireoView::PageEntry& entry : view.Set(model).pages) {
            tab.SetCurSel(entry.tabIndex);
            view.ShowCurrentPage(model);
            const std::string name =
                std::string("page-") + CVireoView::kModelNames[model] + "-" + entry.caption;
            Save(&frame, name.c_str());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    g_out.mkpath(QStringLiteral("."));
    testing_support::ScopedSettingsDir settings;
    res::Install();

    QPixmap splash = ui::LoadBitmap(IDB_SPLASH);
    if (splash.save(g_out.filePath(QStringLiteral("splash.png"))))
        std::printf("%s\n", qPrintable(g_out.filePath(QStringLiteral("splash.png"))));
    else
        ++g_failures;

    CMainFrame frame;
    frame.LoadFrame();
    frame.FitToView();
    frame.show();
    Save(&frame, "main-window");
    SavePages(frame, *frame.GetActiveView());

    CLogDlg log;
    log.Create(nullptr);
    log.AddCommLog("STAT: Port Open Sucsess CAS No.:0 Vendor:VireoSim Port:clsim0 RV1240DLX\n");
    log.AddCommLog("SEND: [STX]6E01[ETX]");
    log.AddCommLog("RCV : [ACK]");
    log.AddSeqLog("\tRegister Update Execute Done.");
    log.ShowWindow(true);
    Save(&log, "log-window-com");
    log.m_tab.SetCurSel(1);
    log.m_tabComm.ShowWindow(false);
    log.m_tabSeq.ShowWindow(true);
    Save(&log, "log-window-seq");

    CComIF comIF;
    comIF.m_Cas.m_nPortCount = 4;
    CComSettings values;
    values.PortName = "COM3";
    values.BaudRate = 115200;
    values.HsTimeOut = 3000;
    int casPort = -1;
    int portType = 1;
    CCommSetDlg setup;
    SaveModal("comm-setup");
    setup.DoModal(&comIF, values, casPort, portType);

    CAboutDlg about;
    SaveModal("about");
    about.DoModal();

    // "Identify Camera" with an RVQM52CM14 attached while the RV1240DLX is chosen: the offer.
    {
        camsim::Camera camera(camsim::Model::RVQM52CM14);
        testing_support::CamsimLink link(camera);
        CVireoView& view = *frame.GetActiveView();
        ui::ComboBox list = view.GetComboBox(IDC_COMBO_MODEL);
        list.SetCurSel(list.FindStringExact(-1, "RV1240DLX"));
        CIdentifyCamera identify(&frame, &view, &link);
        SaveModal("identify-camera");
        identify.OnIdentifyCamera();
    }

    return g_failures == 0 ? 0 : 1;
}
