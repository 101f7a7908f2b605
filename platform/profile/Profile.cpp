#include "platform/profile/Profile.h"

#include <QSettings>
#include <QString>

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

QSettings OpenStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(g_organisation), QString::fromStdString(g_application));
}

} // namespace

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
    return OpenStore().fileName().toStdString();
}

void SetReadOnly(bool readOnly)
{
    std::lock_guard lock(g_mutex);
    g_readOnly = readOnly;
}

int GetProfileInt(const std::string& section, const std::string& entry, int def)
{
    std::lock_guard lock(g_mutex);
    QSettings store = OpenStore();
    const QVariant value = store.value(KeyOf(section, entry));
    NoteStatus(store);
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
    QSettings store = OpenStore();
    store.setValue(KeyOf(section, entry), value);
    store.sync();
    NoteStatus(store);
    return store.status() == QSettings::NoError;
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& def)
{
    std::lock_guard lock(g_mutex);
    QSettings store = OpenStore();
    const QVariant value = store.value(KeyOf(section, entry));
    NoteStatus(store);
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
    QSettings store = OpenStore();
    store.setValue(KeyOf(section, entry), QString::fromStdString(value));
    store.sync();
    NoteStatus(store);
    return store.status() == QSettings::NoError;
}

std::string TakeProblem()
{
    std::lock_guard lock(g_mutex);
    return std::exchange(g_problem, std::string());
}

} // namespace profile
