// The settings store and QSettings read and write the same files: what either stored, the
// other reads, and the same values give the same bytes.
#include "platform/profile/LockFile.h"
#include "platform/profile/Profile.h"
#include "tests/support/TestEnvironment.h"

#include <QLockFile>
#include <QRect>
#include <QSettings>
#include <QStringList>

#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::ScopedSettingsDir;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const std::string& path, const std::string& data)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

QString QtKey(const char* section, const char* entry)
{
    return QString::fromStdString(section).replace('\\', '/') + "/" + QString::fromUtf8(entry);
}

struct Text {
    const char* section;
    const char* entry;
    std::string value;
};
const Text kTexts[] = {
    {"Settings\\COMM Port", "Port Name", "/dev/ttyUSB0"},
    {"Settings\\COMM Port", "LastCasVendorName", ""},
    {"Settings\\COMM Port", "LastCasPortID", "a=b;c, d"},
    {"Settings\\COMM Port", "Camera", " leading and trailing "},
    {"Settings\\Audit", "File", "tab\there \"quoted\" back\\slash"},
    {"Settings\\Audit", "Lines", "one\ntwo\r\n"},
    {"Settings\\Window", "Control",
     std::string("\x01"
                 "1\x1f"
                 "f\0"
                 "7",
                 7)},
    {"Settings\\Window", "At", "@at"},
    {"Settings\\Window", "AtAt", "@@x"},
    {"Settings\\Window", "Invalid", "@Invalid()"},
    {"Settings\\Window", "Wide \xE6\x97\xA5 key%",
     "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x80\x80x \xC3\xA9"},
    {"General", "Port", "general group"},
    {"Alpha", "x/y", "[not a header]"},
    {"Alpha b", "z", "#not a comment ;nor this"},
};

} // namespace

TEST(SettingsFiles, TextsAndNumbersWrittenByEitherAreReadByTheOtherAndTheFilesAreTheSame)
{
    ScopedSettingsDir store;
    const std::string ours = profile::StoreFileName();
    const QString theirs = QString::fromStdString(store.Path() + "/qt.conf");
    const int numbers[] = {0, 1, -7, 9600, INT_MIN, INT_MAX};
    {
        QSettings qt(theirs, QSettings::IniFormat);
        for (const Text& row : kTexts) {
            ASSERT_TRUE(profile::WriteProfileString(row.section, row.entry, row.value));
            qt.setValue(QtKey(row.section, row.entry), QString::fromStdString(row.value));
        }
        for (const int n : numbers) {
            const std::string entry = "n" + std::to_string(n);
            ASSERT_TRUE(profile::WriteProfileInt("Numbers", entry, n));
            qt.setValue(QtKey("Numbers", entry.c_str()), n);
        }
    }
    EXPECT_EQ(ReadAll(ours), ReadAll(theirs.toStdString()));

    // Each reads the other's file.
    const QSettings qtReadsOurs(QString::fromStdString(ours), QSettings::IniFormat);
    std::filesystem::copy_file(theirs.toStdString(), ours,
                               std::filesystem::copy_options::overwrite_existing);
    for (const Text& row : kTexts) {
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(qtReadsOurs.value(QtKey(row.section, row.entry)).toString().toStdString(),
                  row.value);
        EXPECT_EQ(profile::GetProfileString(row.section, row.entry, "<none>"), row.value);
    }
    for (const int n : numbers) {
        const std::string entry = "n" + std::to_string(n);
        EXPECT_EQ(qtReadsOurs.value(QtKey("Numbers", entry.c_str())).toInt(), n);
        EXPECT_EQ(profile::GetProfileInt("Numbers", entry, 12345), n);
    }
}

