#pragma once

#include <string>

// The game keeps paths as UTF-8 with '/' between folders, as on POSIX; the Windows calls take
// them as UTF-16, where '/' serves as well as '\'.
std::wstring wide_text(const std::string& utf8);
std::string utf8_text(const std::wstring& wide);
// A path the system gave, in the game's form: UTF-8, '\' turned into '/'.
std::string game_path(const std::wstring& wide);
// "C:/...", "//server/..." or "\\...": a path that does not hang on the current folder.
bool is_absolute_windows_path(const std::string& path);
