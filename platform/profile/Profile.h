// Per-user settings store with the registry's shape: sections holding integer and string values.
// Kept in the INI file QSettings would keep under the organisation and application set by
// SetRegistryKey, read and written as QSettings reads and writes it.
#pragma once

#include <string>

namespace profile {

// Organisation (the registry key) and application under which values are stored.
void SetRegistryKey(const std::string& organisation, const std::string& application);
std::string RegistryOrganisation();
std::string RegistryApplication();

// Redirects the store to files under dir (tests, and anyone who wants a private store). An empty
// dir returns to the per-user default location.
void SetStoreDirectory(const std::string& dir);

// The file that holds the values with the current key and directory.
std::string StoreFileName();

// While read-only, writes leave the store as it is (and report success): a program that runs
// with settings of its own for one run must not change the user's stored ones.
void SetReadOnly(bool readOnly);

// A value that is missing or not a number yields def.
int GetProfileInt(const std::string& section, const std::string& entry, int def);
bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& def);
bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value);

// The site's settings, set by an administrator for every user of the machine: the file
// "ORGANISATION/APPLICATION.conf" in the first folder of XDG_CONFIG_DIRS (else /etc/xdg). A
// value that is missing or not a number yields def; a user's own store cannot override it.
int GetSiteProfileInt(const std::string& section, const std::string& entry, int def);
std::string SiteStoreFileName();

// Keeps one store open from construction to destruction, for a run of reads and writes such as
// a whole settings load: its files are looked up and read once, and writes reach the file once,
// when the outermost batch ends. Values written by others meanwhile are seen by the next batch.
class Batch {
public:
    Batch();
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
};

// How many times the store has been opened in this process.
long StoresOpened();

// What went wrong with the store since the last call (an unreadable or unwritable file), or an
// empty text. Reading and writing go on with defaults either way.
std::string TakeProblem();

} // namespace profile