TEST(SettingsFiles, FilesAsUsersLeaveThemReadAsQSettingsReadsThem)
{
    struct Row {
        const char* file;
        std::optional<std::string> text; // nothing: no value
        int number;                      // 12345: the default
    };
    const Row rows[] = {
        {"[Settings]\nCOMM%20Port\\V=42\n", "42", 42},
        {"\xEF\xBB\xBF[settings]\n[Settings]\r\nCOMM%20Port\\V = 42 \r\n", "42", 42},
        {"[Settings]\n; a comment\nCOMM%20Port\\V=1 ; a comment after\n", "1", 1},
        {"[Settings]\nCOMM%20Port\\V=\" 7 \"\n", " 7 ", 7},
        {"[Settings]\nCOMM%20Port\\V=\xE3\x80\x80"
         "8\xE3\x80\x80\n",
         "\xE3\x80\x80"
         "8\xE3\x80\x80",
         8},
        {"[Settings]\nCOMM%20Port\\V=+9\nCOMM%20Port\\V=-10\n", "-10", -10},
        {"[Settings]\nCOMM%20Port\\V=4294967295\n", "4294967295", -1},
        {"[Settings]\nCOMM%20Port\\V=4294967296\n", "4294967296", 12345},
        {"[Settings]\nCOMM%20Port\\V=0x10\n", "0x10", 12345},
        {"[Settings]\nCOMM%20Port\\V=1, 2\n", "", 12345},
        {"[Settings]\nCOMM%20Port\\V=@Invalid()\n", std::nullopt, 12345},
        {"[Settings]\nCOMM%20Port\\V=@ByteArray(5)\n", "5", 5},
        {"[Settings]\nCOMM%20Port\\V=@Rect(1 2 3 4)\n", "", 12345},
        {"[Settings]\nCOMM%20Port\\V=@@5\n", "@5", 12345},
        {"[Settings]\nCOMM%20Port\\V=\\x41\\102\\q\\\n  C\n", "AB  C", 12345},
        {"[Settings]\nCOMM%20Port\\V=\"a\nb\"\n", "a\nb", 12345},
        {"[Settings/COMM Port]\nV=3\n", "3", 3},
        {"[Settings%2FCOMM%20Port]\nV=3\n", "3", 3},
        {"[Settings]\nCOMM Port\\V=11\nno equals sign\n", "11", 11},
        {"[Settings\nCOMM%20Port\\V=12\n", "12", 12},
        {"", std::nullopt, 12345},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        ScopedSettingsDir store;
        WriteAll(profile::StoreFileName(), row.file);
        const QSettings qt(QString::fromStdString(profile::StoreFileName()), QSettings::IniFormat);
        const QVariant qtValue = qt.value("Settings/COMM Port/V");
        const std::optional<std::string> qtText =
            qtValue.isValid() ? std::optional(qtValue.toString().toStdString()) : std::nullopt;
        EXPECT_EQ(qtText, row.text) << "what QSettings reads";
        EXPECT_EQ(profile::GetProfileString(kCommSection, "V", "<none>"),
                  row.text.value_or("<none>"));
        EXPECT_EQ(profile::GetProfileInt(kCommSection, "V", 12345), row.number);
        // A file QSettings finds malformed is reported, and only such a file.
        const bool malformed = qt.status() == QSettings::FormatError;
        EXPECT_EQ(profile::TakeProblem().find("is not in a readable format") != std::string::npos,
                  malformed);
    }
}

TEST(SettingsFiles, ValuesOnlyTheWindowUsesSurviveAWriteAsQSettingsWouldKeepThem)
{
    ScopedSettingsDir store;
    const std::string ours = profile::StoreFileName();
    const std::string theirs = store.Path() + "/qt.conf";
    {
        QSettings qt(QString::fromStdString(ours), QSettings::IniFormat);
        qt.setValue("Settings/Window/Geometry", QByteArray("\x01\xd9\xd0\xcb\x00\x03", 6));
        qt.setValue("Settings/Window/Place", QRect(1, 2, 3, 4));
        qt.setValue("Settings/Window/Recent", QStringList{"a, b", "@c", " d"});
        qt.setValue("Settings/Window/One", QStringList{"only"});
        qt.setValue("Settings/Window/None", QStringList{});
        qt.setValue("Settings/Window/Shown", true);
        qt.setValue("Settings/Window/Scale", 1.25);
        qt.setValue("Other/Flag", "x");
        qt.setValue("TopLevel", 3);
    }
    std::filesystem::copy_file(ours, theirs);
    ASSERT_TRUE(profile::WriteProfileInt(kCommSection, "BaudRate", 19200));
    QSettings(QString::fromStdString(theirs), QSettings::IniFormat)
        .setValue("Settings/COMM Port/BaudRate", 19200);
    EXPECT_EQ(ReadAll(ours), ReadAll(theirs));
    EXPECT_EQ(profile::GetProfileString("Settings\\Window", "Recent", "<none>"), "");
    EXPECT_EQ(profile::GetProfileString("Settings\\Window", "One", "<none>"), "only");
    EXPECT_EQ(profile::GetProfileString("Settings\\Window", "None", "<none>"), "<none>");
    EXPECT_EQ(profile::GetProfileInt("", "TopLevel", 0), 0) << "no group of that name";
}

TEST(SettingsFiles, TheFileLockIsQLockFilesOwn)
{
    ScopedSettingsDir store;
    const std::string lockPath = store.Path() + "/x.conf.lock";
    {
        profile::LockFile ours(lockPath);
        ASSERT_TRUE(ours.Lock(std::chrono::milliseconds(100)));
        QLockFile qt(QString::fromStdString(lockPath));
        EXPECT_FALSE(qt.tryLock(0)) << "held by the store";
        ours.Unlock();
        EXPECT_TRUE(qt.tryLock(0)) << "released by the store";
        profile::LockFile waiting(lockPath);
        EXPECT_FALSE(waiting.Lock(std::chrono::milliseconds(30))) << "held by QLockFile";
        qt.unlock();
        EXPECT_TRUE(waiting.Lock(std::chrono::milliseconds(30))) << "released by QLockFile";
    }
    // A lock left by a program that has ended is taken over, whoever wrote it.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    WriteAll(lockPath, std::to_string(gone) + "\nvireoctl\n\n\n");
    profile::LockFile ours(lockPath);
    EXPECT_TRUE(ours.Lock(std::chrono::milliseconds(30)));
    ours.Unlock();
    EXPECT_FALSE(std::filesystem::exists(lockPath));
}
