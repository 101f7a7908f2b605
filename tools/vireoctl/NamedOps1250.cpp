// The RV1250LX register map's own operations by name, in the order the map declares them.
#include "camera/RVX1250Reg.h"
#include "tools/vireoctl/OpBinding.h"

namespace vireoctl::binding {

std::vector<NamedOp> Operations1250()
{
    std::vector<NamedOp> ops;
    AddCommonOperations(ops);
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, GetShutterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, SetShutterSpeed));
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, SetGain));
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, GetGain));
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, SetOutLevelOffset));
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, GetOutLevelOffset));
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, SetOutLevelGain));
    ops.push_back(VIREO_NAMED_OP(CRVX1250Reg, GetOutLevelGain));
    return ops;
}

} // namespace vireoctl::binding
