// Opens the port facade's RS-232C port on a simulated camera's pseudo-terminal at 9600 baud with
// STX/ETX framing, as the benchmarks measure it. Reports a failure to the benchmark and returns
// false.
#pragma once

#include "comm/ComIF.h"
#include "tools/camsim/PtyServer.h"

#include <benchmark/benchmark.h>

#include <string>

namespace bench {

inline constexpr int kBaud = 9600;

inline bool OpenSimulatedPort(camsim::PtyServer& server, benchmark::State& state)
{
    std::string failure;
    if (!server.Start(failure)) {
        state.SkipWithError(failure.c_str());
        return false;
    }
    g_ComIF.PortType = PORT_RS232C;
    CComSettings& s = g_ComIF.m_Rs232c.m_Settings;
    s.PortName = server.SlavePath();
    s.BaudRate = kBaud;
    s.ByteSize = 8;
    s.HsTimeOut = 3000;
    s.Prefix = 2;
    s.Suffix = 3;
    if (!g_ComIF.Open()) {
        state.SkipWithError("port did not open");
        return false;
    }
    return true;
}

} // namespace bench
