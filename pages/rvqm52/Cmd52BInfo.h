// RVQM52 "Info": the identity texts with the short CPU version and the FPGA version. Serves both
// RVQM52 models.
#pragma once

#include "pages/common/InfoPage.h"

class CRVQM52BM14Reg;

class CCmd52BInfo : public pages::CInfoPage {
public:
    explicit CCmd52BInfo(pages::MapSlot<CRVQM52BM14Reg> map);

    void Refresh() override;

    char m_szFpgaVersion[64] = {};

protected:
    // This family's CPU text is eight characters, and the FPGA text follows it.
    void ReadCpuVersion(CRVXReg& map) override;

private:
    pages::MapSlot<CRVQM52BM14Reg> m_qm52Map;
};
