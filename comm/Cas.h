// The camera link over the serial channel of a Camera Link frame grabber: port enumeration and
// re-selection of the port used last, the port's own stored values, and request/reply exchanges
// that poll the grabber's serial library.
#pragma once

#include "comm/Com.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CCas : public CCom {
public:
    // Room of the manufacturer name and port identifier texts, terminator included.
    static constexpr std::size_t kTextSize = 128;
    // Most reply bytes collected while waiting for the terminator.
    static constexpr std::size_t kReplyMax = 255;

    CCas() = default;
    ~CCas() override = default;

    int LoadSettings() override;
    void SaveSettings() override;
    int Initialize() override;
    int Open() override;
    int Close() override;
    int IsOpen() override;
    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override;

    int SelectPort(int index);
    // Copy the port's manufacturer name or identifier into text (room for kTextSize bytes).
    int GetPortManufacturer(int index, char* text);
    int GetPortId(int index, char* text);
    // All three values of a port at once (texts of kTextSize bytes).
    int GetPortInfo(int index, char* manufacturer, char* id, std::uint32_t& version);
    void SetBaudRate(int rate);
    // Whether the last SetBaudRate found its rate among the port's (a grabber that keeps its own
    // rate counts as offering it).
    bool RateOffered() const { return m_rateOffered; }
    void LogClError(int code);
    // Why the last Open failed, in words; empty after one that succeeded.
    const std::string& OpenProblem() const { return m_openProblem; }

    // The library's rate code for a baud rate (9600's for a rate it does not know).
    static std::uint32_t BaudRateCode(int rate);

    void* m_hSerRef = nullptr; // serial reference; non-null while open
    int m_nPortIndex = -1;     // selected port; -1 means none
    std::uint32_t m_nPortCount = 0;
    char m_szVendorName[kTextSize] = {}; // of the selected port
    char m_szPortID[kTextSize] = {};
    std::uint32_t m_dwVersion = 0;
    std::string m_strLastVendorName; // the port used last, as stored
    std::string m_strLastPortID;
    std::uint32_t m_dwLastVersion = 0;
    std::int32_t m_nBaudRate = 0; // this port's rate, stored as "BaudRate"

private:
    bool m_rateOffered = true;
    std::string m_openProblem;
    // The port that is open, as its close record names it: another port may be selected
    // before it is closed.
    int m_openIndex = -1;
    std::string m_openVendor;
    std::string m_openPortId;
    // The library's own text for one of its codes, empty when it has none.
    std::string LibraryErrorText(int code);
    // Logs a library failure as LogClError does and gives it as a result.
    CResult ClFailure(int code);
    int QueryPort(int index, char* manufacturer, char* id, std::uint32_t& version);
    void Status(const std::string& text) { AddLogRecord(text.c_str(), LOG_STATUS); }
};
