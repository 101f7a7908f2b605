#include "platform/camlink/ClLibrary.h"

#include "platform/camlink/ClErrorText.h"
#include "platform/camlink/SharedLibrary.h"

#include <cstdlib>
#include <mutex>

namespace camlink {
namespace {

// Stand-ins answering Code for a library or function that is not there.
template <CLINT32 Code> struct Absent {
    static CLINT32 GetNumPorts(CLUINT32*) { return Code; }
    static CLINT32 GetPortInfo(CLUINT32, CLINT8*, CLUINT32*, CLINT8*, CLUINT32*, CLUINT32*)
    {
        return Code;
    }
    static CLINT32 SerialInit(CLUINT32, hSerRef*) { return Code; }
    static CLINT32 GetSupportedBaudRates(hSerRef, CLUINT32*) { return Code; }
    static CLINT32 SetBaudRate(hSerRef, CLUINT32) { return Code; }
    static CLINT32 FlushPort(hSerRef) { return Code; }
    static CLINT32 SerialWrite(hSerRef, CLINT8*, CLUINT32*, CLUINT32) { return Code; }
    static CLINT32 GetNumBytesAvail(hSerRef, CLUINT32*) { return Code; }
    static CLINT32 SerialRead(hSerRef, CLINT8*, CLUINT32*, CLUINT32) { return Code; }
    static CLINT32 GetErrorText(const CLINT8*, CLINT32, CLINT8*, CLUINT32*) { return Code; }
    static void SerialClose(hSerRef) {}

    static constexpr ClFunctions kTable = {
        GetNumPorts, GetPortInfo,      SerialInit, GetSupportedBaudRates, SetBaudRate, FlushPort,
        SerialWrite, GetNumBytesAvail, SerialRead, GetErrorText,          SerialClose,
    };
};

using NotLoaded = Absent<CL_ERR_UNABLE_TO_LOAD_DLL>;
using NotFound = Absent<CL_ERR_FUNCTION_NOT_FOUND>;

std::once_flag g_loadOnce;
ClFunctions g_functions = NotLoaded::kTable;
LoadState g_state;

template <typename Function>
void Resolve(void* handle, const char* name, Function& entry, Function absent)
{
    void* symbol = FindSharedSymbol(handle, name);
    if (symbol) {
        entry = reinterpret_cast<Function>(symbol);
        return;
    }
    entry = absent;
    g_state.missing.emplace_back(name);
}

void Load()
{
    const char* named = std::getenv(kLibraryVariable);
    g_state.path = named && *named ? named : kDefaultLibrary;
    void* handle = OpenSharedLibrary(g_state.path, g_state.failure);
    if (!handle)
        return;
    g_state.loaded = true;
    ClFunctions& f = g_functions;
    const ClFunctions& a = NotFound::kTable;
    Resolve(handle, "clGetNumPorts", f.clGetNumPorts, a.clGetNumPorts);
    Resolve(handle, "clGetPortInfo", f.clGetPortInfo, a.clGetPortInfo);
    Resolve(handle, "clSerialInit", f.clSerialInit, a.clSerialInit);
    Resolve(handle, "clGetSupportedBaudRates", f.clGetSupportedBaudRates,
            a.clGetSupportedBaudRates);
    Resolve(handle, "clSetBaudRate", f.clSetBaudRate, a.clSetBaudRate);
    Resolve(handle, "clFlushPort", f.clFlushPort, a.clFlushPort);
    Resolve(handle, "clSerialWrite", f.clSerialWrite, a.clSerialWrite);
    Resolve(handle, "clGetNumBytesAvail", f.clGetNumBytesAvail, a.clGetNumBytesAvail);
    Resolve(handle, "clSerialRead", f.clSerialRead, a.clSerialRead);
    Resolve(handle, "clGetErrorText", f.clGetErrorText, a.clGetErrorText);
    Resolve(handle, "clSerialClose", f.clSerialClose, a.clSerialClose);
    // The handle is never closed: the library serves the whole run.
}

} // namespace

const ClFunctions& Library()
{
    std::call_once(g_loadOnce, Load);
    return g_functions;
}

const LoadState& LibraryState()
{
    std::call_once(g_loadOnce, Load);
    return g_state;
}

std::string FallbackErrorText(CLINT32 code)
{
    const LoadState& state = LibraryState();
    const char* standard = StandardErrorText(code);
    std::string text = standard ? standard : "Camera Link library error";
    if (code == CL_ERR_UNABLE_TO_LOAD_DLL && !state.loaded) {
        text += ": " + state.failure;
    } else if (code == CL_ERR_FUNCTION_NOT_FOUND && !state.missing.empty()) {
        text += ":";
        for (const std::string& name : state.missing)
            text += " " + name;
    }
    return text;
}

std::string LibraryProblem()
{
    const LoadState& state = LibraryState();
    if (!state.loaded)
        return FallbackErrorText(CL_ERR_UNABLE_TO_LOAD_DLL);
    if (!state.missing.empty())
        return FallbackErrorText(CL_ERR_FUNCTION_NOT_FOUND) + " (" + state.path + ")";
    return {};
}

} // namespace camlink
