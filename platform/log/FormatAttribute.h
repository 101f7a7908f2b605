// printf-style checking of the program's own formatting functions. MinGW's "printf" archetype is
// the Microsoft runtime's dialect, which knows no %zu; the Windows build uses MinGW's C99 printf
// (__USE_MINGW_ANSI_STDIO), which GCC checks as gnu_printf.
#pragma once

#if defined(__MINGW32__)
#define VIREO_PRINTF_FORMAT(string, first) __attribute__((format(gnu_printf, string, first)))
#else
#define VIREO_PRINTF_FORMAT(string, first) __attribute__((format(printf, string, first)))
#endif
