#include "camera/settings/CameraIdentity.h"

#include "camera/RVQM52BM14Reg.h"

#include <algorithm>

CResult ReadCameraModel(CComIF* comIF, std::string& modelName, std::optional<CameraModel>& kind)
{
    CRVXReg reg(comIF);
    char text[kIdTextSize] = {};
    const CResult result = reg.GetModelName(text);
    if (result != 0)
        return result;
    modelName = text;
    kind = CameraModelFromName(modelName);
    return REG_OK;
}

CResult ReadCameraSerial(CComIF* comIF, std::string& serial)
{
    CRVXReg reg(comIF);
    char text[kSerialNoSize] = {};
    if (const CResult result = reg.GetSerialNo(text))
        return result;
    serial = text;
    return REG_OK;
}

CResult ReadCameraIdentity(CComIF* comIF, CameraIdentity& identity)
{
    CRVXReg reg(comIF);
    CameraIdentity found;
    char text[kIdTextSize] = {};
    if (const CResult result = reg.GetVenderName(text))
        return result;
    found.vendor = text;
    if (const CResult result = ReadCameraModel(comIF, found.model, found.kind))
        return result;
    if (const CResult result = ReadCameraSerial(comIF, found.serial))
        return result;
    if (found.kind && IsRVQM52(*found.kind)) {
        // On this family the CPU text is 8 characters and the FPGA text follows it.
        CRVQM52BM14Reg qm52(comIF);
        char cpu[kShortVersionSize] = {};
        char fpga[kShortVersionSize] = {};
        if (const CResult result = qm52.GetShortCpuVersion(cpu))
            return result;
        if (const CResult result = qm52.GetFpgaVersion(fpga))
            return result;
        found.cpu = cpu;
        found.fpga = fpga;
    } else {
        std::fill(std::begin(text), std::end(text), '\0');
        if (const CResult result = reg.GetCpuVersion(text))
            return result;
        found.cpu = text;
    }
    identity = std::move(found);
    return REG_OK;
}
