// Writing a file so that readers see either the old contents or the whole new contents: the
// text goes to a temporary file beside it, which is flushed to the disk and then renamed over
// the target. A failure leaves no temporary file and the old file untouched.
// A symbolic link is followed: its target is replaced in the target's own folder and the link
// stays. A name that is a device, FIFO, socket or folder is refused and left as it is.
#pragma once

#include <cstddef>
#include <string>

// False with the reason in error ("cannot create /dir/x.json: Permission denied").
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error);

// True for an existing regular file (a link followed) that nobody may write: the way people
// protect an approved file. The mode decides, not access(), which says yes to root.
bool IsReadOnlyFile(const std::string& path);

// Reads a whole file of at most maximum bytes. False with the reason in error.
bool ReadSmallFile(const std::string& path, std::size_t maximum, std::string& contents,
                   std::string& error);
