// The RVQM52 register map's own operations by name, in the order the map declares them.
#include "camera/RVQM52BM14Reg.h"
#include "tools/vireoctl/OpBinding.h"

namespace vireoctl::binding {

std::vector<NamedOp> OperationsQM52()
{
    std::vector<NamedOp> ops;
    AddCommonOperations(ops);
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetShortCpuVersion));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetFpgaVersion));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetShutterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetShutterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetPartialVStart));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetPartialVStart));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetPartialHeight));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetPartialHeight));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetWhiteBalanceMode));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetWhiteBalanceMode));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetGamma));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetGamma));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetMasking));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetMask));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetOutputFormat));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetOutputFormat));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetRGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetRGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetOffsetLevel));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetOffsetLevel));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetOutLevelOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetOutLevelOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetOutLevelGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetOutLevelGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetOpwb));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetWbColorTemp));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetWbColorTemp));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetGrOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetGrOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetGbOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetGbOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetROffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetROffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBOffset));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetGrGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetGrGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetGbGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetGbGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetAbb));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetRGain3000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetRGain3000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBGain3000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBGain3000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetRGain3700K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetRGain3700K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBGain3700K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBGain3700K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetRGain4000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetRGain4000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBGain4000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBGain4000K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetRGain4500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetRGain4500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBGain4500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBGain4500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetRGain5500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetRGain5500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBGain5500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBGain5500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetRGain6500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetRGain6500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetBGain6500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetBGain6500K));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetMaskRGGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetMaskRGGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetMaskRBGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetMaskRBGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetMaskGBGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetMaskGBGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetMaskGRGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetMaskGRGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetMaskBRGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetMaskBRGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, GetMaskBGGain));
    ops.push_back(VIREO_NAMED_OP(CRVQM52BM14Reg, SetMaskBGGain));
    return ops;
}

} // namespace vireoctl::binding
