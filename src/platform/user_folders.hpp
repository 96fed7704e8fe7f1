#pragma once

#include <optional>
#include <string>

// What the process knows of its user's folders and rights.

// The variable's value, or nothing when it is unset.
std::optional<std::string> environment_value(const char* name);

// Whether the path does not hang on the current folder.
bool is_absolute_path(const std::string& path);

// $HOME when it is an absolute path, else the home folder of the user's password entry;
// empty when neither is known.
std::string home_folder();

// Whether the effective user may write the file or folder (root may, but not on a read-only
// file system).
bool writable_by_user(const std::string& path);

// Whether anything, even a dangling link, stands at the path.
bool entry_exists(const std::string& path);

// Makes the folder and any missing folders above it, each new one readable by the user alone
// (0700); true when the folder exists afterwards.
bool make_private_folders(const std::string& folder);
