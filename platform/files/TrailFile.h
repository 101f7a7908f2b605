// Opening the audit trail's file without being led elsewhere: no symbolic link is followed at
// the file, none owned by another user on the way to it, no folder or file of another user is
// written to unless the folder is a shared one, and what is made is private to its owner.
#pragma once

#include <string>

// Opens path for appending, making the missing folders on the way (0700). The file is made 0600,
// or 0660 in a shared folder: one that is group-writable (not writable by all) and owned by root
// or the caller, where a trail made by another member of the group is appended to as well. Returns
// the descriptor, or -1 with one line saying why in error. An empty path is the default trail of a
// user without a home: refused with how to name one.
int OpenTrailForAppend(const std::string& path, std::string& error);
