#include "app/WindowSettings.h"

#include "platform/profile/Profile.h"

#include <filesystem>

std::string StoredFolder(const char* entry)
{
    return profile::GetProfileString(kWindowSection, entry, "");
}

void StoreFolderOf(const char* entry, const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!folder.empty())
        profile::WriteProfileString(kWindowSection, entry, folder);
}
