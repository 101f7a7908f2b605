// The wait of a write that the device could not take whole: until the descriptor takes more
// bytes or the write time-out ends.
#pragma once

#include <chrono>

namespace serial {

enum class WritableWait {
    Writable, // try the write again
    TimedOut, // the write time-out ended: the caller compares the count
    Failed,   // poll failed; errorCode says why
};

WritableWait WaitWritable(int fd, std::chrono::steady_clock::time_point deadline, int& errorCode);

} // namespace serial
