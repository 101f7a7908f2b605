#include "tools/vireoctl/NamedOps.h"

#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "tools/vireoctl/OpBinding.h"

#include <charconv>

namespace vireoctl {
namespace binding {

bool ParseInteger(const std::string& text, long long minimum, long long maximum, long long& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    bool negative = false;
    if (first != last && *first == '-' && minimum < 0) {
        negative = true;
        ++first;
    }
    int base = 10;
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
        base = 16;
        first += 2;
    }
    // from_chars takes no sign of its own here: the one sign was taken above.
    if (first == last || *first == '-' || *first == '+')
        return false;
    unsigned long long magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude, base);
    if (error != std::errc() || end != last || magnitude > (1ULL << 62))
        return false;
    const long long number =
        negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    if (number < minimum || number > maximum)
        return false;
    value = number;
    return true;
}

namespace {

// Prints the eight flags, flag 0 first.
NamedOp ErrorModeBitsOp()
{
    NamedOp op;
    op.name = "GetErrorModeBits";
    op.arity = 0;
    op.bind = [](const std::vector<std::string>& args) -> BoundOp {
        if (!args.empty())
            return {};
        return [](CRVXReg& map, std::vector<std::string>& outputs) {
            std::int32_t flags[kErrorModeBits] = {};
            const CResult result = map.GetErrorModeBits(flags);
            if (result == 0)
                for (const std::int32_t flag : flags)
                    outputs.push_back(std::to_string(flag));
            return result;
        };
    };
    return op;
}

// Prints the model kind the map stands for; it exchanges nothing and cannot fail.
NamedOp ModelTypeOp()
{
    NamedOp op;
    op.name = "GetModelType";
    op.arity = 0;
    op.bind = [](const std::vector<std::string>& args) -> BoundOp {
        if (!args.empty())
            return {};
        return [](CRVXReg& map, std::vector<std::string>& outputs) {
            outputs.push_back(std::to_string(map.GetModelType()));
            return CResult();
        };
    };
    return op;
}

} // namespace

void AddCommonOperations(std::vector<NamedOp>& ops)
{
    ops.push_back(VIREO_NAMED_OP(CRVXReg, LoadBankMemory));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, ResetBankMemory));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SaveBankMemory));
    ops.push_back(ModelTypeOp());
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetRegister));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetRegister));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, RegisterUpdateExecute));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetVenderName));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetVenderName));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetSerialNo));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetSerialNo));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetModelName));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetModelName));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetCpuVersion));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetCpuVersion));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetErrorMode));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetErrorStatus));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetErrorStatus2));
    ops.push_back(ErrorModeBitsOp());
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetOffset));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetTriggerPolarity));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetTriggerPolarity));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetShutterMode));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetShutterMode));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetScanMode));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetScanMode));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetMultipleShutter));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetMultipleShutter));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, GetRandomMode));
    ops.push_back(VIREO_NAMED_OP(CRVXReg, SetRandomMode));
}

} // namespace binding

std::optional<MapKind> MapOfModel(const std::string& model)
{
    if (model == "RV1240DLX")
        return MapKind::RV1240;
    if (model == "RV1250LX")
        return MapKind::RV1250;
    if (model == "RVQM52BM14" || model == "RVQM52CM14")
        return MapKind::RVQM52;
    return std::nullopt;
}

std::unique_ptr<CRVXReg> MakeMap(MapKind kind, CComIF* comIF)
{
    switch (kind) {
    case MapKind::RV1240:
        return std::make_unique<CRVX1240Reg>(comIF);
    case MapKind::RV1250:
        return std::make_unique<CRVX1250Reg>(comIF);
    case MapKind::RVQM52:
        return std::make_unique<CRVQM52BM14Reg>(comIF);
    }
    return nullptr;
}

const std::vector<NamedOp>& OperationsOf(MapKind kind)
{
    static const std::vector<NamedOp> ops1240 = binding::Operations1240();
    static const std::vector<NamedOp> ops1250 = binding::Operations1250();
    static const std::vector<NamedOp> opsQM52 = binding::OperationsQM52();
    switch (kind) {
    case MapKind::RV1240:
        return ops1240;
    case MapKind::RV1250:
        return ops1250;
    case MapKind::RVQM52:
        break;
    }
    return opsQM52;
}

std::string ArgumentProblem(const NamedOp& op, const std::vector<std::string>& args)
{
    if (args.size() != op.arity)
        return "takes " + std::to_string(op.arity) + " argument" + (op.arity == 1 ? "" : "s") +
               ", not " + std::to_string(args.size());
    std::string problem = op.check ? op.check(args) : std::string();
    return problem.empty() ? "the arguments do not fit" : problem;
}

const NamedOp* FindOperation(MapKind kind, const std::string& name)
{
    for (const NamedOp& op : OperationsOf(kind))
        if (op.name == name)
            return &op;
    return nullptr;
}

} // namespace vireoctl
