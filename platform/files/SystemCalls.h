// The few operating-system calls the layers above the platform make on files, the clock, the
// terminal and the user: one implementation on POSIX, one on Win32. Paths are UTF-8 on both.
// A failing call leaves an errno value in error (Win32 errors are mapped to the nearest one).
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace files {

// Descriptors here are the C runtime's (open(2) on POSIX, the CRT's over a HANDLE on Win32).

// Waits for the exclusive lock on an open file, held until Unlock or the descriptor closes.
// Other processes' locks only: it never stops their reads or writes.
bool LockExclusive(int fd, int& error);
void Unlock(int fd);
bool SizeOf(int fd, std::int64_t& size, int& error);
// Reads up to n bytes at offset; the count read, or -1 with error set.
long long ReadAt(int fd, void* buffer, std::size_t n, std::int64_t offset, int& error);
bool Truncate(int fd, std::int64_t size, int& error);
// Appends the whole text at the file's end.
bool AppendAll(int fd, const std::string& text, int& error);
// Waits until what was written is on the disk.
bool SyncToDisk(int fd, int& error);
void CloseFile(int fd);

// Opens an existing file for reading and takes its exclusive lock; -1 with error set.
int OpenAndLock(const std::string& path, int& error);
// Whether the open file is still the one a new open of path would reach (not replaced since).
bool StillAtPath(int fd, const std::string& path);

// The identity of an existing file (links followed): the volume and the file on it. False with
// error set when it cannot be looked at.
bool FileKey(const std::string& path, std::uint64_t& volume, std::uint64_t& file, int& error);
// Opens a file to read as bytes (no line-end translation), not inherited by programs started
// later; nullptr with errno set.
std::FILE* OpenForReading(const std::string& path);

// Whether path is an existing folder.
bool IsFolder(const std::string& path);
// Makes one folder; true also when it existed.
bool MakeFolder(const std::string& path, int& error);
// Whether the descriptor is a terminal or a console a person reads.
bool IsTerminal(int fd);
// The identity of a character device's node: true with a key that two names of one device
// share. False for a path that is none, or names a device of which each open is its own.
bool CharDeviceKey(const std::string& path, std::uint64_t& key);

// Texts are UTF-8. A Windows console shows them as written only in its UTF-8 code page: while the
// program runs, a console it writes to is switched to it, and back at exit. Nothing on POSIX.
void ShowUtf8OnConsole();

// The program's arguments in UTF-8: argv itself on POSIX; on Windows the command line as the
// system keeps it (UTF-16), since argv there is in the ANSI code page and loses other letters.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Bytes a stream holds in its buffer, not yet handed to the system (0 where the C library
// does not tell: its buffer is then flushed when full).
std::size_t PendingOutput(std::FILE* stream);

// The user's files of the program: its state (the audit trail) and its configuration (the
// camera inventory). POSIX: $XDG_STATE_HOME or ~/.local/state, $XDG_CONFIG_HOME or ~/.config;
// Windows: %LOCALAPPDATA% and %APPDATA%. Each is FOLDER/VireoStudio/NAME in the system's
// spelling; the state file is empty where no folder is known.
std::string UserStateFile(const std::string& name);
std::string UserConfigFile(const std::string& name);

// Broken-down UTC time and back (gmtime_r and timegm); thread-safe.
bool UtcFields(std::time_t seconds, std::tm& fields);
std::time_t FromUtcFields(std::tm& fields);

// The user running the program and the machine's name, as an audit record names them.
std::string UserName();
std::string HostName();

} // namespace files
