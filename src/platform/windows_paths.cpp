#include "platform/windows_paths.hpp"

#include <windows.h>

#include <algorithm>
#include <cctype>

std::wstring wide_text(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string utf8_text(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::string game_path(const std::wstring& wide) {
    std::string path = utf8_text(wide);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool is_absolute_windows_path(const std::string& path) {
    const auto separator = [](char ch) { return ch == '/' || ch == '\\'; };
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && separator(path[2]))
        return true;
    return path.size() >= 2 && separator(path[0]) && separator(path[1]);
}
