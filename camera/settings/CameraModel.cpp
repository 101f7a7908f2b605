#include "camera/settings/CameraModel.h"

#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"

const char* CameraModelName(CameraModel model)
{
    switch (model) {
    case CameraModel::RV1240DLX:
        return "RV1240DLX";
    case CameraModel::RV1250LX:
        return "RV1250LX";
    case CameraModel::RVQM52BM14:
        return "RVQM52BM14";
    case CameraModel::RVQM52CM14:
        return "RVQM52CM14";
    }
    return "";
}

std::optional<CameraModel> CameraModelFromName(const std::string& name)
{
    const auto first = name.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = name.find_last_not_of(" \t");
    const std::string trimmed = name.substr(first, last - first + 1);
    for (CameraModel model : kCameraModels)
        if (trimmed == CameraModelName(model))
            return model;
    return std::nullopt;
}

bool IsRVQM52(CameraModel model)
{
    return model == CameraModel::RVQM52BM14 || model == CameraModel::RVQM52CM14;
}

int MemoryBankCount(CameraModel /*model*/)
{
    // Every model keeps four user banks; the register takes 0..7, but a bank above 3 is no
    // bank the camera's user settings can be called back from.
    return 4;
}

std::unique_ptr<CRVXReg> MakeRegisterMap(CameraModel model, CComIF* comIF)
{
    switch (model) {
    case CameraModel::RV1240DLX:
        return std::make_unique<CRVX1240Reg>(comIF);
    case CameraModel::RV1250LX:
        return std::make_unique<CRVX1250Reg>(comIF);
    case CameraModel::RVQM52BM14:
    case CameraModel::RVQM52CM14:
        return std::make_unique<CRVQM52BM14Reg>(comIF);
    }
    return nullptr;
}
