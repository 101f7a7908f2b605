// The Camera Link serial library, loaded at run time: the file named by CLALLSERIAL_LIBRARY, or
// "libclallserial.so" through the dynamic linker. It is loaded once, on first use from any
// thread, and stays loaded for the rest of the run.
#pragma once

#include "platform/camlink/ClAllSerial.h"

#include <string>
#include <vector>

namespace camlink {

inline constexpr const char* kLibraryVariable = "CLALLSERIAL_LIBRARY";
#ifdef _WIN32
inline constexpr const char* kDefaultLibrary = "clallserial.dll";
#else
inline constexpr const char* kDefaultLibrary = "libclallserial.so";
#endif

// The library's functions. Every entry can be called: when the library could not be loaded each
// one answers CL_ERR_UNABLE_TO_LOAD_DLL, and a function the library lacks answers
// CL_ERR_FUNCTION_NOT_FOUND (clSerialClose then does nothing).
struct ClFunctions {
    decltype(&::clGetNumPorts) clGetNumPorts;
    decltype(&::clGetPortInfo) clGetPortInfo;
    decltype(&::clSerialInit) clSerialInit;
    decltype(&::clGetSupportedBaudRates) clGetSupportedBaudRates;
    decltype(&::clSetBaudRate) clSetBaudRate;
    decltype(&::clFlushPort) clFlushPort;
    decltype(&::clSerialWrite) clSerialWrite;
    decltype(&::clGetNumBytesAvail) clGetNumBytesAvail;
    decltype(&::clSerialRead) clSerialRead;
    decltype(&::clGetErrorText) clGetErrorText;
    decltype(&::clSerialClose) clSerialClose;
};

// How loading went.
struct LoadState {
    std::string path; // what was handed to the dynamic linker
    bool loaded = false;
    std::string failure;              // the dynamic linker's reason when not loaded
    std::vector<std::string> missing; // functions the loaded library lacks
};

// Loads the library on first use.
const ClFunctions& Library();
const LoadState& LibraryState();

// A text for a code when the library cannot give one: the standard's text, with the reason the
// library could not be loaded or the names of the functions it lacks.
std::string FallbackErrorText(CLINT32 code);

// Empty when the library is loaded with every function; otherwise what is wrong, in one line.
std::string LibraryProblem();

} // namespace camlink
