#include "tests/comm/FakeClLibrary.h"

#include "platform/camlink/ClAllSerial.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace fakecl {
namespace {

struct State {
    std::vector<FakePort> ports;
    std::uint32_t rates = 0xFF;
    std::map<std::string, std::int32_t> failures;
    std::vector<bool> open;
    std::vector<std::string> pending; // reply of the next write
    std::deque<std::string> pieces;   // reply of the last write, not yet arrived
    std::string arrived;              // arrived and not yet read
    std::vector<std::string> calls;
    std::string written;
    std::size_t bytesRead = 0;
};

std::mutex g_mutex;
State g_state;
// Serial references are addresses within this array, one per port index.
char g_references[64];

// Records the call; answers the failure set for it, or CL_ERR_NO_ERR.
std::int32_t Enter(const std::string& name, const std::string& arguments = {})
{
    g_state.calls.push_back(arguments.empty() ? name : name + " " + arguments);
    const auto found = g_state.failures.find(name);
    return found == g_state.failures.end() ? CL_ERR_NO_ERR : found->second;
}

int PortOf(hSerRef reference)
{
    const char* at = static_cast<const char*>(reference);
    if (at < g_references || at >= g_references + sizeof g_references)
        return -1;
    const int index = static_cast<int>(at - g_references);
    return index < static_cast<int>(g_state.open.size()) && g_state.open[index] ? index : -1;
}

CLINT32 PutText(const std::string& text, CLINT8* buffer, CLUINT32* size)
{
    if (*size < text.size() + 1) {
        *size = static_cast<CLUINT32>(text.size() + 1);
        return CL_ERR_BUFFER_TOO_SMALL;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *size = static_cast<CLUINT32>(text.size() + 1);
    return CL_ERR_NO_ERR;
}

} // namespace

void Reset()
{
    std::lock_guard lock(g_mutex);
    g_state = State{};
}

void SetPorts(const std::vector<FakePort>& ports)
{
    std::lock_guard lock(g_mutex);
    g_state.ports = ports;
    g_state.ports.resize(std::min(ports.size(), sizeof g_references));
    g_state.open.assign(g_state.ports.size(), false);
}

void SetSupportedRates(std::uint32_t mask)
{
    std::lock_guard lock(g_mutex);
    g_state.rates = mask;
}

void Fail(const std::string& call, std::int32_t code)
{
    std::lock_guard lock(g_mutex);
    g_state.failures[call] = code;
}

void ReplyInPieces(const std::vector<std::string>& pieces)
{
    std::lock_guard lock(g_mutex);
    g_state.pending = pieces;
}

std::vector<std::string> Calls()
{
    std::lock_guard lock(g_mutex);
    return g_state.calls;
}

int CountOf(const std::string& call)
{
    std::lock_guard lock(g_mutex);
    return static_cast<int>(
        std::count_if(g_state.calls.begin(), g_state.calls.end(), [&](const std::string& entry) {
            return entry == call || entry.rfind(call + " ", 0) == 0;
        }));
}

std::string Written()
{
    std::lock_guard lock(g_mutex);
    return g_state.written;
}

std::size_t BytesRead()
{
    std::lock_guard lock(g_mutex);
    return g_state.bytesRead;
}

} // namespace fakecl

using fakecl::g_mutex;
using fakecl::g_state;

extern "C" {

CL_SERIAL_EXPORT CLINT32 clGetNumPorts(CLUINT32* ports)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clGetNumPorts"))
        return failure;
    *ports = static_cast<CLUINT32>(g_state.ports.size());
    return CL_ERR_NO_ERR;
}

CL_SERIAL_EXPORT CLINT32 clGetPortInfo(CLUINT32 serialIndex, CLINT8* manufacturerName,
                                       CLUINT32* nameBytes, CLINT8* portID, CLUINT32* IDBytes,
                                       CLUINT32* version)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clGetPortInfo", std::to_string(serialIndex)))
        return failure;
    if (serialIndex >= g_state.ports.size())
        return CL_ERR_INVALID_INDEX;
    const fakecl::FakePort& port = g_state.ports[serialIndex];
    if (const CLINT32 result = fakecl::PutText(port.manufacturer, manufacturerName, nameBytes))
        return result;
    if (const CLINT32 result = fakecl::PutText(port.id, portID, IDBytes))
        return result;
    *version = port.version;
    return CL_ERR_NO_ERR;
}

