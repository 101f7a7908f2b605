// The camera link over the serial channel of a Camera Link frame grabber.
#pragma once

#include "comm/Com.h"

#include <cstdint>
#include <string>

class CCas : public CCom {
public:
    CCas() = default;
    ~CCas() override = default;

    int Initialize() override;
    int Open() override;
    int Close() override;
    int IsOpen() override;
    int SendReceive(const char* request, char* reply, std::size_t replySize) override;

    int SelectPort(int index);
    int GetPortManufacturer(int index, char* text);
    int GetPortId(int index, char* text);

    void* m_hSerRef = nullptr;   // serial reference; non-null while open
    int m_nPortIndex = -1;       // selected port; -1 means none
    std::uint32_t m_nPortCount = 0;
};
