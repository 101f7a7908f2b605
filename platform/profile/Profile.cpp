#include "platform/profile/Profile.h"

#include "platform/profile/IniFile.h"
#include "platform/profile/IniText.h"
#include "platform/profile/LockFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profile {
namespace {

// How long a write waits for another program that holds the file's lock.
constexpr std::chrono::milliseconds kLockWait{5000};

std::mutex g_mutex;
std::string g_organisation = "KORVALIS CORPORATION";
std::string g_application = "VireoStudio";
std::string g_directory;
std::string g_problem;
bool g_readOnly = false;
long g_storesOpened = 0;

enum class Status { Ok, AccessError, FormatError };

void Note(Status status, const std::string& file)
{
    if (status == Status::Ok || !g_problem.empty())
        return;
    const char* what =
        status == Status::AccessError ? "cannot be read or written" : "is not in a readable format";
    g_problem = file + " " + what;
}

std::string UserDirectory()
{
    if (!g_directory.empty())
        return g_directory;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return config;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "") + "/.config";
}

// The files values are looked up in, the first (the one written) first: the program's own file
// and its organisation's, the user's and then the system's, as QSettings looks them up.
std::vector<std::string> StoreFiles()
{
    const std::string appFile = g_organisation + "/" + g_application + ".conf";
    const std::string orgFile = g_organisation + ".conf";
    const std::string user = UserDirectory() + "/";
    std::vector<std::string> files{user + appFile, user + orgFile};
    std::vector<std::string> systemDirs;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs && *dirs ? dirs : "/etc/xdg";
    for (std::size_t pos = 0; pos <= list.size();) {
        const std::size_t colon = std::min(list.find(':', pos), list.size());
        if (colon > pos)
            systemDirs.push_back(list.substr(pos, colon - pos) + "/");
        pos = colon + 1;
    }
    for (const std::string& dir : systemDirs)
        files.push_back(dir + appFile);
    for (const std::string& dir : systemDirs)
        files.push_back(dir + orgFile);
    return files;
}

// A file's entries; a missing file is an empty one.
Status ReadStoreFile(const std::string& path, ini::Entries& entries)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Status::Ok : Status::AccessError;
    struct stat st {};
    std::string data;
    Status status = Status::Ok;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        status = Status::AccessError;
    } else {
        char buffer[8192];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                status = Status::AccessError;
            if (n <= 0)
                break;
            data.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    if (status == Status::Ok && !ini::ParseFile(data, entries))
        status = Status::FormatError;
    return status;
}

// Replaces the file in one step, so that a reader sees the old file or the new one.
bool ReplaceStoreFile(const std::string& path, const std::string& data)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0;
    std::size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

// The store as read at open, with the values written since (g_mutex held).
class Store {
public:
    Store() : m_files(StoreFiles())
    {
        ++g_storesOpened;
        m_entries.resize(m_files.size());
        for (std::size_t i = 0; i < m_files.size(); ++i)
            Track(ReadStoreFile(m_files[i], m_entries[i]));
    }

    // The value's spelling, or nothing when no file holds it.
    std::optional<std::string> Find(const std::string& key) const
    {
        if (const auto it = m_written.find(key); it != m_written.end())
            return it->second;
        for (const ini::Entries& entries : m_entries)
            if (const auto it = entries.find(key); it != entries.end())
                return it->second;
        return std::nullopt;
    }

    void Set(const std::string& key, std::string spelled) { m_written[key] = std::move(spelled); }

    // Writes this store's values into the file as it is now, under its lock; values stored by
    // others meanwhile are kept.
    void Commit()
    {
        if (m_written.empty())
            return;
        const std::string& path = m_files.front();
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
        LockFile lock(path + ".lock");
        if (!lock.Lock(kLockWait)) {
            Track(Status::AccessError);
            return;
        }
        ini::Entries current;
        const Status read = ReadStoreFile(path, current);
        if (read == Status::AccessError) {
            Track(read);
            return;
        }
        Track(read);
        for (auto& [key, spelled] : m_written)
            current[key] = spelled;
        m_written.clear();
        if (!ReplaceStoreFile(path, ini::FormatFile(current)))
            Track(Status::AccessError);
        m_entries.front() = std::move(current);
    }

    bool Ok() const { return m_status == Status::Ok; }

private:
    void Track(Status status)
    {
        if (status == Status::Ok)
            return;
        if (m_status == Status::Ok)
            m_status = status;
        Note(status, m_files.front());
    }

    std::vector<std::string> m_files;
    std::vector<ini::Entries> m_entries;
    std::map<std::string, std::string> m_written;
    Status m_status = Status::Ok;
};

std::unique_ptr<Store> g_batchStore;
int g_batchDepth = 0;

// The batch's store, else one opened for a single value (g_mutex held).
class StoreUse {
public:
    StoreUse() : m_own(g_batchStore ? nullptr : std::make_unique<Store>()) {}
    Store* operator->() const { return m_own ? m_own.get() : g_batchStore.get(); }
    // Writes go to the file now, or when the batch ends.
    void Commit() const
    {
        if (m_own)
            m_own->Commit();
    }

private:
    std::unique_ptr<Store> m_own;
};

