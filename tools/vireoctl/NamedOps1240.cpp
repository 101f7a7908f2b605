// The RV1240DLX register map's own operations by name, in the order the map declares them.
#include "camera/RVX1240Reg.h"
#include "tools/vireoctl/OpBinding.h"

namespace vireoctl::binding {

std::vector<NamedOp> Operations1240()
{
    std::vector<NamedOp> ops;
    AddCommonOperations(ops);
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetShutterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetShutterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetShutter));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetShutter));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, ClearAfeCalControlBits));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetOffsetLevel));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetOffsetLevel));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetOutLevelOffset));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetOutLevelOffset));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetPldGain));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetPldGain));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetPxga1));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetPxga2));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetPxga3));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetPxga4));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetPxga1));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetPxga2));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetPxga3));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetPxga4));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetVOffsetFlag));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetVOffsetFlag));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetAosAccLen));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAosAccLen));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetAccLenOffset));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAccLenOffset));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetPower));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetPower));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetDelayCnt));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetDelayCnt));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetCcdControl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetCcdControl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetOutPutCtrl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetOutPutCtrl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetShatterMd1));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetShatterMd1));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetShatterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetShatterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetTrigger1));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetTrigger1));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetTrigger2));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetTrigger2));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetSubSampling));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetSubSampling));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetRegisterUpdate));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetBitInfo));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetBitInfo));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetWindowEnable));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetWindowEnable));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos1Hi));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos1Low));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos2Hi));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos2Low));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos3Hi));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos3Low));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos4Hi));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeVos4Low));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeBlkAdjDataDebugHi));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeBlkAdjDataDebugLow));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeBlkAdjCalcMode));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeBlkCalibrationCount));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeCalControl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeCalStatus));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeHiControl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetAfeBcalMode));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetAfeCalControl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetAfeCalStatus));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetAfeHiControl));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetAfeBcalMode));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, SetOutLevelGain));
    ops.push_back(VIREO_NAMED_OP(CRVX1240Reg, GetOutLevelGain));
    return ops;
}

} // namespace vireoctl::binding
