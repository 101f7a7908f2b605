#include "app/VireoView.h"

#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/VireoApp.h"
#include "camera/RVX1240Reg.h"
#include "comm/ComIF.h"
#include "res/Resource.h"

#include <new>

const char* const CVireoView::kModelNames[kModelCount] = {"RV1240DLX", "RV1250LX", "RVQM52BM14",
                                                          "RVQM52CM14"};
const int CVireoView::kModelTabs[kModelCount] = {IDC_TAB_RV1240, IDC_TAB_RV1250, IDC_TAB_RVQM52B,
                                                 IDC_TAB_RVQM52C};

CVireoView::CVireoView() : ui::Dialog(IDD_VIREOSTUDIO_FORM)
{
    OnSelChange(IDC_COMBO_MODEL, [this] { SelectModelPages(); });
    OnClicked(IDC_BUTTON_UPDATE, [this] { OnRegisterUpdate(); });
}

CVireoView::~CVireoView()
{
    if (m_pLogDlg) {
        ILogWriter* expected = m_pLogDlg;
        g_pLogDlg.compare_exchange_strong(expected, nullptr);
        delete m_pLogDlg;
        m_pLogDlg = nullptr;
    }
}

void CVireoView::OnInitialUpdate()
{
    UpdateData(false);

    if (auto* frame = dynamic_cast<CMainFrame*>(window()))
        frame->FitToView();

    m_pLogDlg = new (std::nothrow) CLogDlg;
    if (m_pLogDlg) {
        g_pLogDlg = m_pLogDlg;
        m_pLogDlg->Create(this);
        m_pLogDlg->ShowWindow(true);
    }

    g_ComIF.Open();
}

void CVireoView::SelectModelPages()
{
    for (int tab : kModelTabs)
        GetWindow(tab).ShowWindow(false);
    ui::ComboBox models = GetComboBox(IDC_COMBO_MODEL);
    const std::string model = models.GetLBText(models.GetCurSel());
    for (int i = 0; i < kModelCount; ++i)
        if (model == kModelNames[i]) {
            GetWindow(kModelTabs[i]).ShowWindow(true);
            break;
        }
}

void CVireoView::OnRegisterUpdate()
{
    if (theApp.m_pReg1240)
        theApp.m_pReg1240->SetRegisterUpdate(1);
}