CL_SERIAL_EXPORT CLINT32 clSerialInit(CLUINT32 serialIndex, hSerRef* serialRefPtr)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clSerialInit", std::to_string(serialIndex)))
        return failure;
    if (serialIndex >= g_state.ports.size())
        return CL_ERR_INVALID_INDEX;
    if (g_state.open[serialIndex])
        return CL_ERR_PORT_IN_USE;
    g_state.open[serialIndex] = true;
    *serialRefPtr = fakecl::g_references + serialIndex;
    return CL_ERR_NO_ERR;
}

#ifndef FAKECL_PARTIAL
CL_SERIAL_EXPORT CLINT32 clGetSupportedBaudRates(hSerRef serialRef, CLUINT32* baudRates)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clGetSupportedBaudRates"))
        return failure;
    if (fakecl::PortOf(serialRef) < 0)
        return CL_ERR_INVALID_REFERENCE;
    *baudRates = g_state.rates;
    return CL_ERR_NO_ERR;
}

CL_SERIAL_EXPORT CLINT32 clSetBaudRate(hSerRef serialRef, CLUINT32 baudRate)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clSetBaudRate", std::to_string(baudRate)))
        return failure;
    if (fakecl::PortOf(serialRef) < 0)
        return CL_ERR_INVALID_REFERENCE;
    return (baudRate & g_state.rates) ? CL_ERR_NO_ERR : CL_ERR_BAUD_RATE_NOT_SUPPORTED;
}

CL_SERIAL_EXPORT CLINT32 clGetErrorText(const CLINT8* manuName, CLINT32 errorCode,
                                        CLINT8* errorText, CLUINT32* errorTextSize)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clGetErrorText", std::string(manuName) + " " +
                                                                    std::to_string(errorCode)))
        return failure;
    char text[192];
    std::snprintf(text, sizeof text, "%s says %d", manuName, errorCode);
    return fakecl::PutText(text, errorText, errorTextSize);
}
#endif

CL_SERIAL_EXPORT CLINT32 clFlushPort(hSerRef serialRef)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clFlushPort"))
        return failure;
    if (fakecl::PortOf(serialRef) < 0)
        return CL_ERR_INVALID_REFERENCE;
    g_state.arrived.clear();
    return CL_ERR_NO_ERR;
}

CL_SERIAL_EXPORT CLINT32 clSerialWrite(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize,
                                       CLUINT32 serialTimeout)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clSerialWrite", std::to_string(*bufferSize) + " " +
                                                                   std::to_string(serialTimeout)))
        return failure;
    if (fakecl::PortOf(serialRef) < 0)
        return CL_ERR_INVALID_REFERENCE;
    g_state.written.append(buffer, *bufferSize);
    g_state.pieces.assign(g_state.pending.begin(), g_state.pending.end());
    g_state.pending.clear();
    return CL_ERR_NO_ERR;
}

CL_SERIAL_EXPORT CLINT32 clGetNumBytesAvail(hSerRef serialRef, CLUINT32* numBytes)
{
    std::lock_guard lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clGetNumBytesAvail"))
        return failure;
    if (fakecl::PortOf(serialRef) < 0)
        return CL_ERR_INVALID_REFERENCE;
    if (!g_state.pieces.empty()) {
        g_state.arrived += g_state.pieces.front();
        g_state.pieces.pop_front();
    }
    *numBytes = static_cast<CLUINT32>(g_state.arrived.size());
    return CL_ERR_NO_ERR;
}

CL_SERIAL_EXPORT CLINT32 clSerialRead(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize,
                                      CLUINT32 serialTimeout)
{
    std::unique_lock lock(g_mutex);
    if (const CLINT32 failure = fakecl::Enter("clSerialRead", std::to_string(*bufferSize) + " " +
                                                                  std::to_string(serialTimeout)))
        return failure;
    if (fakecl::PortOf(serialRef) < 0)
        return CL_ERR_INVALID_REFERENCE;
    // While the read waits, the next piece of the reply arrives; without one the read waits
    // out its time-out, as a library's read does.
    if (*bufferSize > g_state.arrived.size() && !g_state.pieces.empty()) {
        g_state.arrived += g_state.pieces.front();
        g_state.pieces.pop_front();
    }
    if (*bufferSize > g_state.arrived.size()) {
        *bufferSize = 0;
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(serialTimeout));
        return CL_ERR_TIMEOUT;
    }
    std::memcpy(buffer, g_state.arrived.data(), *bufferSize);
    g_state.arrived.erase(0, *bufferSize);
    g_state.bytesRead += *bufferSize;
    return CL_ERR_NO_ERR;
}

CL_SERIAL_EXPORT void clSerialClose(hSerRef serialRef)
{
    std::lock_guard lock(g_mutex);
    fakecl::Enter("clSerialClose");
    if (const int port = fakecl::PortOf(serialRef); port >= 0)
        g_state.open[port] = false;
}

} // extern "C"
