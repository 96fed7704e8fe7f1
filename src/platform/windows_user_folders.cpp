// The user's folders and rights as Windows tells them.
#include <windows.h>

#include <cstdlib>

#include "platform/user_folders.hpp"
#include "platform/windows_paths.hpp"

std::optional<std::string> environment_value(const char* name) {
    const wchar_t* value = _wgetenv(wide_text(name).c_str());
    if (value == nullptr) return std::nullopt;
    return game_path(value);
}

bool is_absolute_path(const std::string& path) { return is_absolute_windows_path(path); }

std::string home_folder() {
    if (const auto profile = environment_value("USERPROFILE"); profile && is_absolute_path(*profile))
        return *profile;
    return {};
}

// A folder is writable when a file can be made in it; a file when it is not read-only and
// can be opened for writing.
bool writable_by_user(const std::string& path) {
    const std::wstring name = wide_text(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
        return true;
    }
    std::wstring probe = name;
    if (!probe.empty() && probe.back() != L'/' && probe.back() != L'\\') probe += L'/';
    probe += L"mirelvanthoque-" + std::to_wstring(GetCurrentProcessId()) + L".probe";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool entry_exists(const std::string& path) {
    return GetFileAttributesW(wide_text(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The folders take the rights of the profile they are made in, which is the user's alone.
bool make_private_folders(const std::string& folder) {
    const auto is_folder = [](const std::string& path) {
        const DWORD attributes = GetFileAttributesW(wide_text(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    };
    if (folder.empty()) return false;
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        // "C:" itself is no folder to make.
        if (!(part.size() == 2 && part[1] == ':') && !is_folder(part)) CreateDirectoryW(wide_text(part).c_str(), nullptr);
        if (slash == std::string::npos) break;
    }
    return is_folder(folder);
}
