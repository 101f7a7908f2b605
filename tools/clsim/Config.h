// What the simulated frame grabber offers, read once from the environment: its cameras (one per
// port), manufacturer name, port version, supported rates, camera faults and library errors on
// request. See README.md for the variable's syntax.
#pragma once

#include "platform/camlink/ClAllSerial.h"
#include "tools/camsim/Camera.h"

#include <map>
#include <string>
#include <vector>

namespace clsim {

inline constexpr const char* kConfigVariable = "CLSIM_CONFIG";

struct Config {
    std::string manufacturer = "VireoSim";
    std::vector<camsim::Model> models = {camsim::Model::RV1240DLX, camsim::Model::RV1250LX,
                                         camsim::Model::RVQM52BM14, camsim::Model::RVQM52CM14};
    CLUINT32 version = 3; // the version of the interface the ports comply with
    CLUINT32 rates = 0xFF;
    camsim::Faults faults;                   // applied to every camera
    bool wireTime = false;                   // replies take their wire time at the port's rate
    std::map<std::string, CLINT32> failures; // call name -> the code it answers
};

// Parses "key=value;key=value". Settings it cannot use are named in problems and left at their
// defaults.
Config ParseConfig(const std::string& text, std::vector<std::string>& problems);

} // namespace clsim
