// Soak of the RS-232C link: register writes and read-backs through the port facade over a
// pseudo-terminal, with the simulated camera misbehaving on 1 % of the exchanges (garbage,
// silence, a reply split into pieces, NAK). Reports the failures by kind, exchanges that hung
// (waited past their time-out), wrong values, and the resident memory at start and end.
//
//   exchange_soak [EXCHANGES] [FAULT_PERCENT]     (default 100000 and 1)
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "platform/log/LogWriter.h"
#include "tools/camsim/PtyServer.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReplyTimeoutMs = 100;
// An exchange that takes this much longer than its time-out counts as hung.
constexpr auto kHangMargin = std::chrono::milliseconds(1000);
constexpr int kFirstRegister = 0x100;
constexpr int kRegisters = 0x100;

enum class Injected { None, Garbage, Silent, Split, Nak };

const char* NameOf(Injected fault)
{
    switch (fault) {
    case Injected::None:
        return "none";
    case Injected::Garbage:
        return "garbage";
    case Injected::Silent:
        return "silence";
    case Injected::Split:
        return "split reply";
    case Injected::Nak:
        return "NAK";
    }
    return "?";
}

camsim::Faults FaultsOf(Injected fault)
{
    camsim::Faults faults;
    switch (fault) {
    case Injected::Garbage:
        faults.fault = camsim::Fault::Garbage;
        break;
    case Injected::Silent:
        faults.fault = camsim::Fault::Silent;
        break;
    case Injected::Split:
        faults.split = true;
        break;
    case Injected::Nak:
        faults.fault = camsim::Fault::Nak;
        break;
    case Injected::None:
        break;
    }
    return faults;
}

long ResidentKiB()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Takes every record the port writes, as the log window would, and only counts them.
class CountingLog final : public ILogWriter {
public:
    int AddCommLog(const char*) override
    {
        ++records;
        return 0;
    }
    int AddSeqLog(const char*) override
    {
        ++records;
        return 0;
    }
    std::atomic<long> records{0};
};

} // namespace

int main(int argc, char** argv)
{
    const long total = argc > 1 ? std::atol(argv[1]) : 100000;
    const double faultPercent = argc > 2 ? std::atof(argv[2]) : 1.0;
    if (total <= 0 || faultPercent < 0 || faultPercent > 100) {
        std::fprintf(stderr, "usage: exchange_soak [EXCHANGES] [FAULT_PERCENT]\n");
        return 2;
    }

    long boxes = 0;
    CountingLog log;
    g_pLogDlg.store(&log);

    camsim::Camera camera;
    camsim::PtyServer server(camera);
    std::string failure;
    if (!server.Start(failure)) {
        std::fprintf(stderr, "exchange_soak: %s\n", failure.c_str());
        return 1;
    }
    g_ComIF.PortType = PORT_RS232C;
    CComSettings& s = g_ComIF.m_Rs232c.m_Settings;
    s.PortName = server.SlavePath();
    s.BaudRate = 9600;
    s.ByteSize = 8;
    s.HsTimeOut = kReplyTimeoutMs;
    s.Prefix = 2;
    s.Suffix = 3;
    if (!g_ComIF.Open()) {
        std::fprintf(stderr, "exchange_soak: the port did not open\n");
        return 1;
    }
    CRVXReg reg(&g_ComIF);

    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> chance(0.0, 100.0);
    std::uniform_int_distribution<int> kind(1, 4);
    std::array<int, kRegisters> expected{};
    for (int i = 0; i < kRegisters; ++i)
        expected[i] = camera.Get(kFirstRegister + i);

    std::map<Injected, long> injected;
    std::map<std::string, long> failures; // "fault: result" -> count
    long hangs = 0;
    long wrongValues = 0;
    long unexpected = 0; // failures of exchanges that had no fault injected
    auto longest = Clock::duration::zero();
    const long residentStart = ResidentKiB();
    long residentWarm = residentStart;
    const auto start = Clock::now();

    for (long n = 0; n < total; ++n) {
        if (n == 1000)
            residentWarm = ResidentKiB();
        const Injected fault =
            chance(random) < faultPercent ? static_cast<Injected>(kind(random)) : Injected::None;
        ++injected[fault];
        camera.SetFaults(FaultsOf(fault));

        // Even exchanges write a register, odd ones read it back.
        const int index = static_cast<int>((n / 2) % kRegisters);
        const int address = kFirstRegister + index;
        const bool write = n % 2 == 0;
        const int value = static_cast<int>((n * 7 + 3) & 0xFF);
        std::uint8_t read = 0;
        const auto begin = Clock::now();
        const CResult result =
            write ? reg.WriteRegister(address, value) : reg.ReadRegister(address, read);
        const auto took = Clock::now() - begin;
        longest = std::max(longest, took);
        if (took > std::chrono::milliseconds(kReplyTimeoutMs) + kHangMargin)
            ++hangs;

        if (result == 0 && write)
            expected[index] = value;
        if (result == 0 && !write && read != expected[index])
            ++wrongValues;
        if (!result.Notice().empty())
            ++boxes;
        if (result != 0) {
            ++failures[std::string(NameOf(fault)) + ": result " + std::to_string(result.Code())];
            if (fault == Injected::None)
                ++unexpected;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    g_ComIF.Close();
    g_pLogDlg.store(nullptr);
    const long residentEnd = ResidentKiB();

    std::printf("exchanges: %ld in %.1f s, faults injected on %.2f %%\n", total, seconds,
                faultPercent);
    for (const auto& [fault, count] : injected)
        std::printf("  injected %-12s %ld\n", NameOf(fault), count);
    std::printf("failures by kind:\n");
    for (const auto& [what, count] : failures)
        std::printf("  %-26s %ld\n", what.c_str(), count);
    std::printf("failures without an injected fault: %ld\n", unexpected);
    std::printf("wrong values read: %ld\n", wrongValues);
    std::printf("hangs (past time-out + %lld ms): %ld; longest exchange %.1f ms (time-out %d ms)\n",
                static_cast<long long>(kHangMargin.count()), hangs,
                std::chrono::duration<double, std::milli>(longest).count(), kReplyTimeoutMs);
    std::printf("notices: %ld, log records: %ld\n", boxes, log.records.load());
    std::printf("resident memory: %ld KiB at start, %ld KiB after 1000 exchanges, %ld KiB at end\n",
                residentStart, residentWarm, residentEnd);
    return hangs == 0 && wrongValues == 0 && unexpected == 0 ? 0 : 1;
}
