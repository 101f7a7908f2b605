# What the Windows build takes from the machine that builds it. The header-only libraries are
# Debian's own headers, reached through a folder of their own so that the rest of /usr/include
# (glibc's) never meets the MinGW headers.
set(VIREO_BUILD_GUI OFF CACHE BOOL "" FORCE)
set(VIREO_BUILD_BENCH OFF CACHE BOOL "" FORCE)
# -O2 for a release: at -O3 GCC 12 reports false -Wrestrict overlaps inside std::string's
# operator+.
foreach(language C CXX)
  string(REPLACE "-O3" "-O2" CMAKE_${language}_FLAGS_RELEASE "${CMAKE_${language}_FLAGS_RELEASE}")
endforeach()

set(_vireo_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${_vireo_headers})
foreach(dir nlohmann toml++)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} is missing: run .ci/install-deps")
  endif()
  file(CREATE_LINK /usr/include/${dir} ${_vireo_headers}/${dir} SYMBOLIC)
endforeach()

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${_vireo_headers})

add_library(PkgConfig::TOMLPLUSPLUS INTERFACE IMPORTED GLOBAL)
target_include_directories(PkgConfig::TOMLPLUSPLUS SYSTEM INTERFACE ${_vireo_headers})
target_compile_definitions(PkgConfig::TOMLPLUSPLUS INTERFACE TOML_HEADER_ONLY=1)

# Windows 8 and later: the calls the platform layer makes are all there.
add_compile_definitions(_WIN32_WINNT=0x0602 WINVER=0x0602 WIN32_LEAN_AND_MEAN NOMINMAX)
# MinGW's C99 printf family: %zu and %lld as on Linux, not the Microsoft runtime's dialect.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
