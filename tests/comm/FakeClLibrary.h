// A Camera Link serial library for the tests: its ports, supported rates, replies and failures
// are set by the test, and it keeps a record of every call. Built as a shared library that the
// port layer loads like any grabber library; the test program links the same file to steer it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#define FAKECL_API __attribute__((visibility("default")))

namespace fakecl {

struct FakePort {
    std::string manufacturer;
    std::string id;
    std::uint32_t version = 0;
};

// Back to no ports, every rate supported, no failures, nothing recorded.
FAKECL_API void Reset();
FAKECL_API void SetPorts(const std::vector<FakePort>& ports);
FAKECL_API void SetSupportedRates(std::uint32_t mask);
// Every later call of the named function answers code.
FAKECL_API void Fail(const std::string& call, std::int32_t code);
// What arrives after the next write: one piece more each time the bytes waiting are asked for.
FAKECL_API void ReplyInPieces(const std::vector<std::string>& pieces);
// The calls so far, each as its name and its arguments ("clSetBaudRate 16").
FAKECL_API std::vector<std::string> Calls();
FAKECL_API int CountOf(const std::string& call);
// Bytes handed to clSerialWrite so far, and bytes clSerialRead gave out.
FAKECL_API std::string Written();
FAKECL_API std::size_t BytesRead();

} // namespace fakecl
