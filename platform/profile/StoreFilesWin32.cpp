#include "platform/profile/StoreFiles.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/WideText.h"

#include <windows.h>

namespace profile {
namespace {

// A store file is a few kilobytes; anything far larger is no store of ours.
constexpr std::size_t kStoreMax = 16 * 1024 * 1024;

std::string Folder(const wchar_t* variable, const std::string& application)
{
    const std::string base = files::EnvironmentText(variable);
    return base.empty() ? std::string() : base + "\\" + application;
}

} // namespace

std::vector<std::string> StoreFilePaths(const std::string& userDirectory, const std::string&,
                                        const std::string& application)
{
    // %APPDATA%\VireoStudio\VireoStudio.ini, then the machine's under %PROGRAMDATA%.
    const std::string user =
        userDirectory.empty() ? Folder(L"APPDATA", application) : userDirectory;
    std::vector<std::string> paths{user + "\\" + application + ".ini"};
    if (const std::string site = Folder(L"PROGRAMDATA", application); !site.empty())
        paths.push_back(site + "\\" + application + ".ini");
    return paths;
}

std::string SiteStorePath(const std::string&, const std::string& application)
{
    std::string site = Folder(L"PROGRAMDATA", application);
    if (site.empty())
        site = "C:\\ProgramData\\" + application;
    return site + "\\" + application + ".ini";
}

StoreRead ReadStoreText(const std::string& path, std::string& data)
{
    const DWORD attributes = ::GetFileAttributesW(files::Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? StoreRead::Missing
                                                                            : StoreRead::Failed;
    }
    std::string error;
    return ReadSmallFile(path, kStoreMax, data, error) ? StoreRead::Read : StoreRead::Failed;
}

bool ReplaceStoreText(const std::string& path, const std::string& data)
{
    std::string error;
    return WriteFileAtomically(path, data, error);
}

} // namespace profile
