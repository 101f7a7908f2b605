#include "platform/profile/Profile.h"

#include "platform/profile/IniFile.h"
#include "platform/profile/IniText.h"
#include "platform/profile/LockFile.h"
#include "platform/profile/StoreFiles.h"

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

std::vector<std::string> StoreFiles()
{
    return StoreFilePaths(g_directory, g_organisation, g_application);
}

// A file's entries; a missing file is an empty one.
Status ReadStoreFile(const std::string& path, ini::Entries& entries)
{
    std::string data;
    switch (ReadStoreText(path, data)) {
    case StoreRead::Missing:
        return Status::Ok;
    case StoreRead::Failed:
        return Status::AccessError;
    case StoreRead::Read:
        break;
    }
    return ini::ParseFile(data, entries) ? Status::Ok : Status::FormatError;
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
        if (!ReplaceStoreText(path, ini::FormatFile(current)))
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
    std::lock_guard lock(g_mutex);
    return SiteStorePath(g_organisation, g_application);
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
