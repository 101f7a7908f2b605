#include "pages/rvqm52/Cmd52BInfo.h"

#include "camera/RVQM52BM14Reg.h"
#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

CCmd52BInfo::CCmd52BInfo(pages::MapSlot<CRVQM52BM14Reg> map)
    : pages::CInfoPage(IDD_CMD52B_INFO,
                       {IDC_52INFO_REFRESH, IDC_52INFO_VENDOR, IDC_52INFO_MODEL, IDC_52INFO_SERIAL,
                        IDC_52INFO_CPU},
                       map),
      m_qm52Map(std::move(map))
{
    BindControls(m_szFpgaVersion, {IDC_52INFO_FPGA});
}

void CCmd52BInfo::ReadCpuVersion(CRVXReg& /*map*/)
{
    if (CRVQM52BM14Reg* map = m_qm52Map.Get()) {
        ReadText(m_szCpuVersion, map->GetShortCpuVersion(m_szCpuVersion));
        ReadText(m_szFpgaVersion, map->GetFpgaVersion(m_szFpgaVersion));
    }
}

void CCmd52BInfo::Refresh()
{
    pages::CInfoPage::Refresh();
    SetDlgItemText(IDC_52INFO_FPGA, m_szFpgaVersion);
}
