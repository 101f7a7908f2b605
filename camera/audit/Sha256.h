// SHA-256 (FIPS 180-4), for the audit trail's chain and the hashes of settings files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CSha256 {
public:
    CSha256();
    void Add(std::string_view bytes);
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string HexDigest();

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0; // bytes added
};

// The digest of bytes in one call.
std::string Sha256Hex(std::string_view bytes);
