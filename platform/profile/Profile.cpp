#include "platform/profile/Profile.h"

#include <QSettings>
#include <QString>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>

namespace profile {
namespace {

std::mutex g_mutex;
std::string g_organisation = "KORVALIS CORPORATION";
std::string g_application = "VireoStudio";
std::string g_directory;
std::string g_problem;
bool g_readOnly = false;
long g_storesOpened = 0;
// The store of the batches under way, and how deeply they nest.
std::unique_ptr<QSettings> g_batchStore;
int g_batchDepth = 0;

void NoteStatus(const QSettings& store)
{
    if (store.status() == QSettings::NoError || !g_problem.empty())
        return;
    const char* what = store.status() == QSettings::AccessError ? "cannot be read or written"
                                                                : "is not in a readable format";
    g_problem = store.fileName().toStdString() + " " + what;
}

// "Settings\COMM Port" names a registry section; the store nests groups with '/'.
QString KeyOf(const std::string& section, const std::string& entry)
{
    QString group = QString::fromStdString(section);
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return group + QLatin1Char('/') + QString::fromStdString(entry);
}

std::unique_ptr<QSettings> OpenStore()
{
    ++g_storesOpened;
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromStdString(g_organisation),
                                       QString::fromStdString(g_application));
}

// The batch's store, else one opened for a single value (g_mutex held).
class Store {
public:
    Store() : m_own(g_batchStore ? nullptr : OpenStore()) {}
    QSettings& operator*() const { return m_own ? *m_own : *g_batchStore; }
    QSettings* operator->() const { return &**this; }
    // Writes go to the file now, or when the batch ends.
    void Commit() const
    {
        if (m_own)
            m_own->sync();
    }

private:
    std::unique_ptr<QSettings> m_own;
};

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
    const QSettings site(QString::fromStdString(SiteStoreFileName()), QSettings::IniFormat);
    bool ok = false;
    const int value = site.value(KeyOf(section, entry)).toInt(&ok);
    return ok ? value : def;
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
    // QSettings keeps one path per format and scope for the whole process.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir));
}

std::string StoreFileName()
{
    std::lock_guard lock(g_mutex);
    return Store()->fileName().toStdString();
}

void SetReadOnly(bool readOnly)
{
    std::lock_guard lock(g_mutex);
    g_readOnly = readOnly;
}

int GetProfileInt(const std::string& section, const std::string& entry, int def)
{
    std::lock_guard lock(g_mutex);
    const Store store;
    const QVariant value = store->value(KeyOf(section, entry));
    NoteStatus(*store);
    if (!value.isValid())
        return def;
    bool ok = false;
    // Values are DWORDs: accept anything that fits 32 bits and keep its bit pattern.
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > static_cast<qlonglong>(UINT32_MAX))
        return def;
    return static_cast<int>(static_cast<std::uint32_t>(number));
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    std::lock_guard lock(g_mutex);
    if (g_readOnly)
        return true;
    const Store store;
    store->setValue(KeyOf(section, entry), value);
    store.Commit();
    NoteStatus(*store);
    return store->status() == QSettings::NoError;
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& def)
{
    std::lock_guard lock(g_mutex);
    const Store store;
    const QVariant value = store->value(KeyOf(section, entry));
    NoteStatus(*store);
    if (!value.isValid())
        return def;
    return value.toString().toStdString();
}

bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value)
{
    std::lock_guard lock(g_mutex);
    if (g_readOnly)
        return true;
    const Store store;
    store->setValue(KeyOf(section, entry), QString::fromStdString(value));
    store.Commit();
    NoteStatus(*store);
    return store->status() == QSettings::NoError;
}

Batch::Batch()
{
    std::lock_guard lock(g_mutex);
    if (g_batchDepth++ == 0)
        g_batchStore = OpenStore();
}

Batch::~Batch()
{
    std::lock_guard lock(g_mutex);
    if (--g_batchDepth > 0)
        return;
    g_batchStore->sync();
    NoteStatus(*g_batchStore);
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
