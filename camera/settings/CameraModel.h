// The four camera models, their names, and the register map that serves each of them.
#pragma once

#include <memory>
#include <optional>
#include <string>

class CComIF;
class CRVXReg;

enum class CameraModel { RV1240DLX, RV1250LX, RVQM52BM14, RVQM52CM14 };

inline constexpr CameraModel kCameraModels[] = {CameraModel::RV1240DLX, CameraModel::RV1250LX,
                                                CameraModel::RVQM52BM14, CameraModel::RVQM52CM14};

const char* CameraModelName(CameraModel model);
// The model a name stands for; blanks around it are ignored, since a camera pads its text.
std::optional<CameraModel> CameraModelFromName(const std::string& name);
// The RVQM52 models share one register map and carry a separate FPGA version text.
bool IsRVQM52(CameraModel model);

// How many user memory banks the model has (its Memory page's Bank0..Bank3): banks 0..n-1.
int MemoryBankCount(CameraModel model);

// A register map of the model's family on comIF: CRVX1240Reg, CRVX1250Reg or CRVQM52BM14Reg.
std::unique_ptr<CRVXReg> MakeRegisterMap(CameraModel model, CComIF* comIF);
