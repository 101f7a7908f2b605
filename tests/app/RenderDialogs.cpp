// Draws every window of the application shell offscreen into PNG files, so that their layout can
// be looked at without a display. Usage: RenderDialogs <output directory>
#include "app/AboutDlg.h"
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/VireoView.h"
#include "comm/ComIF.h"
#include "comm/CommSetDlg.h"
#include "pages/rvqm52/Cmd52BInfo.h"
#include "pages/rvqm52/Cmd52BMem.h"
#include "pages/rvqm52/Cmd52BPartial.h"
#include "pages/rvqm52/Cmd52BRegister.h"
#include "pages/rvqm52/Cmd52BSelfChk.h"
#include "pages/rvqm52/Cmd52BShatter.h"
#include "pages/rvqm52/Cmd52BUsrGain.h"
#include "pages/rvqm52/Cmd52CColor.h"
#include "pages/rvqm52/Cmd52CPartial.h"
#include "pages/rvqm52/Cmd52CUsrGain.h"
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

// Every page of the two RVQM52 sets, each created hidden in a host of its own and then shown, as
// the view does; without a camera the pages show what they hold before any read.
void SaveRvqm52Pages()
{
    struct Shot {
        pages::CCmdPage* page;
        const char* name;
    };
    CCmd52BInfo info;
    CCmd52BSelfChk selfChk;
    CCmd52BMem mem;
    CCmd52BRegister reg;
    CCmd52BShatter shatter;
    CCmd52BPartial partial;
    CCmd52BUsrGain usrGain;
    CCmd52CPartial colourPartial;
    CCmd52CUsrGain colourUsrGain;
    CCmd52CColor color;
    const Shot shots[] = {
        {&info, "rvqm52-info"},
        {&selfChk, "rvqm52-selfcheck"},
        {&usrGain, "rvqm52b-usergain"},
        {&shatter, "rvqm52-shutter"},
        {&partial, "rvqm52b-partial"},
        {&mem, "rvqm52-memory"},
        {&reg, "rvqm52-register"},
        {&colourUsrGain, "rvqm52c-usergain"},
        {&colourPartial, "rvqm52c-partial"},
        {&color, "rvqm52c-color"},
    };
    for (const Shot& shot : shots) {
        QWidget host;
        if (!shot.page->Create(&host)) {
            std::fprintf(stderr, "cannot create %s\n", shot.name);
            ++g_failures;
            continue;
        }
        host.resize(shot.page->size());
        host.show();
        shot.page->ShowWindow(true);
        Save(shot.page, shot.name);
        shot.page->setParent(nullptr);
    }
}

// Grabs the next modal dialog, then ends it.
void SaveModal(const char* name)
{
    gui_test::WhenModal([name](QWidget* modal) {
        Save(modal, name);
        static_cast<QDialog*>(modal)->done(0);
    });
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

    SaveRvqm52Pages();

    return g_failures == 0 ? 0 : 1;
}
