// Winsock's errors as the errno values the network devices reason about, and Winsock's start.
#pragma once

namespace serial {

// ECONNREFUSED, ETIMEDOUT, ... for a WSA error code; EIO for one with no counterpart.
int ErrnoOfSocketError(int wsaError);

// Starts Winsock once for the process; false when it cannot be had.
bool StartWinsock();

} // namespace serial
