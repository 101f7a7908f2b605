// A simulated camera served on a pseudo-terminal, for tests that open a real port on it.
#pragma once

#include "comm/ComIF.h"
#include "tools/camsim/PtyServer.h"

#include <string>

namespace testing_support {

struct PtyCamera {
    explicit PtyCamera(camsim::Model model = camsim::Model::RV1240DLX)
        : camera(model), server(camera)
    {
    }

    // Starts serving. False with why.
    bool Start(std::string& failure) { return server.Start(failure); }
    // Starts serving and points the facade's RS-232C port at the camera (as
    // UseSimulatedCameraPort does, with the given reply time-out).
    bool Attach(CComIF& facade, int timeoutMs, std::string& failure);
    const std::string& Path() const { return server.SlavePath(); }

    camsim::Camera camera;
    camsim::PtyServer server;
};

} // namespace testing_support
