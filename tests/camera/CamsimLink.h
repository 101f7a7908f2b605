// A port facade whose far end is an in-process simulated camera: each request goes straight to
// the camera and its reply comes back without prefix and suffix. Requests can be refused (NAK)
// or left unanswered (time-out) one by one, to see how an operation handles a failure part-way.
#pragma once

#include "comm/ComIF.h"
#include "tools/camsim/Camera.h"

#include <set>
#include <string>
#include <vector>

namespace testing_support {

class CamsimLink : public CComIF {
public:
    explicit CamsimLink(camsim::Camera& camera) : m_camera(camera) {}

    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override;

    // Request frames sent, without STX and ETX ("42FF", "43RQ").
    std::vector<std::string> Sent() const { return m_sent; }
    // Only the write requests among them.
    std::vector<std::string> Writes() const;
    void ClearSent() { m_sent.clear(); }

    // Requests (without STX and ETX) answered with NAK, or not at all, instead of reaching the
    // camera.
    std::set<std::string> refuse;
    std::set<std::string> ignore;

private:
    camsim::Camera& m_camera;
    std::vector<std::string> m_sent;
};

} // namespace testing_support
