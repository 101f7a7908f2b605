// A write to a non-blocking descriptor that may not take it whole: the rest is sent as the
// descriptor takes more, until the write time-out ends.
#pragma once

#include "platform/serial/SerialDevice.h"

#include <sys/types.h>

namespace serial {

// Puts bytes to the descriptor as write(2) or send(2) does.
using PutBytes = ssize_t (*)(int fd, const std::uint8_t* data, std::size_t n);

// Writes n bytes within timeoutMs. Refused when the first attempt fails outright, Failed when
// a later one does (errorCode says why); Completed otherwise, with written short of n when
// the time-out ended first.
WriteOutcome WriteWithin(int fd, PutBytes put, const std::uint8_t* data, int n, int timeoutMs,
                         int& written, int& errorCode);

} // namespace serial
