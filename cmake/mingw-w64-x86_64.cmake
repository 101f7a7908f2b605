# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads flavour, which
# std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VIREO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VIREO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VIREO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VIREO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VIREO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One folder runs on a bare Windows: the compiler's own runtime (libstdc++, libgcc,
# winpthread) is linked in, so no DLL of the toolchain has to travel with the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Tests run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
