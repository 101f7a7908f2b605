// Serves one simulated camera on a pseudo-terminal: a program opens the slave device as it
// would a serial port.
#pragma once

#include "tools/camsim/Camera.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace camsim {

class PtyServer {
public:
    explicit PtyServer(Camera& camera);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pseudo-terminal and starts serving. Returns false with a reason on failure.
    bool Start(std::string& failure);
    // Ends serving and closes the pseudo-terminal: to a program on the slave, the device is gone.
    void Stop();

    const std::string& SlavePath() const { return m_slavePath; }

    // How long the line must stay quiet before a request without ETX counts as complete.
    static constexpr int kIdleMs = 20;

private:
    void Serve();
    void Send(const std::string& reply, std::size_t requestBytes);
    // Waits ms unless the server is being stopped; returns false when it is.
    bool Pause(std::chrono::microseconds time);

    Camera& m_camera;
    int m_master = -1;
    int m_slaveHold = -1; // keeps the slave side alive between clients
    int m_stopRead = -1;
    int m_stopWrite = -1;
    std::string m_slavePath;
    std::thread m_thread;
    std::mutex m_stopMutex;
    std::condition_variable m_stopRequested;
    bool m_stopping = false;
};

} // namespace camsim
