// The ser2net program of the system serving one serial device on loopback, through an
// RFC 2217 accepter and a raw TCP accepter on ports picked free at run time.
#pragma once

#include <atomic>

#include <string>
#include <vector>

namespace testing_support {

class Ser2netServer {
public:
    // The ser2net program, or an empty text when it is not installed.
    static std::string Program();

    Ser2netServer() = default;
    ~Ser2netServer();
    Ser2netServer(const Ser2netServer&) = delete;
    Ser2netServer& operator=(const Ser2netServer&) = delete;

    // Writes the configuration, starts the server and waits until both accepters listen.
    bool Start(const std::string& devicePath, std::string& failure);
    // Serves several devices, each through an RFC 2217 accepter of its own (Rfc2217Url(i));
    // the first also through the raw TCP one.
    bool Start(const std::vector<std::string>& devicePaths, std::string& failure);
    // Ends the server by its process id: SIGTERM (Stop) or SIGKILL (Kill), then waits for it.
    void Stop();
    void Kill();

    std::string Rfc2217Url(std::size_t device = 0) const;
    std::string RawUrl() const;
    int Pid() const { return m_pid; }

    // The server closes a device a moment after a connection ends; a next connection, or a
    // program opening the device itself, waits for that (for every device served).
    bool WaitDeviceReleased(double seconds = 10) const;

private:
    void End(int signal);

    std::string m_dir;
    std::vector<std::string> m_devices;
    std::vector<int> m_rfc2217Ports;
    int m_rawPort = 0;
    std::atomic<int> m_pid{-1}; // read by a test's other threads while it kills the server
};

// A TCP port on 127.0.0.1 that nobody listens on now.
int FreeLoopbackPort();

} // namespace testing_support
