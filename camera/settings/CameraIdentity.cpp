#include "camera/settings/CameraIdentity.h"

#include "camera/RVQM52BM14Reg.h"

#include <algorithm>

int ReadCameraModel(CComIF* comIF, std::string& modelName, std::optional<CameraModel>& kind)
{
    CRVXReg reg(comIF);
    char text[kIdTextSize] = {};
    const int result = reg.GetModelName(text);
    if (result != 0)
        return result;
    modelName = text;
    kind = CameraModelFromName(modelName);
    return 0;
}

int ReadCameraIdentity(CComIF* comIF, CameraIdentity& identity)
{
    CRVXReg reg(comIF);
    CameraIdentity found;
    char text[kIdTextSize] = {};
    if (const int result = reg.GetVenderName(text); result != 0)
        return result;
    found.vendor = text;
    if (const int result = ReadCameraModel(comIF, found.model, found.kind); result != 0)
        return result;
    char serial[kSerialNoSize] = {};
    if (const int result = reg.GetSerialNo(serial); result != 0)
        return result;
    found.serial = serial;
    if (found.kind && IsRVQM52(*found.kind)) {
        // On this family the CPU text is 8 characters and the FPGA text follows it.
        CRVQM52BM14Reg qm52(comIF);
        char cpu[kShortVersionSize] = {};
        char fpga[kShortVersionSize] = {};
        if (const int result = qm52.GetShortCpuVersion(cpu); result != 0)
            return result;
        if (const int result = qm52.GetFpgaVersion(fpga); result != 0)
            return result;
        found.cpu = cpu;
        found.fpga = fpga;
    } else {
        std::fill(std::begin(text), std::end(text), '\0');
        if (const int result = reg.GetCpuVersion(text); result != 0)
            return result;
        found.cpu = text;
    }
    identity = std::move(found);
    return 0;
}