// "Settings\COMM Port" names a registry section; the store nests groups with '/'.
std::string KeyOf(const std::string& section, const std::string& entry)
{
    std::string key = section;
    for (char& c : key)
        if (c == '\\')
            c = '/';
    return key + "/" + entry;
}

bool IsUnicodeSpace(char32_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// The code point that starts at text[i] and its length in bytes (a stray byte counts as itself).
char32_t CodePointAt(const std::string& text, std::size_t i, std::size_t& length)
{
    const auto b = static_cast<unsigned char>(text[i]);
    length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (i + length > text.size())
        length = 1;
    if (length == 1)
        return b;
    char32_t cp = b & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return cp;
}

// Blanks of any script around a text, as Qt trims them.
std::string TrimUnicode(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t length = 0;
    while (begin < text.size() && IsUnicodeSpace(CodePointAt(text, begin, length)))
        begin += length;
    std::size_t end = text.size();
    while (end > begin) {
        std::size_t start = end - 1;
        while (start > begin && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        if (!IsUnicodeSpace(CodePointAt(text, start, length)) || start + length != end)
            break;
        end = start;
    }
    return text.substr(begin, end - begin);
}

// A decimal number with an optional sign and nothing else.
std::optional<long long> ParseNumber(const std::string& text)
{
    std::size_t i = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    if (i == text.size())
        return std::nullopt;
    for (std::size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9')
            return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        return std::nullopt;
    return value;
}

} // namespace

std::string SiteStoreFileName()
{
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string first = dirs ? std::string(dirs).substr(0, std::string(dirs).find(':')) : "";
    if (first.empty() || first[0] != '/')
        first = "/etc/xdg";
    std::lock_guard lock(g_mutex);
    return first + "/" + g_organisation + "/" + g_application + ".conf";
}

int GetSiteProfileInt(const std::string& section, const std::string& entry, int def)
{
    std::ifstream in(SiteStoreFileName(), std::ios::binary);
    if (!in)
        return def;
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ini::Entries entries;
    ini::ParseFile(data, entries); // what could be read counts, as for the user's own file
    const auto found = entries.find(KeyOf(section, entry));
    if (found == entries.end())
        return def;
    const std::optional<std::string> text = ini::TextOfValue(found->second);
    const std::optional<long long> number =
        text ? ParseNumber(TrimUnicode(*text)) : std::optional<long long>();
    if (!number || *number < INT32_MIN || *number > INT32_MAX)
        return def;
    return static_cast<int>(*number);
}

void SetRegistryKey(const std::string& organisation, const std::string& application)
{
    std::lock_guard lock(g_mutex);
    g_organisation = organisation;
    g_application = application;
}

std::string RegistryOrganisation()
{
    std::lock_guard lock(g_mutex);
    return g_organisation;
}

std::string RegistryApplication()
{
    std::lock_guard lock(g_mutex);
    return g_application;
}

void SetStoreDirectory(const std::string& dir)
{
    std::lock_guard lock(g_mutex);
    g_directory = dir;
}

std::string StoreFileName()
{
    std::lock_guard lock(g_mutex);
    return StoreFiles().front();
}

void SetReadOnly(bool readOnly)
{
    std::lock_guard lock(g_mutex);
    g_readOnly = readOnly;
}

int GetProfileInt(const std::string& section, const std::string& entry, int def)
{
    std::lock_guard lock(g_mutex);
    const StoreUse store;
    const std::optional<std::string> spelled = store->Find(KeyOf(section, entry));
    if (!spelled)
        return def;
    const std::optional<std::string> text = ini::TextOfValue(*spelled);
    if (!text)
        return def;
    // Values are DWORDs: accept anything that fits 32 bits and keep its bit pattern.
    const std::optional<long long> number = ParseNumber(TrimUnicode(*text));
    if (!number || *number < INT32_MIN || *number > static_cast<long long>(UINT32_MAX))
        return def;
    return static_cast<int>(static_cast<std::uint32_t>(*number));
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    std::lock_guard lock(g_mutex);
    if (g_readOnly)
        return true;
    const StoreUse store;
    store->Set(KeyOf(section, entry), std::to_string(value));
    store.Commit();
    return store->Ok();
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& def)
{
    std::lock_guard lock(g_mutex);
    const StoreUse store;
    const std::optional<std::string> spelled = store->Find(KeyOf(section, entry));
    if (!spelled)
        return def;
    return ini::TextOfValue(*spelled).value_or(def);
}

bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value)
{
    std::lock_guard lock(g_mutex);
    if (g_readOnly)
        return true;
    const StoreUse store;
    store->Set(KeyOf(section, entry), ini::EscapeText(value));
    store.Commit();
    return store->Ok();
}

Batch::Batch()
{
    std::lock_guard lock(g_mutex);
    if (g_batchDepth++ == 0)
        g_batchStore = std::make_unique<Store>();
}

Batch::~Batch()
{
    std::lock_guard lock(g_mutex);
    if (--g_batchDepth > 0)
        return;
    g_batchStore->Commit();
    g_batchStore.reset();
}

long StoresOpened()
{
    std::lock_guard lock(g_mutex);
    return g_storesOpened;
}

std::string TakeProblem()
{
    std::lock_guard lock(g_mutex);
    return std::exchange(g_problem, std::string());
}

} // namespace profile
